#include "documents/IoErrors.h"

#include <cerrno>
#include <string>

#include "text/QuotedText.h"

namespace velmora {

IoError SystemIoError(int errorNumber) {
  switch (errorNumber) {
    case ENOENT:
    case ENOTDIR:
      return IoError(io_code::FileNotFound, "File not found");
    case ENAMETOOLONG:
    case EINVAL:
    case ELOOP:
      return IoError(io_code::InvalidFilename, "Invalid filename");
    case EMFILE:
    case ENFILE:
      return IoError(io_code::TooManyOpenFiles, "Too many open files");
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
    case ETXTBSY:
      return IoError(io_code::FileAccessDenied, "File access denied");
    case ENOSPC:
    case EFBIG:
    case EDQUOT:
      return IoError(io_code::DiskFull, "Disk full");
    default:
      return IoError(errorNumber, "I/O error " + std::to_string(errorNumber));
  }
}

IoError ReadBeyondEndOfFileError() {
  return IoError(io_code::ReadBeyondEndOfFile, "Read beyond end of file");
}

IoError NamedIoError(const std::string& name, const IoError& error) {
  return IoError(error.code(), ShownName(name) + ": " + error.what());
}

}  // namespace velmora

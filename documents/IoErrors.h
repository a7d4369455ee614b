#pragma once
// File failures as the program reports them: the platform's input/output error codes and
// texts, mapped from the system's error numbers.

#include <string>

#include "model/ProgramError.h"

namespace velmora {

namespace io_code {
constexpr int FileNotFound = 2;
constexpr int InvalidFilename = 3;
constexpr int TooManyOpenFiles = 4;
constexpr int FileAccessDenied = 5;
constexpr int ReadBeyondEndOfFile = 100;
constexpr int DiskFull = 101;
}  // namespace io_code

// The error for a failed system call with the given errno:
//   ENOENT, ENOTDIR                          -> 2   "File not found"
//   ENAMETOOLONG, EINVAL, ELOOP              -> 3   "Invalid filename"
//   EMFILE, ENFILE                           -> 4   "Too many open files"
//   EACCES, EPERM, EROFS, EISDIR, ETXTBSY    -> 5   "File access denied"
//   ENOSPC, EFBIG, EDQUOT                    -> 101 "Disk full"
//   anything else                            -> the errno itself, "I/O error <errno>"
// EFBIG is what a write beyond the process's file-size limit gives; to the user that is a full
// disk as much as ENOSPC is.
IoError SystemIoError(int errorNumber);

// The error with the file's name before the program's text ("scene.ato: File not found"), for
// the tools, which touch several files at once.
IoError NamedIoError(const std::string& name, const IoError& error);

// Runs `operation`; an IoError it throws is thrown again with the file's name.
template <class Operation>
void OnFile(const std::string& name, Operation operation) {
  try {
    operation();
  } catch (const IoError& error) {
    throw NamedIoError(name, error);
  }
}

// Runs `operation`; an IoError it throws is thrown again naming the file, its text unchanged,
// for the window, which shows the name beneath the text.
template <class Operation>
auto AtFile(const std::string& name, Operation operation) {
  try {
    return operation();
  } catch (const IoError& error) {
    throw IoError(error.code(), error.what(), name);
  }
}

// A file that ended before the record did.
IoError ReadBeyondEndOfFileError();

}  // namespace velmora

#include "documents/SafeWrite.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "documents/IoErrors.h"
#include "documents/PendingFile.h"

namespace velmora {

void CheckReplaceable(const std::string& target) {
  // Writing in place would be refused, so replacing it is refused too.
  if (::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0 && errno != ENOENT)
    throw SystemIoError(errno);
  struct stat status {};
  if (::stat(target.c_str(), &status) == 0 && !S_ISREG(status.st_mode) && !S_ISDIR(status.st_mode))
    throw SystemIoError(EACCES);
}

void WriteFileSafely(const std::string& name, std::string_view bytes) {
  AtFile(name, [&] {
    PendingFile file(name);
    file.Append(bytes);
    file.Commit();
  });
}

}  // namespace velmora

#include "documents/SafeWrite.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <memory>

#include "documents/FileHandle.h"
#include "documents/IoErrors.h"

namespace velmora {

namespace {

std::string FolderOf(const std::string& name) {
  const std::size_t slash = name.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : name.substr(0, slash);
}

// The file a symbolic link points to, so that saving through a link replaces the linked file;
// the name itself when it is no link or its target does not exist yet.
std::string ResolvedTarget(const std::string& name) {
  std::unique_ptr<char, decltype(&std::free)> resolved(::realpath(name.c_str(), nullptr), &std::free);
  return resolved ? std::string(resolved.get()) : name;
}

// A new file beside the target. Its name is short and independent of the target's, so that a
// target name close to the length limit still leaves room for it. Removed unless kept.
class TemporaryFile {
 public:
  explicit TemporaryFile(const std::string& folder) {
    static std::atomic<unsigned> counter{0};
    const auto clock = std::chrono::steady_clock::now().time_since_epoch().count();
    for (int attempt = 0; attempt < 100; ++attempt) {
      path_ = folder + "/.velmora-" + std::to_string(::getpid()) + "-" +
              std::to_string(static_cast<unsigned long long>(clock) % 1000000007ULL) + "-" +
              std::to_string(counter++) + ".tmp";
      file_ = FileHandle::Open(path_, O_WRONLY | O_CREAT | O_EXCL, 0666);
      if (file_.IsOpen()) return;
      if (file_.Error() != EEXIST) break;
    }
    const int error = file_.Error();
    path_.clear();
    throw SystemIoError(error);
  }
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;
  ~TemporaryFile() {
    if (!path_.empty()) ::unlink(path_.c_str());
  }

  FileHandle& File() { return file_; }
  const std::string& Path() const { return path_; }
  void Keep() { path_.clear(); }

 private:
  std::string path_;
  FileHandle file_;
};

// Once the rename is done the new file is the document; a folder that cannot be synced
// (some file systems refuse) only risks the rename on a power cut, so it is no failure.
void SyncFolder(const std::string& folder) {
  const int descriptor = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (descriptor < 0) return;
  ::fsync(descriptor);
  ::close(descriptor);
}

}  // namespace

void CheckReplaceable(const std::string& target) {
  // Writing in place would be refused, so replacing it is refused too.
  if (::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0 && errno != ENOENT)
    throw SystemIoError(errno);
  struct stat status {};
  if (::stat(target.c_str(), &status) == 0 && !S_ISREG(status.st_mode) && !S_ISDIR(status.st_mode))
    throw SystemIoError(EACCES);
}

void WriteFileSafely(const std::string& name, std::string_view bytes) {
  if (name.empty()) throw SystemIoError(ENOENT);
  const std::string target = ResolvedTarget(name);
  CheckReplaceable(target);
  const std::string folder = FolderOf(target);
  TemporaryFile temporary(folder);
  temporary.File().Write(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
  temporary.File().TakeModeOf(target);
  temporary.File().SyncAndClose();
  if (::rename(temporary.Path().c_str(), target.c_str()) != 0) throw SystemIoError(errno);
  temporary.Keep();
  SyncFolder(folder);
}

}  // namespace velmora

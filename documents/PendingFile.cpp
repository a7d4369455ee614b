#include "documents/PendingFile.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <memory>

#include "documents/IoErrors.h"
#include "documents/SafeWrite.h"

namespace velmora {

namespace {

constexpr std::size_t FlushSize = 1 << 16;

std::string FolderOf(const std::string& name) {
  const std::size_t slash = name.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : name.substr(0, slash);
}

// Saving through a symbolic link replaces the file it points to, not the link; a link to a file
// not made yet makes that file.
std::string ResolvedTarget(const std::string& name) {
  std::string current = name;
  for (int links = 0; links < 40; ++links) {
    std::unique_ptr<char, decltype(&std::free)> resolved(::realpath(current.c_str(), nullptr), &std::free);
    if (resolved) return resolved.get();
    std::string link(4096, '\0');
    const ssize_t length = ::readlink(current.c_str(), link.data(), link.size());
    if (length <= 0) return current;
    link.resize(static_cast<std::size_t>(length));
    current = link.front() == '/' ? link : FolderOf(current) + "/" + link;
  }
  return current;
}

// The mode of the file until it is complete: the target's own, so that no other user may read
// what it will hold, or 0600 for a new target.
mode_t PendingMode(const std::string& target) {
  struct stat status {};
  return ::stat(target.c_str(), &status) == 0 ? (status.st_mode & 0777) : 0600;
}

// A hidden name of our own in the folder: the process id and a counter tell apart the pending
// files of all running programs, and a file left by a killed one is skipped. On failure the
// handle is not open and path is empty.
FileHandle CreateNewFile(const std::string& folder, std::string& path, mode_t mode) {
  static std::atomic<unsigned> counter{0};
  FileHandle file;
  for (int attempt = 0; attempt < 100; ++attempt) {
    path = folder + "/.velmora-" + std::to_string(::getpid()) + "-" + std::to_string(counter++) + ".pending";
    file = FileHandle::Open(path, O_WRONLY | O_CREAT | O_EXCL, mode);
    if (file.IsOpen() || file.Error() != EEXIST) break;
  }
  if (!file.IsOpen()) path.clear();
  return file;
}

// A new file in the target's place would leave its other hard links with the old bytes, or
// take it from its owner.
bool ReplacingLosesTheFile(const struct stat& target) {
  return target.st_nlink > 1 || target.st_uid != ::geteuid();
}

bool FolderRefuses(int error) { return error == EACCES || error == EPERM; }

// A folder that exists yet answers a new name with ENOENT takes no new files (the kernel's /proc
// and /sys): to the user that is a refusal, not a missing file.
int NewFileError(const std::string& folder, int error) {
  struct stat status {};
  if (error == ENOENT && ::stat(folder.c_str(), &status) == 0 && S_ISDIR(status.st_mode)) return EACCES;
  return error;
}

}  // namespace

PendingFile::PendingFile(const std::string& name) {
  if (name.empty()) throw SystemIoError(ENOENT);
  target_ = ResolvedTarget(name);
  // What may not be replaced is refused, and so is a folder, here rather than at the end of a
  // long run.
  CheckReplaceable(target_);
  struct stat status {};
  const bool exists = ::stat(target_.c_str(), &status) == 0;
  if (exists && S_ISDIR(status.st_mode)) throw SystemIoError(EISDIR);
  folder_ = FolderOf(target_);
  if (!exists || !ReplacingLosesTheFile(status)) {
    file_ = CreateNewFile(folder_, path_, PendingMode(target_));
    if (file_.IsOpen()) {
      buffer_.reserve(FlushSize);
      return;
    }
    if (!FolderRefuses(file_.Error())) throw SystemIoError(NewFileError(folder_, file_.Error()));
  }
  OpenTargetInPlace();
}

// Opened now, so that a refusal comes before a long run, and written only at Commit.
void PendingFile::OpenTargetInPlace() {
  file_ = FileHandle::Open(target_, O_WRONLY | O_CREAT, 0666);
  if (!file_.IsOpen()) throw SystemIoError(file_.Error());
  inPlace_ = true;
}

PendingFile::~PendingFile() {
  if (!path_.empty()) ::unlink(path_.c_str());
}

void PendingFile::Append(std::string_view bytes) {
  buffer_ += bytes;
  if (!inPlace_ && buffer_.size() >= FlushSize) Flush();
}

void PendingFile::Flush() {
  file_.Write(reinterpret_cast<const unsigned char*>(buffer_.data()), buffer_.size());
  buffer_.clear();
}

void PendingFile::Commit() {
  Complete();
  PutInPlace();
}

void PendingFile::Complete() {
  if (inPlace_) return ReserveInPlace();
  Flush();
  if (!file_.TakePermissionsOf(target_)) file_.TakeNewFileMode();
  file_.SyncAndClose();
}

void PendingFile::ReserveInPlace() {
  // A file larger than the process may write would be cut where the limit lies.
  rlimit limit{};
  if (::getrlimit(RLIMIT_FSIZE, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY &&
      buffer_.size() > limit.rlim_cur)
    throw SystemIoError(EFBIG);
  file_.Reserve(buffer_.size());
}

void PendingFile::PutInPlace() {
  if (inPlace_) {
    file_.Write(reinterpret_cast<const unsigned char*>(buffer_.data()), buffer_.size());
    file_.TruncateTo(buffer_.size());
    file_.SyncAndClose();
    return;
  }
  if (::rename(path_.c_str(), target_.c_str()) != 0) throw SystemIoError(errno);
  path_.clear();
  // The rename is done; a folder that cannot be synced only risks it on a power cut.
  const int folder = ::open(folder_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (folder >= 0) {
    ::fsync(folder);
    ::close(folder);
  }
}

}  // namespace velmora

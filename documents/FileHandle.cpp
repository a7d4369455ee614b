#include "documents/FileHandle.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <optional>
#include <string>
#include <utility>

#include "documents/IoErrors.h"

namespace velmora {

namespace {

// The value of one extended attribute, or with no attribute the list of their names, each
// ending in a null character; nothing where it cannot be read. An attribute that grows between
// the two calls is asked for again.
std::optional<std::string> AttributeValue(const std::string& name, const char* attribute) {
  for (;;) {
    const ssize_t size =
        attribute ? ::getxattr(name.c_str(), attribute, nullptr, 0) : ::listxattr(name.c_str(), nullptr, 0);
    if (size < 0) return std::nullopt;
    std::string value(static_cast<std::size_t>(size), '\0');
    const ssize_t read = attribute ? ::getxattr(name.c_str(), attribute, value.data(), value.size())
                                   : ::listxattr(name.c_str(), value.data(), value.size());
    if (read >= 0) return value.substr(0, static_cast<std::size_t>(read));
    if (errno != ERANGE) return std::nullopt;
  }
}

}  // namespace

FileHandle::FileHandle(FileHandle&& other) noexcept
    : descriptor_(std::exchange(other.descriptor_, -1)), error_(other.error_) {}

FileHandle& FileHandle::operator=(FileHandle&& other) noexcept {
  if (this != &other) {
    if (IsOpen()) ::close(descriptor_);
    descriptor_ = std::exchange(other.descriptor_, -1);
    error_ = other.error_;
  }
  return *this;
}

FileHandle::~FileHandle() {
  if (IsOpen()) ::close(descriptor_);
}

FileHandle FileHandle::Open(const std::string& name, int flags, mode_t mode) {
  FileHandle file(::open(name.c_str(), flags | O_CLOEXEC | O_NONBLOCK, mode));
  if (!file.IsOpen()) {
    file.error_ = errno;
    return file;
  }
  struct stat status {};
  if (::fstat(file.descriptor_, &status) != 0) return file;
  if (S_ISDIR(status.st_mode) || S_ISFIFO(status.st_mode)) {
    file = FileHandle();
    file.error_ = S_ISDIR(status.st_mode) ? EISDIR : EACCES;
  }
  return file;
}

std::size_t FileHandle::Read(unsigned char* buffer, std::size_t size) {
  std::size_t done = 0;
  while (done < size) {
    const ssize_t count = ::read(descriptor_, buffer + done, size - done);
    if (count < 0 && errno == EINTR) continue;
    if (count < 0) throw SystemIoError(errno);
    if (count == 0) break;
    done += static_cast<std::size_t>(count);
  }
  return done;
}

std::size_t FileHandle::ReadAt(std::uint64_t offset, unsigned char* buffer, std::size_t size) const {
  std::size_t done = 0;
  while (done < size) {
    const ssize_t count = ::pread(descriptor_, buffer + done, size - done, static_cast<off_t>(offset + done));
    if (count < 0 && errno == EINTR) continue;
    if (count < 0) throw SystemIoError(errno);
    if (count == 0) break;
    done += static_cast<std::size_t>(count);
  }
  return done;
}

void FileHandle::Write(const unsigned char* bytes, std::size_t size) {
  std::size_t done = 0;
  while (done < size) {
    const ssize_t count = ::write(descriptor_, bytes + done, size - done);
    if (count < 0 && errno == EINTR) continue;
    // A write that stores nothing and reports nothing can only mean there is no room.
    if (count <= 0) throw SystemIoError(count < 0 ? errno : ENOSPC);
    done += static_cast<std::size_t>(count);
  }
}

bool FileHandle::TakePermissionsOf(const std::string& name) {
  struct stat status {};
  if (::stat(name.c_str(), &status) != 0) return false;
  // The group before the mode, since giving a file a group clears its set-group-ID bit. A user
  // may give only a group of their own; otherwise the file keeps the user's group, and no
  // set-group-ID bit for it.
  if (::fchown(descriptor_, static_cast<uid_t>(-1), status.st_gid) != 0)
    status.st_mode &= ~static_cast<mode_t>(S_ISGID);
  ::fchmod(descriptor_, status.st_mode & 07777);
  // After the mode: an access control list sets the group bits of the mode as its mask.
  TakeAttributesOf(name);
  return true;
}

void FileHandle::TakeNewFileMode() {
  // The umask can only be read by setting it; it is set back at once.
  const mode_t mask = ::umask(077);
  ::umask(mask);
  ::fchmod(descriptor_, 0666 & ~mask);
}

void FileHandle::TakeAttributesOf(const std::string& name) {
  const std::string names = AttributeValue(name, nullptr).value_or(std::string());
  for (std::size_t at = 0; at < names.size(); at += std::strlen(names.c_str() + at) + 1) {
    const char* attribute = names.c_str() + at;
    if (const std::optional<std::string> value = AttributeValue(name, attribute))
      ::fsetxattr(descriptor_, attribute, value->data(), value->size(), 0);
  }
}

void FileHandle::Reserve(std::size_t size) {
  if (size == 0) return;
  int result = 0;
  do result = ::fallocate(descriptor_, FALLOC_FL_KEEP_SIZE, 0, static_cast<off_t>(size));
  while (result != 0 && errno == EINTR);
  if (result != 0 && errno != EOPNOTSUPP && errno != ENOSYS) throw SystemIoError(errno);
}

void FileHandle::TruncateTo(std::size_t size) {
  if (::ftruncate(descriptor_, static_cast<off_t>(size)) != 0) throw SystemIoError(errno);
}

void FileHandle::SyncAndClose() {
  if (::fsync(descriptor_) != 0) throw SystemIoError(errno);
  // close may report a failed write-back; the descriptor is released either way.
  if (::close(std::exchange(descriptor_, -1)) != 0 && errno != EINTR) throw SystemIoError(errno);
}

}  // namespace velmora

#pragma once
// An open file of the system, closed when the handle goes. Every failure becomes the
// program's I/O error.

#include <sys/types.h>

#include <cstddef>
#include <cstdint>
#include <string>

namespace velmora {

class FileHandle {
 public:
  FileHandle() = default;
  FileHandle(FileHandle&& other) noexcept;
  FileHandle& operator=(FileHandle&& other) noexcept;
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  // Closes without looking at the outcome: used only for files that were read, or given up.
  ~FileHandle();

  // open(2) with the given flags. A folder is refused with EISDIR whatever the flags: as on
  // the platform the program comes from, a folder is never opened as a file. A FIFO is refused
  // with EACCES: reading one waits for a writer that may never come. The file is opened without
  // blocking, so that neither the open of a FIFO nor a read of a terminal or other device can
  // hang the program: a device with nothing to read fails with EAGAIN. On failure the handle is
  // not open and Error() holds the errno.
  static FileHandle Open(const std::string& name, int flags, mode_t mode = 0);

  bool IsOpen() const { return descriptor_ >= 0; }
  int Error() const { return error_; }

  // Reads until size bytes are in buffer or the file ends; returns how many were read.
  std::size_t Read(unsigned char* buffer, std::size_t size);
  // As Read, from the given offset, leaving the file's position where it is.
  std::size_t ReadAt(std::uint64_t offset, unsigned char* buffer, std::size_t size) const;
  void Write(const unsigned char* bytes, std::size_t size);
  // Gives the file's mode bits, group, access control list and other extended attributes to
  // this file (best effort: some file systems have none of them, a user may give a file only a
  // group of their own, and only the superuser may set trusted attributes). False when there is
  // no such file.
  bool TakePermissionsOf(const std::string& name);
  // Gives this file the mode a new file gets: 0666 less the process's umask.
  void TakeNewFileMode();
  // Reserves the disk's room for the first size bytes without changing the file's length or
  // content, so that writing them cannot run out of room; where the file system cannot reserve,
  // nothing is done.
  void Reserve(std::size_t size);
  // Cuts the file to size bytes.
  void TruncateTo(std::size_t size);
  // Brings the written bytes onto the disk and closes the file.
  void SyncAndClose();

 private:
  explicit FileHandle(int descriptor) : descriptor_(descriptor) {}
  void TakeAttributesOf(const std::string& name);

  int descriptor_ = -1;
  int error_ = 0;
};

}  // namespace velmora

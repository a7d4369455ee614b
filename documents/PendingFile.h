#pragma once
// A file written piece by piece that takes the place of its target only when it is complete.
// Until Commit the bytes go to a new file beside the target; a PendingFile that goes without
// Commit (a run that faulted, an I/O error, an interrupted run) removes that file, and the
// target stays as it was. For outputs too large to be held in memory and then written with
// WriteFileSafely, such as trajectories, with the same promises: a symbolic link is followed,
// a file that may not be written is refused, the replacement keeps the old file's mode bits.

#include <string>
#include <string_view>

#include "documents/FileHandle.h"

namespace velmora {

class PendingFile {
 public:
  // Creates the new file beside `name`; throws the IoError of a missing folder ("File not
  // found"), of a target or folder that may not be written ("File access denied"), ...
  explicit PendingFile(const std::string& name);
  ~PendingFile();
  PendingFile(const PendingFile&) = delete;
  PendingFile& operator=(const PendingFile&) = delete;

  // Appends bytes; they reach the new file in large pieces.
  void Append(std::string_view bytes);

  // Brings every byte onto the disk and puts the new file in the target's place.
  void Commit();

  // The new file's name, for a writer of its own (another program) that fills it before Commit.
  const std::string& Path() const { return path_; }

 private:
  void Flush();

  std::string target_;
  std::string folder_;
  std::string path_;  // the new file; empty once committed
  FileHandle file_;
  std::string buffer_;
};

}  // namespace velmora

#pragma once
// A file written piece by piece that takes the place of its target only when it is complete.
// Until Commit the bytes go to a new file beside the target; a PendingFile that goes without
// Commit (a run that faulted, an I/O error, an interrupted run) removes that file, and the
// target stays as it was. For outputs too large to be held in memory and then written with
// WriteFileSafely, such as trajectories, with the same promises: a symbolic link is followed,
// a file that may not be written is refused, the replacement keeps the old file's mode bits,
// access control list and other extended attributes and, where the user may give it, its group.
//
// Where a new file would lose what the target is, the bytes are written into the target itself
// at Commit, over its old bytes, and cut to their length: a target with more than one hard link
// (a new file would leave the other names with the old bytes), a target owned by another user
// (a new file would belong to this one and lose the owner's ACLs and extended attributes), and
// a target in a folder that refuses the new file (a user who may write the file but not its
// folder). Until Commit those bytes are held in memory and the target is untouched; their room
// on the disk is reserved before the first of them is written, so that a full disk (or a file
// larger than the process may write) is reported with the target as it was. Only a power cut
// during that last write can leave the target part old, part new.
//
// Commit is Complete and then PutInPlace: the outputs of one run are all completed before any
// of them is put in place (see OutputGroup).

#include <string>
#include <string_view>

#include "documents/FileHandle.h"

namespace velmora {

class PendingFile {
 public:
  // Creates the new file beside `name`, or opens `name` to write it in place; throws the
  // IoError of a missing folder ("File not found"), of a target that may not be written or a
  // missing one in a folder that may not be written ("File access denied"), ...
  explicit PendingFile(const std::string& name);
  ~PendingFile();
  PendingFile(const PendingFile&) = delete;
  PendingFile& operator=(const PendingFile&) = delete;

  // Appends bytes; they reach the new file in large pieces.
  void Append(std::string_view bytes);

  // Complete, then PutInPlace.
  void Commit();
  // Brings every byte of the new file onto the disk, or reserves the room for the bytes to be
  // written in place; the target is untouched. The file takes no more bytes afterwards.
  void Complete();
  // Puts the completed file in the target's place, or writes the bytes into the target.
  void PutInPlace();

  // The new file's name, for a writer of its own (another program) that fills it before Commit.
  const std::string& Path() const { return path_; }

 private:
  void OpenTargetInPlace();
  void Flush();
  void ReserveInPlace();

  std::string target_;
  std::string folder_;
  std::string path_;  // the new file; empty once committed, and when writing in place
  FileHandle file_;
  std::string buffer_;
  bool inPlace_ = false;
};

}  // namespace velmora

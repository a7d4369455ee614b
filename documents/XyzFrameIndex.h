#pragma once
// A trajectory of extended XYZ frames (see XyzFrameReader.h) opened for playing: the file is read
// once from start to end to find where each frame begins, and a frame is read from there when it
// is asked for, so that the memory taken is the index (two numbers a frame) and the frame at hand,
// however long the file is.

#include <cstdint>
#include <string>
#include <vector>

#include "documents/FileHandle.h"
#include "documents/XyzFrameReader.h"

namespace velmora {

class XyzFrameIndex {
 public:
  // Opens and indexes the file. A frame that does not begin with its number of atoms, or that
  // the file ends in, ends the index: the frames before it are kept and Damage() says what is
  // wrong. A failing read throws its IoError with the file's name; a file without one whole
  // frame throws the ProgramError of Damage() ("<name>: no frame in the file" when empty).
  explicit XyzFrameIndex(const std::string& name);

  const std::string& Name() const { return name_; }
  // The whole frames, in the file's order.
  int Frames() const { return static_cast<int>(lines_.size()); }
  // Frame k (0 the first), read from the file. Malformed text throws ProgramError
  // "<name>: frame <k + 1>, line <n>: <what is wrong>".
  XyzFrame Frame(int k) const;
  // Empty when every frame of the file is whole; otherwise "<name>: frame <k>, line <n>: <what
  // is wrong>" for the first frame that is not.
  const std::string& Damage() const { return damage_; }

 private:
  void Scan();
  std::string FrameError(std::size_t frame, const std::string& what) const;

  std::string name_;
  FileHandle file_;
  std::vector<std::uint64_t> offsets_;  // where frame k begins; one more: where the last ends
  std::vector<std::uint64_t> lines_;    // the index from 0 of frame k's first line
  std::string damage_;
};

}  // namespace velmora

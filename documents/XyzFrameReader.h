#pragma once
// Reading extended XYZ files, such as the trajectories the batch tool writes and the files other
// programs of the field write: per frame a line with the number of atoms, a comment line of
// key=value pairs whose Properties key names the columns (name:type:count, types S, R, I, L;
// "species:S:1:pos:R:3" when it is missing), and one line per atom.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/AtomPlacement.h"

namespace velmora {

struct XyzFrame {
  std::vector<PlacedAtom> atoms;  // positions from "pos"; velocities from "velo", or 0
  bool withSlots = false;         // the frame has a "slot" column
  bool withVelocities = false;    // the frame has a "velo" column
  std::optional<long long> step;  // the comment's Step key, when it has one that is an integer
};

// The last frame of the file, as the usual readers take a file by default. The file is read as
// a stream, so that the memory it takes is that of about one frame however long the file is.
// Numbers become the nearest double. Malformed text throws ProgramError "<name>: line <n>: <what
// is wrong>", quoting at most a part of the input (see Quoted); a failing read throws its
// IoError with the file's name.
XyzFrame ReadLastXyzFrame(const std::string& name);

// For readers that find the frames themselves (XyzFrameIndex): the number of atoms on a frame's
// first line, and one frame from its text (its lines, each ending in a line feed), `firstLine`
// being the index from 0 of its first line in the file. Malformed text throws ProgramError
// "line <n>: <what is wrong>".
std::size_t XyzAtomCount(std::string_view line, std::size_t firstLine);
XyzFrame ParseXyzFrame(std::string_view text, std::size_t firstLine);

}  // namespace velmora

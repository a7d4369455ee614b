#pragma once
// Where the frames of a run go: one picture of the last frame, a folder of PNG images or a
// movie. Each sink draws the frames it is given itself.

#include <string>

#include "picture/PictureFile.h"

namespace velmora {

class FrameSink {
 public:
  virtual ~FrameSink() = default;
  // Draws the scene as the next frame; all frames have the size of the first.
  virtual void Add(const PictureSource& source) = 0;
  // Ends the output with every frame added and puts it in place.
  virtual void Finish() = 0;
  // Ends an output that the run could not complete (a fault, a failing file, an interruption),
  // keeping what may be kept, and says what that is: "3 frames kept in run.partial.mp4",
  // "nothing written".
  virtual std::string Abandon() = 0;
};

// "1 frame", "3 frames".
inline std::string FrameCount(std::size_t frames) {
  return std::to_string(frames) + (frames == 1 ? " frame" : " frames");
}

// "1 frame kept in frames/", "3 frames kept in ...".
inline std::string FramesKept(int frames, const std::string& where) {
  return FrameCount(static_cast<std::size_t>(frames)) + " kept in " + where;
}

}  // namespace velmora

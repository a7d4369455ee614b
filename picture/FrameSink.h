#pragma once
// Where the frames of a run go: a folder of PNG images or a movie.

#include <QImage>

#include <string>

namespace velmora {

class FrameSink {
 public:
  virtual ~FrameSink() = default;
  // Appends a frame; all frames have the size of the first.
  virtual void Add(const QImage& frame) = 0;
  // Ends the output with every frame added so far and keeps it.
  virtual void Finish() = 0;
  // How the kept output is named in messages ("run.mp4", "frames/").
  virtual std::string Name() const = 0;
};

}  // namespace velmora

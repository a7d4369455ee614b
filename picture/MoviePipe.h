#pragma once
// The frames of a run as a movie made by ffmpeg, which reads them raw through a pipe. The movie
// grows in a pending file beside the target and takes its place at Finish, so a movie that was
// not finished (an ffmpeg that failed, an interrupted tool) leaves an older file as it was.

#include <QSize>

#include <optional>
#include <string>
#include <sys/types.h>

#include "documents/PendingFile.h"
#include "picture/FrameSink.h"
#include "picture/OutputFormat.h"

namespace velmora {

class MoviePipe : public FrameSink {
 public:
  // The ffmpeg the movie needs, found on the PATH as a shell finds it; none when missing.
  static std::optional<std::string> FindEncoder();

  // Starts `encoder` for frames of `size` at `fps` frames a second; throws the target's IoError.
  MoviePipe(const std::string& encoder, const std::string& target, MovieFormat format, QSize size, int fps);
  ~MoviePipe() override;
  MoviePipe(const MoviePipe&) = delete;
  MoviePipe& operator=(const MoviePipe&) = delete;

  // Frames must be 32-bit opaque images (BGRA in memory) of the size given.
  void Add(const QImage& frame) override;
  // Lets ffmpeg end the movie, then puts it in the target's place.
  void Finish() override;
  std::string Name() const override { return target_; }

 private:
  void ClosePipe();
  int WaitForEncoder();

  std::string target_;
  PendingFile movie_;
  QSize size_;
  int pipe_ = -1;
  pid_t encoder_ = -1;
};

}  // namespace velmora

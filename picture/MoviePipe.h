#pragma once
// The frames of a run as a movie made by ffmpeg, which reads them raw through a pipe. ffmpeg
// runs in a process group of its own, so that a terminal's Ctrl+C reaches the tool only, which
// then ends the movie with the frames so far. The movie grows in a pending file beside the
// target and takes its place only when it is complete: an older movie stays as it was when the
// run faults or is interrupted, and the partial movie is put beside it (PartialName). A target
// written in place (a second hard link, another owner, a folder that takes no new file; see
// PendingFile) is made in a scratch file first and copied into the target when complete.
// ffmpeg may end with status 0 although it could not write the movie's end (a full disk): the
// movie counts as complete only when ffmpeg reported no error and ffprobe reads back every
// frame; on any doubt the older movie stays.

#include <sys/types.h>

#include <QImage>
#include <QSize>
#include <optional>
#include <string>

#include "documents/PendingFile.h"
#include "picture/FrameSink.h"
#include "picture/OutputFormat.h"

namespace velmora {

class MoviePipe : public FrameSink {
 public:
  // The ffmpeg the movie needs, found on the PATH; none when missing.
  static std::optional<std::string> FindEncoder();
  // The ffprobe that reads the movie back, beside ffmpeg or on the PATH; none when missing.
  static std::optional<std::string> FindProbe(const std::string& encoder);
  // Where an incomplete movie goes: "run.partial.mp4" beside "run.mp4".
  static std::string PartialName(const std::string& target);

  // Starts `encoder` for frames of `size` at `fps` frames a second, to be read back by `probe`;
  // throws the target's IoError.
  MoviePipe(const std::string& encoder, const std::string& probe, const std::string& target,
            MovieFormat format, QSize size, int fps);
  ~MoviePipe() override;
  MoviePipe(const MoviePipe&) = delete;
  MoviePipe& operator=(const MoviePipe&) = delete;

  void Add(const PictureSource& source) override;
  // Lets ffmpeg end the movie, then puts it in the target's place.
  void Finish() override;
  // Lets ffmpeg end the movie with the frames so far and puts it under PartialName.
  std::string Abandon() override;

 private:
  // Closes the pipe: the encoder ends the movie with the frames it has.
  void EndEncoder();
  int WaitForEncoder();
  std::string ScratchName();
  // Why the movie ffmpeg made cannot be trusted; empty when it can. ffmpeg's messages are
  // passed on to standard error.
  std::string Doubt();
  int FramesReadBack(const std::string& movie);

  std::string target_;
  std::string probe_;
  PendingFile movie_;
  std::string scratch_;  // where ffmpeg writes when the target is written in place
  QSize size_;
  QImage frame_;
  int count_ = 0;
  int pipe_ = -1;
  int messages_ = -1;  // ffmpeg's standard error: a file of no name in the temporary folder
  pid_t encoder_ = -1;
  int status_ = -1;  // the encoder's, once awaited
};

}  // namespace velmora

#include "picture/MoviePipe.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <sstream>
#include <vector>

#include "documents/IoErrors.h"
#include "model/ProgramError.h"

extern char** environ;

namespace velmora {

namespace {

// The encoder's command: raw BGRA frames of the canvas's size on its standard input. Only
// errors reach the terminal (`-loglevel error`): its standard error is the tool's own.
// H.264 and VP9 movies are in yuv420p, which players expect and which needs even sides: an odd
// side gets one black row or column more.
std::vector<std::string> EncoderArguments(const std::string& encoder, MovieFormat format, QSize size, int fps,
                                          const std::string& output) {
  std::vector<std::string> arguments = {encoder,  "-hide_banner", "-loglevel", "error", "-y",
                                        "-f",     "rawvideo",     "-pix_fmt",  "bgra",  "-s",
                                        std::to_string(size.width()) + "x" + std::to_string(size.height()),
                                        "-r",     std::to_string(fps),          "-i",   "pipe:0"};
  const std::vector<std::string> evenSides = {"-vf", "pad=ceil(iw/2)*2:ceil(ih/2)*2", "-pix_fmt", "yuv420p"};
  switch (format) {
    case MovieFormat::Mp4:
      arguments.insert(arguments.end(), evenSides.begin(), evenSides.end());
      arguments.insert(arguments.end(), {"-c:v", "libx264", "-f", "mp4"});
      break;
    case MovieFormat::Webm:
      arguments.insert(arguments.end(), evenSides.begin(), evenSides.end());
      arguments.insert(arguments.end(), {"-c:v", "libvpx-vp9", "-deadline", "realtime", "-cpu-used", "8", "-b:v",
                                         "0", "-crf", "32", "-f", "webm"});
      break;
    case MovieFormat::Gif:
      // The scene has five colours: a palette made from the frames keeps them exact.
      arguments.insert(arguments.end(),
                       {"-filter_complex", "split[a][b];[a]palettegen[p];[b][p]paletteuse", "-f", "gif"});
      break;
  }
  arguments.push_back(output);
  return arguments;
}

}  // namespace

std::optional<std::string> MoviePipe::FindEncoder() {
  const char* path = std::getenv("PATH");
  std::istringstream folders(path ? path : "");
  for (std::string folder; std::getline(folders, folder, ':');) {
    const std::string candidate = (folder.empty() ? "." : folder) + "/ffmpeg";
    if (::access(candidate.c_str(), X_OK) == 0) return candidate;
  }
  return std::nullopt;
}

MoviePipe::MoviePipe(const std::string& encoder, const std::string& target, MovieFormat format, QSize size, int fps)
    : target_(target), movie_(target), size_(size) {
  // An encoder that ends early makes writes fail with EPIPE, reported below, instead of ending
  // the tool.
  std::signal(SIGPIPE, SIG_IGN);
  int ends[2];
  if (::pipe2(ends, O_CLOEXEC) != 0) throw SystemIoError(errno);
  std::vector<std::string> arguments = EncoderArguments(encoder, format, size, fps, movie_.Path());
  std::vector<char*> argv;
  for (std::string& argument : arguments) argv.push_back(argument.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, ends[0], STDIN_FILENO);
  const int spawned = ::posix_spawn(&encoder_, encoder.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  ::close(ends[0]);
  if (spawned != 0) {
    ::close(ends[1]);
    encoder_ = -1;
    throw ProgramError(encoder + ": cannot be started (" + SystemIoError(spawned).what() + ")");
  }
  pipe_ = ends[1];
}

MoviePipe::~MoviePipe() {
  // Not finished: the encoder ends with what it has, and the pending file goes with movie_.
  ClosePipe();
  if (encoder_ > 0) WaitForEncoder();
}

void MoviePipe::Add(const QImage& frame) {
  const std::size_t rowBytes = static_cast<std::size_t>(size_.width()) * 4;
  // Rows one by one: an image's rows may be padded beyond the frame's width.
  for (int y = 0; y < size_.height(); ++y) {
    const char* row = reinterpret_cast<const char*>(frame.constScanLine(y));
    for (std::size_t written = 0; written < rowBytes;) {
      const ssize_t n = ::write(pipe_, row + written, rowBytes - written);
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) throw ProgramError("ffmpeg ended before the movie was complete");
      written += static_cast<std::size_t>(n);
    }
  }
}

void MoviePipe::Finish() {
  ClosePipe();
  const int status = WaitForEncoder();
  if (status != 0) throw ProgramError("ffmpeg could not make the movie (exit status " + std::to_string(status) + ")");
  movie_.Commit();
}

void MoviePipe::ClosePipe() {
  if (pipe_ >= 0) ::close(pipe_);
  pipe_ = -1;
}

// The encoder's exit status, or 128 + the signal that ended it.
int MoviePipe::WaitForEncoder() {
  int wait = 0;
  while (::waitpid(encoder_, &wait, 0) < 0 && errno == EINTR) {
  }
  encoder_ = -1;
  return WIFEXITED(wait) ? WEXITSTATUS(wait) : 128 + WTERMSIG(wait);
}

}  // namespace velmora

#include "picture/MoviePipe.h"

#include <fcntl.h>
#include <pthread.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QStandardPaths>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <string_view>
#include <vector>

#include "documents/FileHandle.h"
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
  std::vector<std::string> arguments = {encoder,
                                        "-hide_banner",
                                        "-loglevel",
                                        "error",
                                        "-y",
                                        "-f",
                                        "rawvideo",
                                        "-pix_fmt",
                                        "bgra",
                                        "-s",
                                        std::to_string(size.width()) + "x" + std::to_string(size.height()),
                                        "-r",
                                        std::to_string(fps),
                                        "-i",
                                        "pipe:0"};
  const std::vector<std::string> evenSides = {"-vf", "pad=ceil(iw/2)*2:ceil(ih/2)*2", "-pix_fmt", "yuv420p"};
  switch (format) {
    case MovieFormat::Mp4:
      arguments.insert(arguments.end(), evenSides.begin(), evenSides.end());
      arguments.insert(arguments.end(), {"-c:v", "libx264", "-f", "mp4"});
      break;
    case MovieFormat::Webm:
      arguments.insert(arguments.end(), evenSides.begin(), evenSides.end());
      arguments.insert(arguments.end(), {"-c:v", "libvpx-vp9", "-deadline", "realtime", "-cpu-used", "8",
                                         "-b:v", "0", "-crf", "32", "-f", "webm"});
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

// Writes every byte, or gives up when the reader has gone (EPIPE). SIGPIPE is held back meanwhile
// and the one a gone reader raises is taken away, so that it neither ends the tool nor passes for
// an interruption of the run; what the process does with SIGPIPE otherwise stays as it was.
bool WriteRows(int pipe, const QImage& frame, QSize size) {
  sigset_t pipeSignal, old;
  sigemptyset(&pipeSignal);
  sigaddset(&pipeSignal, SIGPIPE);
  pthread_sigmask(SIG_BLOCK, &pipeSignal, &old);
  const std::size_t rowBytes = static_cast<std::size_t>(size.width()) * 4;
  bool written = true;
  // Rows one by one: an image's rows may be padded beyond the frame's width.
  for (int y = 0; y < size.height() && written; ++y) {
    const char* row = reinterpret_cast<const char*>(frame.constScanLine(y));
    for (std::size_t done = 0; done < rowBytes && written;) {
      const ssize_t n = ::write(pipe, row + done, rowBytes - done);
      if (n < 0 && errno == EINTR) continue;
      written = n >= 0;
      if (written) done += static_cast<std::size_t>(n);
    }
  }
  if (!written) {
    const timespec none{};
    ::sigtimedwait(&pipeSignal, nullptr, &none);
  }
  pthread_sigmask(SIG_SETMASK, &old, nullptr);
  return written;
}

// Starts a program in a process group of its own (a terminal's Ctrl+C must not end the movie
// before the tool does), with the given descriptors (-1: the tool's own) as its standard input,
// output and error. Returns posix_spawn's error, 0 when started.
int Spawn(std::vector<std::string> arguments, int input, int output, int error, pid_t& child) {
  std::vector<char*> argv;
  for (std::string& argument : arguments) argv.push_back(argument.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  const int ends[] = {input, output, error};
  for (int standard = 0; standard < 3; ++standard)
    if (ends[standard] >= 0) posix_spawn_file_actions_adddup2(&actions, ends[standard], standard);
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
  posix_spawnattr_setpgroup(&attributes, 0);
  const int spawned = ::posix_spawn(&child, argv[0], &actions, &attributes, argv.data(), environ);
  posix_spawnattr_destroy(&attributes);
  posix_spawn_file_actions_destroy(&actions);
  return spawned;
}

// The program's exit status, or 128 + the signal that ended it; -1 when its end could not be
// awaited.
int WaitFor(pid_t child) {
  int wait = 0;
  pid_t result = 0;
  while ((result = ::waitpid(child, &wait, 0)) < 0 && errno == EINTR) {
  }
  return result < 0 ? -1 : WIFEXITED(wait) ? WEXITSTATUS(wait) : 128 + WTERMSIG(wait);
}

std::string TemporaryFolder() {
  const char* folder = std::getenv("TMPDIR");
  return folder && *folder ? folder : "/tmp";
}

// An open file of the temporary folder that has no name (gone with its descriptor).
int NamelessFile() {
  std::string name = TemporaryFolder() + "/velmora-messages-XXXXXX";
  const int file = ::mkostemp(name.data(), O_CLOEXEC);
  if (file < 0) throw SystemIoError(errno);
  ::unlink(name.c_str());
  return file;
}

// What is in the file of `descriptor`, up to 64 KiB.
std::string ReadAll(int descriptor) {
  std::string text(1 << 16, '\0');
  std::size_t done = 0;
  for (ssize_t n = 0; done < text.size(); done += static_cast<std::size_t>(n))
    if ((n = ::pread(descriptor, text.data() + done, text.size() - done, static_cast<off_t>(done))) <= 0)
      break;
  text.resize(done);
  return text;
}

// Appends the whole file `from` to `to`.
void CopyInto(PendingFile& to, const std::string& from) {
  FileHandle file = FileHandle::Open(from, O_RDONLY);
  if (!file.IsOpen()) throw SystemIoError(file.Error());
  std::string piece(1 << 20, '\0');
  while (const std::size_t read = file.Read(reinterpret_cast<unsigned char*>(piece.data()), piece.size()))
    to.Append(std::string_view(piece.data(), read));
}

}  // namespace

std::optional<std::string> MoviePipe::FindEncoder() {
  const QString found = QStandardPaths::findExecutable(QStringLiteral("ffmpeg"));
  if (found.isEmpty()) return std::nullopt;
  return found.toStdString();
}

std::optional<std::string> MoviePipe::FindProbe(const std::string& encoder) {
  const QString folder = QString::fromStdString(encoder.substr(0, encoder.rfind('/') + 1));
  QString found = QStandardPaths::findExecutable(QStringLiteral("ffprobe"), {folder});
  if (found.isEmpty()) found = QStandardPaths::findExecutable(QStringLiteral("ffprobe"));
  if (found.isEmpty()) return std::nullopt;
  return found.toStdString();
}

std::string MoviePipe::PartialName(const std::string& target) {
  const std::size_t slash = target.rfind('/');
  const std::size_t dot = target.rfind('.');
  const bool extension = dot != std::string::npos && (slash == std::string::npos || dot > slash + 1);
  return extension ? target.substr(0, dot) + ".partial" + target.substr(dot) : target + ".partial";
}

MoviePipe::MoviePipe(const std::string& encoder, const std::string& probe, const std::string& target,
                     MovieFormat format, QSize size, int fps)
    : target_(target), probe_(probe), movie_(target), size_(size), frame_(size, QImage::Format_RGB32) {
  const std::string output = movie_.Path().empty() ? ScratchName() : movie_.Path();
  messages_ = NamelessFile();
  int ends[2];
  if (::pipe2(ends, O_CLOEXEC) != 0) throw SystemIoError(errno);
  const int spawned =
      Spawn(EncoderArguments(encoder, format, size, fps, output), ends[0], -1, messages_, encoder_);
  ::close(ends[0]);
  if (spawned != 0) {
    ::close(ends[1]);
    encoder_ = -1;
    throw ProgramError(encoder + ": cannot be started (" + SystemIoError(spawned).what() + ")");
  }
  pipe_ = ends[1];
}

// A file of our own in the temporary folder, which ffmpeg overwrites.
std::string MoviePipe::ScratchName() {
  std::string name = TemporaryFolder() + "/velmora-movie-XXXXXX";
  const int file = ::mkstemp(name.data());
  if (file < 0) throw SystemIoError(errno);
  ::close(file);
  scratch_ = name;
  return scratch_;
}

MoviePipe::~MoviePipe() {
  // Not finished: the encoder ends with what it has, and the pending file goes with movie_.
  EndEncoder();
  WaitForEncoder();
  if (!scratch_.empty()) ::unlink(scratch_.c_str());
  if (messages_ >= 0) ::close(messages_);
}

void MoviePipe::Add(const PictureSource& source) {
  RenderInto(frame_, source);
  if (!WriteRows(pipe_, frame_, size_)) throw ProgramError("ffmpeg ended before the movie was complete");
  ++count_;
}

void MoviePipe::Finish() {
  EndEncoder();
  if (const std::string doubt = Doubt(); !doubt.empty())
    throw ProgramError("ffmpeg could not make the movie (" + doubt + ")");
  OnFile(target_, [&] {
    if (!scratch_.empty()) CopyInto(movie_, scratch_);
    movie_.Commit();
  });
}

std::string MoviePipe::Abandon() {
  EndEncoder();
  if (count_ == 0)
    return WaitForEncoder() == 0 ? "nothing written" : "ffmpeg could not end the movie; nothing kept";
  if (!Doubt().empty()) return "ffmpeg could not end the movie; nothing kept";
  const std::string partial = PartialName(target_);
  try {
    PendingFile file(partial);
    CopyInto(file, scratch_.empty() ? movie_.Path() : scratch_);
    file.Commit();
  } catch (const IoError& error) {
    return std::string(NamedIoError(partial, error).what()) + "; nothing kept";
  }
  return FramesKept(count_, partial);
}

void MoviePipe::EndEncoder() {
  if (pipe_ >= 0) ::close(pipe_);
  pipe_ = -1;
}

// The encoder's exit status (see WaitFor). An encoder awaited before gives its status again.
int MoviePipe::WaitForEncoder() {
  if (encoder_ > 0) status_ = WaitFor(encoder_);
  encoder_ = -1;
  return status_;
}

std::string MoviePipe::Doubt() {
  const int status = WaitForEncoder();
  if (status < 0) return "its end could not be awaited";
  const int frames = status == 0 ? FramesReadBack(scratch_.empty() ? movie_.Path() : scratch_) : -1;
  const std::string messages = ReadAll(messages_);
  std::fputs(messages.c_str(), stderr);
  if (status != 0) return "exit status " + std::to_string(status);
  if (!messages.empty()) return "it reported an error";
  if (frames != count_)
    return "the movie read back holds " + (frames < 0 ? std::string("no") : std::to_string(frames)) +
           " of its " + std::to_string(count_) + " frames";
  return {};
}

// The frames ffprobe decodes from the movie; -1 when it cannot read it. Its messages go with
// ffmpeg's.
int MoviePipe::FramesReadBack(const std::string& movie) {
  const int answer = NamelessFile();
  pid_t probe = -1;
  const int spawned = Spawn({probe_, "-v", "error", "-count_frames", "-select_streams", "v:0",
                             "-show_entries", "stream=nb_read_frames", "-of", "csv=p=0", movie},
                            -1, answer, messages_, probe);
  const int status = spawned == 0 ? WaitFor(probe) : -1;
  const std::string text = ReadAll(answer);
  ::close(answer);
  char* end = nullptr;
  const long frames = std::strtol(text.c_str(), &end, 10);
  const bool read = status == 0 && end != text.c_str() && (*end == '\n' || *end == '\0') && frames >= 0;
  return read ? static_cast<int>(frames) : -1;
}

}  // namespace velmora

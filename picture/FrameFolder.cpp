#include "picture/FrameFolder.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <regex>
#include <string_view>
#include <vector>

#include "documents/IoErrors.h"
#include "documents/SafeWrite.h"
#include "model/ProgramError.h"
#include "text/QuotedText.h"

namespace velmora {

namespace {

// zlib's fastest level: a frame is mostly black and packs small anyway, and a run writes
// hundreds of them.
constexpr int FrameQuality = 85;  // Qt maps it to zlib level (100 - 85) * 9 / 91 = 1

}  // namespace

namespace {

// The folder and those of its parents that do not exist, innermost first.
std::vector<std::filesystem::path> MissingFolders(std::filesystem::path folder) {
  if (!folder.has_filename()) folder = folder.parent_path();  // "frames/" names "frames"
  std::vector<std::filesystem::path> missing;
  std::error_code error;
  for (; !folder.empty() && !std::filesystem::exists(folder, error) && !error;
       folder = folder.parent_path()) {
    missing.push_back(folder);
    if (folder == folder.parent_path()) break;
  }
  return missing;
}

}  // namespace

FrameFolder::FrameFolder(const std::string& folder, bool overwrite)
    : folder_(folder), created_(MissingFolders(folder)) {
  std::error_code error;
  std::filesystem::create_directories(folder_, error);
  if (error || !std::filesystem::is_directory(folder_))
    throw NamedIoError(folder_, SystemIoError(error ? error.value() : ENOTDIR));
  Lock();
  old_ = OldFrames();
  if (!old_.empty() && !overwrite) {
    ::close(lock_);
    throw ProgramError(ShownName(folder_) + ": holds " + FrameCount(old_.size()) +
                       " of another run (--overwrite removes them first)");
  }
}

FrameFolder::~FrameFolder() {
  if (lock_ >= 0) ::close(lock_);
}

void FrameFolder::Lock() {
  lock_ = ::open(folder_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (lock_ < 0) throw NamedIoError(folder_, SystemIoError(errno));
  if (::flock(lock_, LOCK_EX | LOCK_NB) != 0) {
    ::close(lock_);
    lock_ = -1;
    throw ProgramError(ShownName(folder_) + ": frames of another run are being written there");
  }
}

std::vector<std::filesystem::path> FrameFolder::OldFrames() const {
  std::vector<std::filesystem::path> frames;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(folder_, error))
    if (IsFrameName(entry.path().filename().string())) frames.push_back(entry.path());
  if (error) throw NamedIoError(folder_, SystemIoError(error.value()));
  return frames;
}

std::string FrameFolder::Abandon() {
  if (count_ > 0) return FramesKept(count_, folder_);
  // Only empty folders go: whatever someone else put there meanwhile stays, with its folder.
  std::error_code error;
  for (const std::filesystem::path& folder : created_) std::filesystem::remove(folder, error);
  return "nothing written";
}

std::string FrameFolder::FrameName(int index) {
  char name[32];
  std::snprintf(name, sizeof name, "frame-%06d.png", index);
  return name;
}

bool FrameFolder::IsFrameName(const std::string& name) {
  static const std::regex frame("frame-[0-9]{6,}\\.png");
  return std::regex_match(name, frame);
}

void FrameFolder::Add(const PictureSource& source) {
  std::error_code error;
  for (const auto& frame : old_)
    if (!std::filesystem::remove(frame, error) && error)
      throw NamedIoError(frame.string(), SystemIoError(error.value()));
  old_.clear();
  if (frame_.isNull()) frame_ = QImage(source.Area, QImage::Format_RGB32);
  RenderInto(frame_, source);
  const QByteArray bytes = PngBytes(frame_, FrameQuality);
  const std::string name = (std::filesystem::path(folder_) / FrameName(count_)).string();
  OnFile(name, [&] {
    WriteFileSafely(name, std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
  });
  ++count_;
}

}  // namespace velmora

#include "picture/FrameFolder.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <memory>

#include "documents/IoErrors.h"
#include "picture/PictureFile.h"

namespace velmora {

namespace {

// zlib's fastest level: a frame is mostly black and packs small anyway, and a run writes
// hundreds of them.
constexpr int FrameQuality = 85;  // Qt maps it to zlib level (100 - 85) * 9 / 91 = 1

void WriteWhole(const std::string& name, const QByteArray& bytes) {
  const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(name.c_str(), "wb"), &std::fclose);
  if (!file) throw NamedIoError(name, SystemIoError(errno));
  const bool written = std::fwrite(bytes.constData(), 1, bytes.size(), file.get()) == std::size_t(bytes.size());
  if (!written || std::fflush(file.get()) != 0) throw NamedIoError(name, SystemIoError(errno));
}

}  // namespace

FrameFolder::FrameFolder(const std::string& folder) : folder_(folder) {
  std::error_code error;
  std::filesystem::create_directories(folder_, error);
  if (error || !std::filesystem::is_directory(folder_)) throw NamedIoError(folder_, SystemIoError(error ? error.value() : ENOTDIR));
}

std::string FrameFolder::FrameName(int index) {
  char name[32];
  std::snprintf(name, sizeof name, "frame-%06d.png", index);
  return name;
}

void FrameFolder::Add(const QImage& frame) { WriteWhole(folder_ + "/" + FrameName(count_++), PngBytes(frame, FrameQuality)); }

}  // namespace velmora

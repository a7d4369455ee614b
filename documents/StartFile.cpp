#include "documents/StartFile.h"

#include <fcntl.h>

#include "documents/ConfigFolder.h"
#include "documents/FileHandle.h"
#include "documents/IoErrors.h"
#include "documents/SafeWrite.h"

namespace velmora {

namespace {

constexpr const char* FileName = "Start.-am-";

}  // namespace

std::string StartFilePath() { return ConfigFolderPath() + "/" + FileName; }

std::optional<std::string> ReadStartFile() {
  FileHandle file = FileHandle::Open(StartFilePath(), O_RDONLY);
  if (!file.IsOpen()) return std::nullopt;
  std::string text;
  unsigned char chunk[4096];
  for (;;) {
    const std::size_t count = AtFile(StartFilePath(), [&] { return file.Read(chunk, sizeof chunk); });
    text.append(reinterpret_cast<const char*>(chunk), count);
    const std::size_t lineEnd = text.find_first_of("\r\n");
    if (lineEnd != std::string::npos) text.resize(lineEnd);
    if (text.size() > LongestNameBytes)
      throw IoError(io_code::InvalidFilename, "Invalid filename", StartFilePath());
    if (lineEnd != std::string::npos || count < sizeof chunk) return text;
  }
}

void WriteStartFile(const std::string& documentName) {
  CreateConfigFolder();
  WriteFileSafely(StartFilePath(), documentName);
}

}  // namespace velmora

#include "documents/StartFile.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "documents/FileHandle.h"
#include "documents/IoErrors.h"
#include "documents/SafeWrite.h"

namespace velmora {

namespace {

constexpr const char* FolderName = "velmora";
constexpr const char* FileName = "Start.-am-";

std::string HomeFolder() {
  const char* home = std::getenv("HOME");
  if (home && *home) return home;
  const passwd* user = ::getpwuid(::getuid());
  return user && user->pw_dir ? user->pw_dir : "";
}

// Configuration folders follow the XDG base directory rules: a relative value is ignored.
std::string ConfigFolder() {
  const char* config = std::getenv("XDG_CONFIG_HOME");
  if (config && config[0] == '/') return config;
  return HomeFolder() + "/.config";
}

// Creates every missing folder of path, private to the user as configuration folders are.
void CreateFolders(const std::string& path) {
  for (std::size_t slash = path.find('/', 1); ; slash = path.find('/', slash + 1)) {
    const std::string folder = path.substr(0, slash);
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) throw SystemIoError(errno);
    if (slash == std::string::npos) break;
  }
}

}  // namespace

std::string StartFilePath() { return ConfigFolder() + "/" + FolderName + "/" + FileName; }

std::optional<std::string> ReadStartFile() {
  FileHandle file = FileHandle::Open(StartFilePath(), O_RDONLY);
  if (!file.IsOpen()) return std::nullopt;
  std::string text;
  unsigned char chunk[4096];
  for (;;) {
    const std::size_t count = file.Read(chunk, sizeof chunk);
    text.append(reinterpret_cast<const char*>(chunk), count);
    const std::size_t lineEnd = text.find_first_of("\r\n");
    if (lineEnd != std::string::npos) return text.substr(0, lineEnd);
    if (count < sizeof chunk) return text;
  }
}

void WriteStartFile(const std::string& documentName) {
  CreateFolders(ConfigFolder() + "/" + FolderName);
  WriteFileSafely(StartFilePath(), documentName);
}

}  // namespace velmora

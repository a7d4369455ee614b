#include "documents/ConfigFolder.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "documents/IoErrors.h"

namespace velmora {

namespace {

constexpr const char* FolderName = "velmora";

std::string HomeFolder() {
  const char* home = std::getenv("HOME");
  if (home && *home) return home;
  const passwd* user = ::getpwuid(::getuid());
  return user && user->pw_dir ? user->pw_dir : "";
}

// Configuration folders follow the XDG base directory rules: a relative value is ignored.
std::string UserConfigFolder() {
  const char* config = std::getenv("XDG_CONFIG_HOME");
  if (config && config[0] == '/') return config;
  return HomeFolder() + "/.config";
}

}  // namespace

std::string ConfigFolderPath() { return UserConfigFolder() + "/" + FolderName; }

void CreateConfigFolder() {
  const std::string path = ConfigFolderPath();
  for (std::size_t slash = path.find('/', 1);; slash = path.find('/', slash + 1)) {
    const std::string folder = path.substr(0, slash);
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) throw SystemIoError(errno);
    if (slash == std::string::npos) break;
  }
}

}  // namespace velmora

#pragma once
// The program's configuration folder, which holds the start file and the list of recent
// documents: $XDG_CONFIG_HOME/velmora, or ~/.config/velmora when the variable is unset, empty or
// not an absolute path. The environment is read at every call.

#include <climits>
#include <cstddef>
#include <string>

namespace velmora {

std::string ConfigFolderPath();

// The longest full name the folder's files hold on a line: a longer line names no file, and
// readers stop at it, so that a file that never ends (a device) cannot hold them.
inline constexpr std::size_t LongestNameBytes = PATH_MAX;

// Creates the folder and every missing folder above it, private to the user as configuration
// folders are; throws the IoError of a folder that cannot be made.
void CreateConfigFolder();

}  // namespace velmora

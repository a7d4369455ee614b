#pragma once
// Whether two names given for a program's outputs lead to one file, however they are spelled:
// "run.ato" and "./run.ato", a symbolic link and its file, two hard links of one file.

#include <string>

namespace velmora {

// Two names of existing files are one file when they have one device and inode; names of which
// one or both do not exist yet are one file when they have one name in one folder, the folders
// compared by device and inode (symbolic links and "." and ".." followed, from the current
// folder; a folder reached through a bind mount is the same folder). An empty name is no file.
bool SameFile(const std::string& a, const std::string& b);

}  // namespace velmora

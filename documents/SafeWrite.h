#pragma once
// Writing a file so that a failure loses nothing: the bytes go to a new file in the target's
// folder, which replaces the target only once every byte is on the disk. Documents, comment
// files and the start file are all written this way.

#include <string>
#include <string_view>

namespace velmora {

// Replaces the file `name` by `bytes`, or creates it. On any failure (no room, no right to
// write, a folder in the way) the temporary file is removed, the old file stays byte for byte
// as it was, and the IoError of the failing step is thrown. A file that exists but may not be
// written is refused with "File access denied", as writing it in place would be. A symbolic
// link is followed: the file it points to is replaced, the link stays. The replacement keeps
// the old file's mode bits; a new file gets the usual 0666 less the umask.
void WriteFileSafely(const std::string& name, std::string_view bytes);

}  // namespace velmora

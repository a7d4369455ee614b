#pragma once
// Writing a file so that a failure loses nothing: the bytes go to a new file in the target's
// folder, which replaces the target only once every byte is on the disk. Documents, comment
// files and the start file are all written this way. Where a new file would lose what the
// target is (its other hard links, its owner) or the folder takes no new file, the bytes are
// written into the target itself (see PendingFile).

#include <string>
#include <string_view>

namespace velmora {

// Replaces the file `name` by `bytes`, or creates it, through a PendingFile. On any failure (no
// room, no right to write, a folder in the way) the temporary file is removed, the old file
// stays byte for byte as it was, and the IoError of the failing step is thrown, naming the file; written in
// place, only a failure during the write itself can leave it part old, part new. A file that exists but may
// not be written is refused with "File access denied", as writing it in place would be. A symbolic link is
// followed: the file it points to is replaced, the link stays. The replacement keeps the old file's mode
// bits; a new file gets the usual 0666 less the umask.
void WriteFileSafely(const std::string& name, std::string_view bytes);

// Throws the IoError that replacing the file `target` meets before anything is written: a file
// that exists but may not be written, and anything that is neither a file nor a folder (a
// device, a FIFO, a socket), are refused with "File access denied". Putting a file in the place
// of a device or a FIFO would take it away from everything else that uses it. A missing target
// passes; a folder in the way is found by the rename.
void CheckReplaceable(const std::string& target);

}  // namespace velmora

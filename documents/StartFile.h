#pragma once
// The start file remembers the last document for the next start of the program: its full name
// as plain text, with no line end after it. It is the program's only setting.

#include <optional>
#include <string>

namespace velmora {

// $XDG_CONFIG_HOME/velmora/Start.-am-, or ~/.config/velmora/Start.-am- when the variable is
// unset, empty or not an absolute path. The environment is read at every call.
std::string StartFilePath();

// The text up to the first line end (CR or LF) or the end of the file: the last document's
// name, empty when there is none. Nothing when the file cannot be opened; a failure while
// reading throws IoError, and so does a name longer than LongestNameBytes ("Invalid filename"),
// without reading further.
std::optional<std::string> ReadStartFile();

// Replaces the start file's content by documentName (no line end), creating the file and its
// folder when they are missing; an empty name creates the empty start file of a first start.
void WriteStartFile(const std::string& documentName);

}  // namespace velmora

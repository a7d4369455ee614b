#pragma once
// The recent documents: the last documents opened or saved, newest first, kept from one start of
// the program to the next in a plain text file beside the start file, one full name a line.

#include <cstddef>
#include <string>
#include <vector>

namespace velmora {

inline constexpr std::size_t RecentDocumentCount = 8;

// ConfigFolderPath()/RecentDocuments.txt.
std::string RecentDocumentsPath();

// The names in the file, newest first: at most RecentDocumentCount, each once, empty lines
// skipped, a CR before a line's LF dropped; a line longer than LongestNameBytes ends the list. Empty when
// there is no file; a failure while opening an existing file or reading it throws IoError.
std::vector<std::string> ReadRecentDocuments();

// Puts `name` first, takes it out further down and lets the oldest name beyond the eighth go;
// the file is replaced safely (WriteFileSafely) and its folder made when missing. A name that
// holds a line end cannot be one line of the file and leaves the list as it was.
void AddRecentDocument(const std::string& name);

// AddRecentDocument after a document was opened or saved: a list that cannot be read or written
// must not make that look like a failure, so the error is dropped and the list stays as it was.
void TryAddRecentDocument(const std::string& name);

// Takes `name` out of the list.
void RemoveRecentDocument(const std::string& name);

// Empties the list.
void ClearRecentDocuments();

}  // namespace velmora

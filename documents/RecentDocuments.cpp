#include "documents/RecentDocuments.h"

#include <fcntl.h>

#include <algorithm>
#include <cerrno>

#include "documents/ConfigFolder.h"
#include "documents/FileHandle.h"
#include "documents/IoErrors.h"
#include "documents/SafeWrite.h"

namespace velmora {

namespace {

constexpr const char* FileName = "RecentDocuments.txt";

using Names = std::vector<std::string>;

// Adds a line of the file to the list unless it is empty or already there.
void TakeLine(Names& names, std::string line) {
  if (!line.empty() && line.back() == '\r') line.pop_back();
  if (line.empty() || std::find(names.begin(), names.end(), line) != names.end()) return;
  names.push_back(std::move(line));
}

void WriteRecentDocuments(const Names& names) {
  std::string text;
  for (const std::string& name : names) text += name + "\n";
  CreateConfigFolder();
  WriteFileSafely(RecentDocumentsPath(), text);
}

}  // namespace

std::string RecentDocumentsPath() { return ConfigFolderPath() + "/" + FileName; }

Names ReadRecentDocuments() {
  FileHandle file = FileHandle::Open(RecentDocumentsPath(), O_RDONLY);
  if (!file.IsOpen()) {
    if (file.Error() == ENOENT) return {};
    throw SystemIoError(file.Error());
  }
  // A file edited by hand may be long; reading stops once the list is full, and at a line longer
  // than any name.
  Names names;
  std::string pending;
  unsigned char chunk[4096];
  for (;;) {
    const std::size_t count = file.Read(chunk, sizeof chunk);
    pending.append(reinterpret_cast<const char*>(chunk), count);
    for (std::size_t lineEnd; (lineEnd = pending.find('\n')) != std::string::npos;) {
      if (lineEnd > LongestNameBytes) return names;
      TakeLine(names, pending.substr(0, lineEnd));
      pending.erase(0, lineEnd + 1);
      if (names.size() == RecentDocumentCount) return names;
    }
    if (pending.size() > LongestNameBytes) return names;
    if (count < sizeof chunk) break;
  }
  TakeLine(names, pending);
  return names;
}

void AddRecentDocument(const std::string& name) {
  if (name.empty() || name.find_first_of("\r\n") != std::string::npos) return;
  Names names = ReadRecentDocuments();
  std::erase(names, name);
  names.insert(names.begin(), name);
  if (names.size() > RecentDocumentCount) names.resize(RecentDocumentCount);
  WriteRecentDocuments(names);
}

void TryAddRecentDocument(const std::string& name) {
  try {
    AddRecentDocument(name);
  } catch (const IoError&) {
  }
}

void RemoveRecentDocument(const std::string& name) {
  Names names = ReadRecentDocuments();
  if (std::erase(names, name) > 0) WriteRecentDocuments(names);
}

void ClearRecentDocuments() { WriteRecentDocuments({}); }

}  // namespace velmora

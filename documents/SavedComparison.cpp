#include "documents/SavedComparison.h"

#include <fcntl.h>

#include <algorithm>
#include <memory>

#include "documents/FileHandle.h"
#include "model/ProgramError.h"

namespace velmora {

// Opened as every reader opens a document, so that a FIFO or a device is refused at once.
bool DiffersFromDocument(const Model& model, const std::string& name) {
  FileHandle file = FileHandle::Open(name, O_RDONLY);
  if (!file.IsOpen()) return true;
  std::array<unsigned char, SnapshotSize> saved{};
  try {
    if (file.Read(saved.data(), SnapshotSize) != SnapshotSize) return true;
  } catch (const IoError&) {
    return true;
  }
  const auto now = std::make_unique<Model>(model);
  TakeSnapshot(*now);
  return !std::equal(saved.begin(), saved.end(), now->Snapshot.begin());
}

}  // namespace velmora

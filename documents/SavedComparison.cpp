#include "documents/SavedComparison.h"

#include <algorithm>
#include <fstream>
#include <memory>

namespace velmora {

bool DiffersFromDocument(const Model& model, const std::string& name) {
  std::ifstream file(name, std::ios::binary);
  if (!file) return true;
  std::array<unsigned char, SnapshotSize> saved{};
  file.read(reinterpret_cast<char*>(saved.data()), SnapshotSize);
  if (file.gcount() != static_cast<std::streamsize>(SnapshotSize)) return true;
  const auto now = std::make_unique<Model>(model);
  TakeSnapshot(*now);
  return !std::equal(saved.begin(), saved.end(), now->Snapshot.begin());
}

}  // namespace velmora

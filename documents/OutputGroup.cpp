#include "documents/OutputGroup.h"

#include "documents/IoErrors.h"

namespace velmora {

PendingFile& OutputGroup::Add(const std::string& name) {
  files_.emplace_back(name, std::make_unique<PendingFile>(name));
  return *files_.back().second;
}

void OutputGroup::Commit(const std::function<void()>& last) {
  for (auto& [name, file] : files_) OnFile(name, [&] { file->Complete(); });
  if (last) last();
  for (auto& [name, file] : files_) OnFile(name, [&] { file->PutInPlace(); });
}

}  // namespace velmora

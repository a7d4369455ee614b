#pragma once
// The files one run writes, put in place together. Each grows in a PendingFile beside its
// target, and none takes its target's place until every one is complete and whatever else the
// run still has to write (its standard output) is written: a failure anywhere before that (a
// full disk, an output that cannot be written, an interruption) leaves every target as it was.
// Only a failure among the last renames themselves, which take no room, can put some files in
// place and not others.

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "documents/PendingFile.h"

namespace velmora {

class OutputGroup {
 public:
  // A pending file for `name`, alive as long as the group; throws as PendingFile does.
  PendingFile& Add(const std::string& name);

  // Completes every file, then runs `last` (which may throw, leaving every target as it was),
  // then puts every file in place. A failing file throws its IoError with its name.
  void Commit(const std::function<void()>& last = nullptr);

 private:
  std::vector<std::pair<std::string, std::unique_ptr<PendingFile>>> files_;
};

}  // namespace velmora

#pragma once
// The progress line of a tool's run on a terminal: written to standard error, rewritten in
// place, cleared when the run ends. ProgressMeter decides when a new line is worth showing.

#include "run/ProgressMeter.h"

namespace velmora {

class ProgressLine {
 public:
  explicit ProgressLine(int total);
  void Update(int done);
  void Clear();

 private:
  ProgressMeter meter_;
};

}  // namespace velmora

#pragma once
// The measurement table of a run as a file (see text/ObservableLog.h): rows are appended as the
// run goes and Finish puts the file in place of its target, so that a run that faults or is
// interrupted leaves no table behind (see PendingFile). The name "-" is the standard output,
// where each row goes out as soon as it is written.

#include <optional>
#include <string>

#include "documents/PendingFile.h"
#include "sim/Observables.h"

namespace velmora {

class ObservableLogFile {
 public:
  // Opens the table and writes its header line.
  explicit ObservableLogFile(const std::string& name);

  void WriteRow(int step, const Observables& observables);
  void Finish();

  // The name that stands for the standard output.
  static constexpr const char* StandardOutput = "-";

 private:
  void Write(const std::string& text);

  std::optional<PendingFile> file_;  // none for the standard output
};

}  // namespace velmora

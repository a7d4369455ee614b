#pragma once
// The measurement table of a run as a file (see text/ObservableLog.h): rows are appended as the
// run goes and the group puts the file in place of its target with the run's other outputs, so
// that a run that faults or is interrupted leaves no table behind (see OutputGroup). The name
// "-" is the standard output, where each row goes out as soon as it is written.

#include <string>

#include "documents/OutputGroup.h"
#include "sim/Observables.h"

namespace velmora {

class ObservableLogFile {
 public:
  // Opens the table among the run's outputs and writes its header line, the names of
  // `moreColumns` ("\tname\tname") after the measurements'.
  ObservableLogFile(const std::string& name, OutputGroup& outputs, const std::string& moreColumns = {});

  // `moreCells` ("\tvalue\tvalue") fill the further columns.
  void WriteRow(int step, const Observables& observables, const std::string& moreCells = {});

  // The rows (the header line not counted) this process wrote to the standard output.
  static int StandardOutputRows();

  // The name that stands for the standard output.
  static constexpr const char* StandardOutput = "-";

 private:
  void Write(const std::string& text);

  PendingFile* file_ = nullptr;  // none for the standard output
};

}  // namespace velmora

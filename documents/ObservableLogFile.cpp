#include "documents/ObservableLogFile.h"

#include <cerrno>
#include <cstdio>

#include "documents/IoErrors.h"
#include "text/ObservableLog.h"

namespace velmora {

namespace {

// The line with `cells` before its end.
std::string WithCells(std::string line, const std::string& cells) {
  line.insert(line.size() - 1, cells);
  return line;
}

int standardOutputRows = 0;

}  // namespace

ObservableLogFile::ObservableLogFile(const std::string& name, OutputGroup& outputs,
                                     const std::string& moreColumns) {
  if (name != StandardOutput) file_ = &outputs.Add(name);
  Write(WithCells(ObservableLogHeader(), moreColumns));
}

void ObservableLogFile::WriteRow(int step, const Observables& observables, const std::string& moreCells) {
  Write(WithCells(ObservableLogRow(step, observables), moreCells));
  if (!file_) ++standardOutputRows;
}

int ObservableLogFile::StandardOutputRows() { return standardOutputRows; }

void ObservableLogFile::Write(const std::string& text) {
  if (file_) return file_->Append(text);
  // A reader at the other end of a pipe sees each row when it is written.
  errno = 0;
  if (std::fwrite(text.data(), 1, text.size(), stdout) != text.size() || std::fflush(stdout) != 0)
    throw SystemIoError(errno);
}

}  // namespace velmora

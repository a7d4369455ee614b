#include "documents/ObservableLogFile.h"

#include <cerrno>
#include <cstdio>

#include "documents/IoErrors.h"
#include "text/ObservableLog.h"

namespace velmora {

namespace {

int standardOutputRows = 0;

}  // namespace

ObservableLogFile::ObservableLogFile(const std::string& name, OutputGroup& outputs) {
  if (name != StandardOutput) file_ = &outputs.Add(name);
  Write(ObservableLogHeader());
}

void ObservableLogFile::WriteRow(int step, const Observables& observables) {
  Write(ObservableLogRow(step, observables));
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

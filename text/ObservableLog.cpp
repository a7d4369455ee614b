#include "text/ObservableLog.h"

#include "text/NumberText.h"

namespace velmora {

std::string ObservableLogHeader() {
  std::string line = "step";
  for (const char* name : QuantityNames) line += std::string("\t") + name;
  return line + "\n";
}

std::string ObservableLogRow(int step, const Observables& observables) {
  std::string line = std::to_string(step);
  for (real value : observables.values) line += "\t" + FormatExact(value);
  return line + "\n";
}

}  // namespace velmora

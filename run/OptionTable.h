#pragma once
// The command lines of the tools: a table of options, one row each, that both the parser and
// the usage text read. Rows are bound to the tool's own settings when the table is made, so
// tools share rows (the run's switches, see RunOptions) without sharing a settings type.

#include <climits>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "model/Real.h"
#include "text/QuotedText.h"

namespace velmora {

// A command line the tool cannot take: it prints the message and its usage and ends with 2.
class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct Option {
  std::string Name;   // "--steps"
  std::string Value;  // the value's name in the usage ("N"); empty for a switch
  std::string Help;
  std::function<void(const std::string& value)> Apply;
};

using OptionTable = std::vector<Option>;

// Reads the options of argv[1 ..] into their rows and returns the other arguments in order.
// "--" ends the options. Unknown options and missing values throw UsageError.
std::vector<std::string> ParseOptions(const OptionTable& options, int argc, char** argv);

// One line per option: name, value, help, the help texts in one column.
std::string OptionsUsage(const OptionTable& options);

// A whole number from `least` to `most`; the message names the option.
int CountValue(std::string_view option, const std::string& text, int least, int most = INT_MAX);
// A real number with "." as the decimal separator.
real RealValue(std::string_view option, const std::string& text);

// One of the names of a table of (name, value) pairs.
template <class Value, std::size_t Size>
Value ChoiceValue(std::string_view option, const std::string& text,
                  const std::pair<const char*, Value> (&choices)[Size]) {
  std::string names;
  for (const auto& [name, value] : choices) {
    if (text == name) return value;
    names += names.empty() ? name : std::string(", ") + name;
  }
  throw UsageError(std::string(option) + ": " + Quoted(text) + " is none of " + names);
}

}  // namespace velmora

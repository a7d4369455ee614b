#include "run/OptionTable.h"

#include <algorithm>

#include "model/ProgramError.h"
#include "text/NumberText.h"
#include "text/QuotedText.h"

namespace velmora {

namespace {

// A conversion's message quotes the text whole; a command line's quotes it as every outside
// text is (see Quoted).
UsageError ValueError(std::string_view option, const std::string& text, const ConversionError& error) {
  const std::string message = error.what();
  const std::string whole = "'" + text + "'";
  const std::string said =
      message.rfind(whole, 0) == 0 ? Quoted(text) + message.substr(whole.size()) : message;
  return UsageError(std::string(option) + ": " + said);
}

}  // namespace

std::vector<std::string> ParseOptions(const OptionTable& options, int argc, char** argv) {
  std::vector<std::string> operands;
  bool optionsEnd = false;
  for (int i = 1; i < argc; ++i) {
    const std::string argument = argv[i];
    if (optionsEnd || argument.size() < 2 || argument[0] != '-') {
      operands.push_back(argument);
      continue;
    }
    if (argument == "--") {
      optionsEnd = true;
      continue;
    }
    const auto option =
        std::find_if(options.begin(), options.end(), [&](const Option& o) { return argument == o.Name; });
    if (option == options.end()) throw UsageError("unknown option " + Quoted(argument));
    std::string value;
    if (!option->Value.empty()) {
      if (++i == argc) throw UsageError(argument + " needs a value " + option->Value);
      value = argv[i];
    }
    option->Apply(value);
  }
  return operands;
}

std::string OptionsUsage(const OptionTable& options) {
  constexpr std::size_t Column = 22;
  std::string text;
  for (const Option& option : options) {
    std::string head = "  " + option.Name + (option.Value.empty() ? "" : " " + option.Value);
    head.resize(std::max(head.size() + 1, Column), ' ');
    text += head + option.Help + "\n";
  }
  return text;
}

int CountValue(std::string_view option, const std::string& text, int least, int most) {
  int value = 0;
  try {
    value = ParseInteger(text);
  } catch (const ConversionError& error) {
    throw ValueError(option, text, error);
  }
  if (value < least)
    throw UsageError(std::string(option) + ": " + Quoted(text) + " is less than " + std::to_string(least));
  if (value > most)
    throw UsageError(std::string(option) + ": " + Quoted(text) + " is more than " + std::to_string(most));
  return value;
}

real RealValue(std::string_view option, const std::string& text) {
  try {
    return ParseReal(text, '.');
  } catch (const ConversionError& error) {
    throw ValueError(option, text, error);
  }
}

}  // namespace velmora

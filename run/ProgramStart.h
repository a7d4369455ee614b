#pragma once
// How each of Velmora's programs treats its command line before it does any work, and how it
// reports a failure: a usage error prints the message and the usage text and ends with
// UsageStatus, --help prints the usage text and ends with 0, a failure prints
// "program: message" and ends with FailureStatus.

#include <cstdio>
#include <exception>
#include <new>
#include <optional>
#include <string>

#include "run/OptionTable.h"

namespace velmora {

inline constexpr int FailureStatus = 1;
inline constexpr int UsageStatus = 2;

// Reads the command line into `line` with `parse`, which throws UsageError, and answers what
// needs no work. Returns the status to end with at once, or nothing when the program goes on.
template <class Line, class Parse>
std::optional<int> ReadCommandLine(const char* program, const std::string& usage, Parse parse, Line& line) {
  try {
    line = parse();
  } catch (const UsageError& error) {
    std::fprintf(stderr, "%s: %s\n\n%s", program, error.what(), usage.c_str());
    return UsageStatus;
  }
  if (!line.help) return std::nullopt;
  std::fputs(usage.c_str(), stdout);
  return 0;
}

// What a failure says: an allocation the system refused is "not enough memory".
inline std::string FailureText(const std::exception& error) {
  return dynamic_cast<const std::bad_alloc*>(&error) ? "not enough memory" : error.what();
}

inline int Fail(const char* program, const std::string& message) {
  std::fprintf(stderr, "%s: %s\n", program, message.c_str());
  return FailureStatus;
}

}  // namespace velmora

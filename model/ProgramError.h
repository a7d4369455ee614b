#pragma once
// Failures carry the program's exact message text; the window shows them in its error box,
// the command-line tools print them.

#include <stdexcept>
#include <string>
#include <utility>

namespace velmora {

class ProgramError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Invalid operation, division by zero or overflow seen in the FPU status flags.
class FloatingPointFault : public ProgramError {
 public:
  using ProgramError::ProgramError;
};

// A failed file operation, with the platform's input/output error code and, where the failing
// operation knows it, the name of the file (kept apart from the message, which stays the
// program's text).
class IoError : public ProgramError {
 public:
  IoError(int code, const std::string& message, std::string file = {})
      : ProgramError(message), code_(code), file_(std::move(file)) {}
  int code() const { return code_; }
  const std::string& file() const { return file_; }

 private:
  int code_;
  std::string file_;
};

// Text that is not a number ("'abc' is not a valid floating point value").
class ConversionError : public ProgramError {
 public:
  using ProgramError::ProgramError;
};

}  // namespace velmora

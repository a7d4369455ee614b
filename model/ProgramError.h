#pragma once
// Failures carry the program's exact message text; the window shows them in its error box,
// the command-line tools print them.

#include <stdexcept>
#include <string>

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

// A failed file operation, with the platform's input/output error code.
class IoError : public ProgramError {
 public:
  IoError(int code, const std::string& message) : ProgramError(message), code_(code) {}
  int code() const { return code_; }

 private:
  int code_;
};

// Text that is not a number ("'abc' is not a valid floating point value").
class ConversionError : public ProgramError {
 public:
  using ProgramError::ProgramError;
};

}  // namespace velmora

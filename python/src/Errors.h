#pragma once
// The program's errors as Python exceptions: velmora.Error for every failure with the program's
// text, velmora.FileError for a file operation (the file's name, then the text), and
// velmora.FloatingPointFault for a fault of the arithmetic, whose `step` is the step at which a
// run faulted (None outside a run). Raised from C++ by throwing the core's exceptions.

#include <pybind11/pybind11.h>

#include <exception>
#include <string>

#include "model/ProgramError.h"

namespace velmora::python {

void RegisterErrors(pybind11::module_& module);

// Sets Python's error indicator to the exception of a thrown core error, as raising it from a
// binding would.
void SetPythonError(std::exception_ptr thrown);

// Runs `operation`; an IoError it throws is thrown again with the file's name before its text
// ("scene.ato: File not found") and as its file, which FileError gives as `filename`.
template <class Operation>
void OnNamedFile(const std::string& name, Operation operation) {
  try {
    operation();
  } catch (const IoError& error) {
    throw IoError(error.code(), name + ": " + error.what(), name);
  }
}

}  // namespace velmora::python

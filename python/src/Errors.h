#pragma once
// The program's errors as Python exceptions: velmora.Error for every failure with the program's
// text, velmora.FileError for a file operation (the file's name, then the text), and
// velmora.FloatingPointFault for a fault of the arithmetic, whose `step` is the step at which a
// run faulted (None outside a run). Raised from C++ by throwing the core's exceptions.

#include <pybind11/pybind11.h>

#include <exception>

namespace velmora::python {

void RegisterErrors(pybind11::module_& module);

// Sets Python's error indicator to the exception of a thrown core error, as raising it from a
// binding would.
void SetPythonError(std::exception_ptr thrown);

}  // namespace velmora::python

#include "Errors.h"

#include "model/ProgramError.h"
#include "sim/StepFault.h"

namespace velmora::python {

namespace py = pybind11;

namespace {

// The exception types live as long as the interpreter: kept as bare references.
PyObject* ErrorType = nullptr;
PyObject* FileErrorType = nullptr;
PyObject* FaultType = nullptr;

void RaiseFault(const std::string& text, py::object step) {
  py::object fault = py::reinterpret_borrow<py::object>(FaultType)(text);
  fault.attr("step") = std::move(step);
  PyErr_SetObject(FaultType, fault.ptr());
}

}  // namespace

void SetPythonError(std::exception_ptr thrown) {
  try {
    std::rethrow_exception(thrown);
  } catch (const StepFault& fault) {
    RaiseFault(fault.what(), py::int_(fault.Step()));
  } catch (const FloatingPointFault& fault) {
    RaiseFault(fault.what(), py::none());
  } catch (const IoError& error) {
    PyErr_SetString(FileErrorType, error.what());
  } catch (const ProgramError& error) {
    PyErr_SetString(ErrorType, error.what());
  }
}

void RegisterErrors(py::module_& module) {
  static py::exception<ProgramError> error(module, "Error", PyExc_Exception);
  static py::exception<IoError> fileError(module, "FileError", error.ptr());
  static py::exception<FloatingPointFault> fault(module, "FloatingPointFault", error.ptr());
  error.doc() = "A failure of Velmora's core, with the program's message as its text.";
  fileError.doc() = "A file that could not be read or written: the file's name, then the program's text.";
  fault.doc() =
      "A floating-point fault (invalid operation, division by zero or overflow) with the program's text;\n"
      "`step` is the number of the step that faulted, or None outside a run; `record` is what a run with\n"
      "record=K recorded up to the fault (None otherwise).";
  fault.attr("step") = py::none();
  fault.attr("record") = py::none();
  ErrorType = error.ptr();
  FileErrorType = fileError.ptr();
  FaultType = fault.ptr();
  py::register_exception_translator(SetPythonError);
}

}  // namespace velmora::python

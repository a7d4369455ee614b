#include "Errors.h"

#include <cerrno>
#include <cstring>

#include "documents/IoErrors.h"
#include "model/ProgramError.h"
#include "sim/StepFault.h"

namespace velmora::python {

namespace py = pybind11;
using namespace pybind11::literals;

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

// The system's error number of a file failure, for OSError's errno: the program's codes stand for
// the errors they are mapped from, any other code is the error number itself.
int ErrorNumber(int code) {
  switch (code) {
    case io_code::FileNotFound:
      return ENOENT;
    case io_code::InvalidFilename:
      return EINVAL;
    case io_code::TooManyOpenFiles:
      return EMFILE;
    case io_code::FileAccessDenied:
      return EACCES;
    case io_code::DiskFull:
      return ENOSPC;
    case io_code::ReadBeyondEndOfFile:
      return EIO;
    default:
      return code;
  }
}

// FileError(text) with OSError's errno, strerror and filename set, str() the program's text.
void RaiseFileError(const IoError& error) {
  py::object raised = py::reinterpret_borrow<py::object>(FileErrorType)(error.what());
  raised.attr("errno") = ErrorNumber(error.code());
  raised.attr("strerror") = py::str(std::strerror(ErrorNumber(error.code())));
  raised.attr("filename") = error.file().empty() ? py::object(py::none()) : py::object(py::str(error.file()));
  PyErr_SetObject(FileErrorType, raised.ptr());
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
    RaiseFileError(error);
  } catch (const ProgramError& error) {
    PyErr_SetString(ErrorType, error.what());
  }
}

void RegisterErrors(py::module_& module) {
  static py::exception<ProgramError> error(module, "Error", PyExc_Exception);
  // FileError is also an OSError, so that `except OSError` catches it.
  static py::object fileError =
      py::module_::import("builtins")
          .attr("type")(
              "FileError", py::make_tuple(error, py::reinterpret_borrow<py::object>(PyExc_OSError)),
              py::dict("__module__"_a = module.attr("__name__"),
                       // The program's text, not OSError's "[Errno 2] ..." made of errno and filename.
                       "__str__"_a = py::module_::import("builtins").attr("BaseException").attr("__str__")));
  module.attr("FileError") = fileError;
  static py::exception<FloatingPointFault> fault(module, "FloatingPointFault", error.ptr());
  error.doc() = "A failure of Velmora's core, with the program's message as its text.";
  fileError.attr("__doc__") =
      "A file that could not be read or written: the file's name, then the program's text. Also an OSError,\n"
      "with `errno` (ENOENT for \"File not found\", EACCES for \"File access denied\", ENOSPC for \"Disk "
      "full\")\n"
      "and `filename`.";
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

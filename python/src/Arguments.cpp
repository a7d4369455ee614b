#include "Arguments.h"

#include <climits>

namespace velmora::python {

namespace {

// pybind11 has no exception class for OverflowError.
[[noreturn]] void ThrowOverflow(const std::string& message) {
  PyErr_SetString(PyExc_OverflowError, message.c_str());
  throw py::error_already_set();
}

}  // namespace

std::string TypeName(py::handle value) {
  if (py::isinstance<py::array>(value))
    return "an array of " + py::str(py::reinterpret_borrow<py::array>(value).dtype()).cast<std::string>();
  return py::str(py::type::handle_of(value).attr("__name__")).cast<std::string>();
}

int IntegerValue(py::handle value, const std::string& what, int least, int most) {
  if (!PyIndex_Check(value.ptr())) throw py::type_error(what + ": expected an integer, got " + TypeName(value));
  const py::int_ number = py::reinterpret_steal<py::int_>(PyNumber_Index(value.ptr()));
  if (!number) throw py::error_already_set();
  int overflow = 0;
  const long long wide = PyLong_AsLongLongAndOverflow(number.ptr(), &overflow);
  const std::string text = py::str(static_cast<py::handle>(number)).cast<std::string>();
  if (overflow != 0 || wide < INT_MIN || wide > INT_MAX)
    ThrowOverflow(what + ": " + text + " does not fit a 32-bit integer");
  if (wide < least || wide > most)
    throw py::value_error(what + ": expected " + std::to_string(least) +
                          (most == INT_MAX ? " or more" : " to " + std::to_string(most)) + ", got " + text);
  return static_cast<int>(wide);
}

}  // namespace velmora::python

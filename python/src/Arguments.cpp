#include "Arguments.h"

#include <climits>

namespace velmora::python {

namespace {

// pybind11 has no exception class for OverflowError.
[[noreturn]] void ThrowOverflow(const std::string& message) {
  PyErr_SetString(PyExc_OverflowError, message.c_str());
  throw py::error_already_set();
}

long long BoundedInteger(py::handle value, const std::string& what, long long least, long long most,
                         long long widest, const char* width) {
  if (!PyIndex_Check(value.ptr()))
    throw py::type_error(what + ": expected an integer, got " + TypeName(value));
  const py::int_ number = py::reinterpret_steal<py::int_>(PyNumber_Index(value.ptr()));
  if (!number) throw py::error_already_set();
  int overflow = 0;
  const long long wide = PyLong_AsLongLongAndOverflow(number.ptr(), &overflow);
  const std::string text = py::str(static_cast<py::handle>(number)).cast<std::string>();
  if (overflow != 0 || wide < -widest - 1 || wide > widest)
    ThrowOverflow(what + ": " + text + " does not fit a " + width + " integer");
  if (wide < least || wide > most)
    throw py::value_error(what + ": expected " + std::to_string(least) +
                          (most == widest ? " or more" : " to " + std::to_string(most)) + ", got " + text);
  return wide;
}

}  // namespace

std::string TypeName(py::handle value) {
  if (py::isinstance<py::array>(value))
    return "an array of " + py::str(py::reinterpret_borrow<py::array>(value).dtype()).cast<std::string>();
  return py::str(py::type::handle_of(value).attr("__name__")).cast<std::string>();
}

int IntegerValue(py::handle value, const std::string& what, int least, int most) {
  return static_cast<int>(BoundedInteger(value, what, least, most, INT_MAX, "32-bit"));
}

long long WideIntegerValue(py::handle value, const std::string& what, long long least, long long most) {
  return BoundedInteger(value, what, least, most, LLONG_MAX, "64-bit");
}

bool SwitchValue(py::handle value, const std::string& what) {
  if (PyBool_Check(value.ptr())) return value.ptr() == Py_True;
  if (py::isinstance(value, py::module_::import("numpy").attr("bool_")))
    return value.attr("__bool__")().cast<bool>();
  throw py::type_error(what + ": expected True or False, got " + TypeName(value));
}

std::string TextValue(py::handle value, const std::string& what) {
  if (!py::isinstance<py::str>(value))
    throw py::type_error(what + ": expected a str, got " + TypeName(value));
  return value.cast<std::string>();
}

}  // namespace velmora::python

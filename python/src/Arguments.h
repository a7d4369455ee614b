#pragma once
// Python values as the arguments of the module's functions, checked with messages that name the
// argument: "steps: expected an integer, got float", "threads: expected 1 to 256, got 100000".

#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>

#include <string>

namespace velmora::python {

namespace py = pybind11;

// The type of a value as a message names it: "float", or "an array of float64".
std::string TypeName(py::handle value);

// A whole number (an int or anything with __index__, numpy's integers included) from `least` to
// `most`. Another type raises TypeError, a number beyond a C int OverflowError, a number outside
// least..most ValueError.
int IntegerValue(py::handle value, const std::string& what, int least, int most);

// The same for 64-bit counts: a number beyond 64 bits raises OverflowError.
long long WideIntegerValue(py::handle value, const std::string& what, long long least, long long most);

// A switch: True or False (Python's or numpy's); anything else raises TypeError naming it.
bool SwitchValue(py::handle value, const std::string& what);

// A text (str); anything else raises TypeError naming it.
std::string TextValue(py::handle value, const std::string& what);

}  // namespace velmora::python

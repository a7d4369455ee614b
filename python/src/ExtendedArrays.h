#pragma once
// numpy arrays of longdouble over the model's values. On x86-64 numpy's longdouble is the x87
// extended format in 16 bytes, of which the first 10 hold the value; values go in and out as
// those 10 bytes, so every encoding a document may hold (infinities, NaNs with their payloads,
// encodings the FPU refuses) passes unchanged, and the 6 bytes of padding are always zero.

#include <pybind11/numpy.h>

#include <string>
#include <vector>

#include "model/Real.h"

namespace velmora::python {

namespace py = pybind11;

// A new read-only array of the given shape holding the values in row-major order.
py::array ExtendedArray(const std::vector<real>& values, const std::vector<py::ssize_t>& shape);

// The values of a longdouble array (any strides) of exactly the given shape, in row-major
// order. Anything but a numpy longdouble array raises TypeError, another shape ValueError, both
// naming `what` and what was expected.
std::vector<real> ExtendedValues(py::handle value, const std::string& what,
                                 const std::vector<py::ssize_t>& shape);

// The same for a bool array.
py::array BoolArray(const std::vector<bool>& values);
std::vector<bool> BoolValues(py::handle value, const std::string& what, py::ssize_t length);

// A numpy.longdouble scalar of the value, and the value of such a scalar (or a 0-d array).
py::object ExtendedScalar(real value);
real ExtendedScalarValue(py::handle value, const std::string& what);

}  // namespace velmora::python

#include "ExtendedArrays.h"

#include <cstring>

#include "Arguments.h"

namespace velmora::python {

namespace {

std::string ShapeText(const std::vector<py::ssize_t>& shape) {
  std::string text = "(";
  for (std::size_t d = 0; d < shape.size(); ++d)
    text += (d ? ", " : "") + std::to_string(shape[d]) + (shape.size() == 1 ? "," : "");
  return text + ")";
}

// The array, checked for its element type and shape.
py::array Checked(py::handle value, const std::string& what, const py::dtype& type, const char* typeName,
                  const std::vector<py::ssize_t>& shape) {
  const std::string expected =
      "a numpy array of " + std::string(typeName) + " with shape " + ShapeText(shape);
  if (!py::isinstance<py::array>(value) || !py::reinterpret_borrow<py::array>(value).dtype().equal(type))
    throw py::type_error(what + ": expected " + expected + ", got " + TypeName(value));
  auto array = py::reinterpret_borrow<py::array>(value);
  const std::vector<py::ssize_t> given(array.shape(), array.shape() + array.ndim());
  if (given != shape)
    throw py::value_error(what + ": expected " + expected + ", got shape " + ShapeText(given));
  return array;
}

// Calls visit(element address) for every element in row-major order, whatever the strides.
template <class Visit>
void ForEachElement(const py::array& array, Visit visit) {
  const auto* base = static_cast<const unsigned char*>(array.data());
  const py::ssize_t dimensions = array.ndim();
  std::vector<py::ssize_t> index(dimensions, 0);
  for (py::ssize_t k = 0; k < array.size(); ++k) {
    py::ssize_t offset = 0;
    for (py::ssize_t d = 0; d < dimensions; ++d) offset += index[d] * array.strides(d);
    visit(base + offset);
    for (py::ssize_t d = dimensions - 1; d >= 0 && ++index[d] == array.shape(d); --d) index[d] = 0;
  }
}

py::array ReadOnly(py::array array) {
  array.attr("setflags")(py::arg("write") = false);
  return array;
}

}  // namespace

py::array ExtendedArray(const std::vector<real>& values, const std::vector<py::ssize_t>& shape) {
  py::array_t<real> array(shape);
  auto* bytes = reinterpret_cast<unsigned char*>(array.mutable_data());
  std::memset(bytes, 0, values.size() * sizeof(real));
  for (std::size_t k = 0; k < values.size(); ++k)
    std::memcpy(bytes + k * sizeof(real), &values[k], ExtendedBytes);
  return ReadOnly(array);
}

std::vector<real> ExtendedValues(py::handle value, const std::string& what,
                                 const std::vector<py::ssize_t>& shape) {
  const py::array array = Checked(value, what, py::dtype::of<real>(), "longdouble", shape);
  std::vector<real> values;
  ForEachElement(array, [&](const unsigned char* element) {
    real v = 0.0L;
    std::memcpy(&v, element, ExtendedBytes);
    values.push_back(v);
  });
  return values;
}

py::array BoolArray(const std::vector<bool>& values) {
  py::array_t<bool> array(static_cast<py::ssize_t>(values.size()));
  for (std::size_t k = 0; k < values.size(); ++k) array.mutable_data()[k] = values[k];
  return ReadOnly(array);
}

std::vector<bool> BoolValues(py::handle value, const std::string& what, py::ssize_t length) {
  const py::array array = Checked(value, what, py::dtype::of<bool>(), "bool", {length});
  std::vector<bool> values;
  ForEachElement(array, [&](const unsigned char* element) { values.push_back(*element != 0); });
  return values;
}

py::object ExtendedScalar(real value) { return ExtendedArray({value}, {}).attr("__getitem__")(py::tuple()); }

real ExtendedScalarValue(py::handle value, const std::string& what) {
  const py::object longdouble = py::module_::import("numpy").attr("longdouble");
  if (py::isinstance(value, longdouble))
    return ExtendedValues(py::module_::import("numpy").attr("asarray")(value), what, {}).front();
  if (!py::isinstance<py::array>(value))
    throw py::type_error(what + ": expected a numpy.longdouble, got " + TypeName(value) +
                         " (a float would be the nearest double, not the value meant)");
  return ExtendedValues(value, what, {}).front();
}

}  // namespace velmora::python

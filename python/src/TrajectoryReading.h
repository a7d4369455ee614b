#pragma once
// velmora.read_xyz: a trajectory file as a Record.

#include <pybind11/pybind11.h>

namespace velmora::python {

void RegisterTrajectoryReading(pybind11::module_& module);

}  // namespace velmora::python

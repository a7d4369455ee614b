#pragma once
// The structure analysis in Python: velmora.structure and velmora.point_group for any (n, 3)
// array of positions, Scene.structure for the present slots and Scene.relax.

#include <pybind11/pybind11.h>

namespace velmora::python {

void RegisterStructure(pybind11::module_& module);

}  // namespace velmora::python

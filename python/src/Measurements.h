#pragma once
// Scene.distance, Scene.angle, Scene.dihedral and Scene.particle_energies: the measurements the
// window's selection reads, from the same core functions.

#include <pybind11/pybind11.h>

namespace velmora::python {

// Adds the methods to the module's Scene class, which must be registered already.
void RegisterMeasurements(pybind11::module_& module);

}  // namespace velmora::python

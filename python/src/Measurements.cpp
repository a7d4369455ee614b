#include "Measurements.h"

#include <string>
#include <vector>

#include "ExtendedArrays.h"
#include "Scene.h"
#include "measure/Geometry3.h"
#include "sim/Observables.h"

namespace velmora::python {

namespace {

using namespace pybind11::literals;

// The position of a slot numbered as the window numbers them, 1 .. n.
Point3 At(const Model& m, int slot, const char* what) {
  if (slot < 1 || slot > m.N)
    throw py::value_error(std::string(what) + ": slot " + std::to_string(slot) + " is not in 1.." +
                          std::to_string(m.N));
  return PositionOf(m, slot);
}

}  // namespace

void RegisterMeasurements(py::module_& module) {
  auto scene = py::reinterpret_borrow<py::class_<Scene>>(module.attr("Scene"));
  scene
      .def(
          "distance",
          [](const Scene& s, int i, int j) {
            const Model m = s.Snapshot();
            return ExtendedScalar(Separation(At(m, i, "i"), At(m, j, "j")));
          },
          "i"_a, "j"_a, "The distance between slots i and j (1..100) as numpy.longdouble.")
      .def(
          "angle",
          [](const Scene& s, int i, int j, int k) {
            const Model m = s.Snapshot();
            return ExtendedScalar(AngleDegrees(At(m, i, "i"), At(m, j, "j"), At(m, k, "k")));
          },
          "i"_a, "j"_a, "k"_a, "The angle i-j-k at slot j in degrees (0..180); nan when i or k sits on j.")
      .def(
          "dihedral",
          [](const Scene& s, int i, int j, int k, int l) {
            const Model m = s.Snapshot();
            return ExtendedScalar(
                DihedralDegrees(At(m, i, "i"), At(m, j, "j"), At(m, k, "k"), At(m, l, "l")));
          },
          "i"_a, "j"_a, "k"_a, "l"_a,
          "The dihedral angle between the planes (i, j, k) and (j, k, l) in degrees (-180..180): positive "
          "when,\n"
          "seen along j->k, the bond j->i turns clockwise onto k->l.")
      .def(
          "particle_energies",
          [](const Scene& s, bool contact, bool taoscope) {
            const Model m = s.Snapshot();
            const SlotArray<real> shares = ParticlePotentials(m, {contact, taoscope});
            return ExtendedArray(std::vector<real>(shares.begin() + 1, shares.begin() + 1 + m.N),
                                 {static_cast<py::ssize_t>(m.N)});
          },
          py::kw_only(), "contact"_a = false, "taoscope"_a = false,
          "Each slot's share of the potential energy, numpy.longdouble of shape (n,): half of the energy of\n"
          "every pair it belongs to, so that the sum over present slots is observables()['potential'] (up "
          "to\n"
          "the order of the sums); 0 for absent slots.");
}

}  // namespace velmora::python

// velmora._core: the compiled part of the velmora package. The package's __init__ adds the
// parts written in Python (ASE, sweeps); see python/README.md for the module as users see it.

#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <algorithm>
#include <climits>
#include <iterator>

#include "Arguments.h"
#include "Errors.h"
#include "ExtendedArrays.h"
#include "Measurements.h"
#include "Record.h"
#include "Scene.h"
#include "Structures.h"
#include "TrajectoryReading.h"
#include "documents/XyzTrajectory.h"
#include "model/ProgramError.h"
#include "run/OptionTable.h"
#include "sim/Observables.h"
#include "text/NumberText.h"

namespace py = pybind11;
using namespace pybind11::literals;
using velmora::python::PathText;
using velmora::python::Scene;

namespace {

velmora::BoundaryMode ModeNamed(const std::string& name) {
  try {
    return velmora::ChoiceValue("mode", name, velmora::BoundaryModeNames);
  } catch (const velmora::UsageError& error) {
    throw py::value_error(error.what());
  }
}

// The core's tables of names, as Python tuples, so that the Python side never restates them.
template <class Names, class Name>
py::tuple NameTuple(const Names& names, Name name) {
  py::list texts;
  for (const auto& entry : names) texts.append(name(entry));
  return py::tuple(texts);
}

// Rows of (x, y, z) as doubles, for the atoms of a structure.
std::vector<std::array<double, 3>> Triples(
    const py::array_t<double, py::array::c_style | py::array::forcecast>& rows, const char* what,
    py::ssize_t count) {
  if (rows.ndim() != 2 || rows.shape(0) != count || rows.shape(1) != 3)
    throw py::value_error(std::string(what) + ": expected shape (" + std::to_string(count) + ", 3)");
  std::vector<std::array<double, 3>> triples(count);
  for (py::ssize_t k = 0; k < count; ++k) triples[k] = {rows.at(k, 0), rows.at(k, 1), rows.at(k, 2)};
  return triples;
}

void PlaceAtoms(Scene& scene, const py::array_t<double, py::array::c_style | py::array::forcecast>& positions,
                const py::array_t<double, py::array::c_style | py::array::forcecast>& velocities,
                const py::object& slots) {
  const py::ssize_t count = positions.ndim() == 2 ? positions.shape(0) : -1;
  const auto where = Triples(positions, "positions", count);
  const auto speeds = Triples(velocities, "velocities", count);
  std::vector<velmora::PlacedAtom> atoms(count);
  for (py::ssize_t k = 0; k < count; ++k) atoms[k].position = where[k], atoms[k].velocity = speeds[k];
  if (!slots.is_none()) {
    const auto numbers = slots.cast<std::vector<long long>>();
    if (static_cast<py::ssize_t>(numbers.size()) != count)
      throw py::value_error("slot: one number per atom expected");
    for (py::ssize_t k = 0; k < count; ++k)
      atoms[k].slot = static_cast<int>(std::clamp<long long>(numbers[k], INT_MIN, INT_MAX));
  }
  scene.PlaceAtoms(atoms, !slots.is_none());
}

}  // namespace

PYBIND11_MODULE(_core, module) {
  module.doc() = "Velmora's core: scenes, runs and their quantities, with the program's exact bits.";
  velmora::python::RegisterErrors(module);

  module.attr("QUANTITY_NAMES") = py::tuple(
      py::cast(std::vector<std::string>(velmora::QuantityNames.begin(), velmora::QuantityNames.end())));
  module.attr("PARAMETER_NAMES") = NameTuple(velmora::ParameterNames, [](const char* name) { return name; });
  module.attr("MODE_NAMES") =
      NameTuple(velmora::BoundaryModeNames, [](const auto& mode) { return mode.first; });
  py::list species;
  for (int group = 1; group <= velmora::GroupCount; ++group) species.append(velmora::XyzSpecies(group));
  module.attr("GROUP_SPECIES") = py::tuple(species);
  module.def(
      "format_exact",
      [](const py::object& value) {
        return velmora::FormatExact(velmora::python::ExtendedScalarValue(value, "value"));
      },
      "value"_a,
      "A numpy.longdouble as velmora-batch --log writes it: 21 significant digits, or INF, -INF, NAN.");

  module.def(
      "parse_real",
      [](const std::string& text) {
        try {
          return velmora::python::ExtendedScalar(velmora::ParseReal(text, '.'));
        } catch (const velmora::ConversionError& error) {
          throw py::value_error(error.what());
        }
      },
      "text"_a,
      "The nearest numpy.longdouble of a decimal text with '.', as velmora-batch --dt reads it; ValueError\n"
      "with the program's message for anything else.");

  py::class_<Scene>(module, "Scene",
                    R"(One scene: 100 slots in three groups, their parameters and the time step.

Values are numpy longdouble (the x87 extended format of the program), read and written bit for bit.
Reading an array attribute gives a new read-only array; assign a whole array to change one.)")
      .def(py::init<>(),
           "The scene of File > New: every slot empty, dt 0.01, parameters 1, 1, 2, 3, 4, 5 per group.")
      .def_static(
          "new", [] { return Scene(); }, "The scene of File > New (the same as Scene()).")
      .def_static(
          "load", [](const py::object& path) { return Scene::Load(PathText(path)); }, "path"_a,
          "Reads a .ato document as File > Open does; the step count starts at 0.")
      .def(
          "save", [](Scene& s, const py::object& path) { s.Save(PathText(path)); }, "path"_a,
          "Writes the scene as a .ato document, replacing the file only once all of it is written.")
      .def_static(
          "from_bytes", [](const py::object& bytes) { return Scene::FromBytes(bytes); }, "document"_a,
          "The scene of the 6296 bytes of a document, as load reads them from a file; the step count starts\n"
          "at 0 and the working copies equal the current arrays.")
      .def("to_bytes", &Scene::ToBytes, "The bytes that save would write.")
      .def_property_readonly(
          "n", [](const Scene& s) { return s.N(); }, "The number of slots (100).")
      .def_property("dt", &Scene::Dt, &Scene::SetDt,
                    "The time step in the scene's time units, a numpy.longdouble.")
      .def_property("step_count", &Scene::StepCount, &Scene::SetStepCount,
                    "Steps run since the scene was made or loaded; a run continues from it.")
      .def_property_readonly(
          "groups",
          [](const Scene& s) {
            py::array_t<int> groups(s.N());
            const int n = s.N();
            for (int slot = 1; slot <= n; ++slot) groups.mutable_at(slot - 1) = velmora::GroupOf(n, slot);
            return groups;
          },
          "The group (1, 2 or 3) of every slot: int, shape (n,).")
      .def_property("present", &Scene::Present, &Scene::SetPresent,
                    "Which slots hold a particle: bool, shape (n,).")
      .def_property("positions", &Scene::Positions, &Scene::SetPositions,
                    "x, y, z of every slot in length units: longdouble, shape (n, 3).")
      .def_property(
          "velocities", &Scene::Velocities, &Scene::SetVelocities,
          "Velocities along x, y, z of every slot in length units per time unit: longdouble, shape (n, 3).")
      .def_property("parameters", &Scene::Parameters, &Scene::SetParameters,
                    "A, B, C, D, F, G of groups 1, 2, 3: longdouble, shape (3, 6).")
      .def(
          "run",
          [](py::object self, py::object steps, py::object blockade, py::object cool, py::object contact,
             py::object taoscope, py::object mode, py::object threads, py::object every, py::object callback,
             py::object record) {
            using velmora::python::SwitchValue;
            velmora::StepSettings settings;
            settings.Blockade = SwitchValue(blockade, "blockade");
            settings.Cool = SwitchValue(cool, "cool");
            settings.Law.Functions3X1 = SwitchValue(contact, "contact");
            settings.Law.Taoscope = SwitchValue(taoscope, "taoscope");
            settings.Mode = ModeNamed(velmora::python::TextValue(mode, "mode"));
            if (!callback.is_none() && !PyCallable_Check(callback.ptr()))
              throw py::type_error("callback: expected a callable");
            return velmora::python::RunScene(self, steps, settings, threads, every, callback, record);
          },
          "steps"_a, py::kw_only(), "blockade"_a = false, "cool"_a = false, "contact"_a = false,
          "taoscope"_a = false, "mode"_a = "free", "threads"_a = py::none(), "every"_a = py::none(),
          "callback"_a = py::none(), "record"_a = py::none(),
          R"(Runs `steps` steps as Go does: mode is free, hot, cold, current1 or current2; threads (1 to 256,
default: every core) never change the bits. A dt, parameter, or position or velocity of a present slot
that is not a number raises FloatingPointFault naming it before the first step. callback(scene) is
called after every `every` steps (default 1). Ctrl+C ends the run between two steps with
KeyboardInterrupt; a floating-point fault raises FloatingPointFault with the step and leaves the scene
where the step stopped, as the window does. Each step advances the time by dt (in the scene's time units).

record=K returns a velmora.Record of the scene at the start and after every K-th step, with the quantities
of observables() at those instants; without it run returns None. Recording changes no bit of the run. An
exception that ends a recorded run early (a fault, Ctrl+C, the callback's own) carries what was recorded
up to then as its attribute `record`.)")
      .def(
          "accelerations",
          [](Scene& s, bool contact, bool taoscope, py::object threads) {
            return s.Accelerations({contact, taoscope}, threads);
          },
          py::kw_only(), "contact"_a = false, "taoscope"_a = false, "threads"_a = py::none(),
          "The law's accelerations of every slot from the current positions, in length units per time unit\n"
          "squared (unit masses, so also the forces): longdouble, shape (n, 3).")
      .def(
          "observables",
          [](const Scene& s, bool contact, bool taoscope) {
            return s.Observables({contact, taoscope});
          },
          py::kw_only(), "contact"_a = false, "taoscope"_a = false,
          R"(The quantities of the present slots, as velmora-batch --log writes them, by name: kinetic, potential,
total, kinetic1..3 (per group), gyration, closest, fastest; numpy.longdouble. Energies are in the law's
energy units with unit masses, gyration and closest in length units, fastest in length units per time
unit. contact and taoscope choose the law whose potential is measured, as in run.)")
      .def("listing", &Scene::Listing, "what"_a = "positions",
           "The listing as text: one line per slot, tab-separated, '.' as decimal separator.")
      .def("_place_atoms", &PlaceAtoms, "positions"_a, "velocities"_a, "slots"_a);
  // After Scene, whose name the signatures of Record's methods give.
  velmora::python::RegisterRecord(module);
  velmora::python::RegisterTrajectoryReading(module);
  velmora::python::RegisterMeasurements(module);
  velmora::python::RegisterSceneCopies(module);
  velmora::python::RegisterStructure(module);
}

#include "Record.h"

#include <pybind11/stl.h>

#include <climits>
#include <memory>

#include "Arguments.h"
#include "Errors.h"
#include "ExtendedArrays.h"
#include "Scene.h"
#include "documents/IoErrors.h"
#include "documents/OutputGroup.h"
#include "documents/XyzTrajectory.h"

namespace velmora::python {

namespace {

using namespace pybind11::literals;

void AppendTriples(std::vector<real>& values, const Model& m, const SlotArray<real>& a, const SlotArray<real>& b,
                   const SlotArray<real>& c) {
  for (int i = 1; i <= m.N; ++i) values.insert(values.end(), {a[i], b[i], c[i]});
}

// Puts the run's exception in Python's hands with the record as its attribute `record`.
[[noreturn]] void RaiseWithRecord(const py::object& record) {
  try {
    throw;
  } catch (py::error_already_set& error) {
    error.value().attr("record") = record;
    throw;
  } catch (const ProgramError&) {
    SetPythonError(std::current_exception());
    py::error_already_set error;
    error.value().attr("record") = record;
    throw error;
  }
}

}  // namespace

Record::Record(int n, const LawSettings& law) : n_(n), law_(law) {}

void Record::Take(const Model& m) {
  steps_.push_back(m.StepCount);
  dt_.push_back(m.dt);
  AppendTriples(positions_, m, m.X, m.Y, m.Z);
  AppendTriples(velocities_, m, m.V, m.U, m.W);
  present_.insert(present_.end(), m.Present.begin() + 1, m.Present.begin() + 1 + m.N);
  observables_.push_back(Measure(m, law_));
}

py::array Record::Steps() const {
  py::array_t<long long> steps(static_cast<py::ssize_t>(steps_.size()));
  for (std::size_t k = 0; k < steps_.size(); ++k) steps.mutable_data()[k] = steps_[k];
  steps.attr("setflags")("write"_a = false);
  return steps;
}

py::array Record::Times() const {
  std::vector<real> times;
  for (std::size_t k = 0; k < steps_.size(); ++k) times.push_back(static_cast<real>(steps_[k]) * dt_[k]);
  return ExtendedArray(times, {Frames()});
}

py::array Record::Table(const std::vector<real>& values) const { return ExtendedArray(values, {Frames(), n_, 3}); }

py::array Record::Positions() const { return Table(positions_); }

py::array Record::Velocities() const { return Table(velocities_); }

py::array Record::Present() const { return BoolArray(present_).attr("reshape")(Frames(), n_); }

py::array Record::Observable(const std::string& name) const {
  for (int q = 0; q < QuantityCount; ++q) {
    if (name != QuantityNames[q]) continue;
    std::vector<real> values;
    for (const velmora::Observables& o : observables_) values.push_back(o.values[q]);
    return ExtendedArray(values, {Frames()});
  }
  throw py::key_error(name);
}

py::dict Record::Observables() const {
  py::dict quantities;
  for (const char* name : QuantityNames) quantities[name] = Observable(name);
  return quantities;
}

void Record::WriteXyz(const std::string& path) const {
  auto frame = std::make_unique<Model>();
  frame->N = n_;
  OnFile(path, [&] {
    OutputGroup outputs;
    XyzTrajectory trajectory(path, outputs);
    for (int k = 0; k < Frames(); ++k) {
      frame->dt = dt_[k];
      for (int i = 1; i <= n_; ++i) {
        const std::size_t at = 3 * (static_cast<std::size_t>(k) * n_ + i - 1);
        frame->X[i] = positions_[at], frame->Y[i] = positions_[at + 1], frame->Z[i] = positions_[at + 2];
        frame->V[i] = velocities_[at], frame->U[i] = velocities_[at + 1], frame->W[i] = velocities_[at + 2];
        frame->Present[i] = present_[static_cast<std::size_t>(k) * n_ + i - 1];
      }
      trajectory.WriteFrame(*frame, steps_[k]);
    }
    outputs.Commit();
  });
}

py::object RunScene(const py::object& self, py::handle steps, const StepSettings& settings, py::handle threads,
                    py::handle every, const py::object& callback, py::handle record) {
  Scene& scene = self.cast<Scene&>();
  if (record.is_none()) {
    scene.Run(self, steps, settings, threads, every, callback);
    return py::none();
  }
  const int frameEvery = IntegerValue(record, "record", 1, INT_MAX);
  py::object held = py::cast(Record(scene.N(), settings.Law));
  Record& frames = held.cast<Record&>();
  try {
    scene.Run(self, steps, settings, threads, every, callback, [&](const Model& m) { frames.Take(m); }, frameEvery);
  } catch (...) {
    RaiseWithRecord(held);
  }
  return held;
}

void RegisterRecord(py::module_& module) {
  py::class_<Record>(module, "Record", R"(A recorded run: the scene at the start and after every K-th step of Scene.run(..., record=K).

Arrays are numpy longdouble (bool for present, int64 for steps) with one row per frame; the
quantities are those of scene.observables() under the run's contact and taoscope. Each frame
holds about 10 kB.)")
      .def("__len__", &Record::Frames, "The number of frames.")
      .def_property_readonly("steps", &Record::Steps, "The step count of every frame: int64, shape (frames,).")
      .def_property_readonly("times", &Record::Times,
                             "step x dt of every frame, in the scene's time units: longdouble, shape (frames,).")
      .def_property_readonly("positions", &Record::Positions,
                             "x, y, z of every slot in length units: longdouble, shape (frames, n, 3).")
      .def_property_readonly("velocities", &Record::Velocities,
                             "Velocities in length units per time unit: longdouble, shape (frames, n, 3).")
      .def_property_readonly("present", &Record::Present, "Which slots hold a particle: bool, shape (frames, n).")
      .def_property_readonly("observables", &Record::Observables,
                             "Every quantity by its name (see velmora.QUANTITY_NAMES): longdouble, shape (frames,).")
      .def("__getitem__", &Record::Observable, "name"_a, "One quantity by its name: longdouble, shape (frames,).")
      .def("write_xyz", [](const Record& r, const py::object& path) { r.WriteXyz(PathText(path)); }, "path"_a,
           "Writes the frames as the extended XYZ trajectory of velmora-batch --xyz (lengths as recorded).")
      .def("__repr__", [](const Record& r) {
        return "<velmora.Record: " + std::to_string(r.Frames()) + " frames>";
      });
}

}  // namespace velmora::python

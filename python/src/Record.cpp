#include "Record.h"

#include <pybind11/stl.h>

#include <algorithm>
#include <climits>
#include <memory>
#include <new>

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
using Column = SlotArray<real> Model::*;

constexpr Column Current[] = {&Model::X, &Model::Y, &Model::Z, &Model::V, &Model::U, &Model::W};
constexpr Column Working[] = {&Model::NewX, &Model::NewY, &Model::NewZ,
                              &Model::NewV, &Model::NewU, &Model::NewW};
constexpr int CopyColumns = 6;

// Room for `more` elements, so that the appends that follow cannot throw.
template <class T>
void Room(std::vector<T>& values, std::size_t more) {
  if (values.capacity() - values.size() < more)
    values.reserve(std::max(values.capacity() * 2, values.size() + more));
}

// Appends slot i's values of three columns of a copy (0: positions, 3: velocities).
void AppendTriple(std::vector<real>& values, const Model& m, const Column* columns, int i) {
  values.insert(values.end(), {(m.*columns[0])[i], (m.*columns[1])[i], (m.*columns[2])[i]});
}

bool CopiesAligned(const Model& m) {
  for (int c = 0; c < CopyColumns; ++c)
    for (int i = 1; i <= m.N; ++i)
      if (!SameBits((m.*Current[c])[i], (m.*Working[c])[i])) return false;
  return true;
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
  } catch (const std::bad_alloc&) {
    PyErr_SetString(PyExc_MemoryError, "out of memory while recording a run");
  }
  py::error_already_set error;
  error.value().attr("record") = record;
  throw error;
}

template <class T>
py::array_t<T> ReadOnly(const std::vector<T>& values) {
  py::array_t<T> array(static_cast<py::ssize_t>(values.size()));
  std::copy(values.begin(), values.end(), array.mutable_data());
  array.attr("setflags")("write"_a = false);
  return array;
}

// An array of the state by its name, of the element type T and the given shape.
template <class T>
std::vector<T> StateArray(const py::dict& state, const char* name, const std::vector<py::ssize_t>& shape) {
  if (!state.contains(name)) throw py::value_error(std::string("a record's state has no '") + name + "'");
  const py::array values =
      py::reinterpret_borrow<py::array>(py::module_::import("numpy").attr("asarray")(state[name]));
  if (!values.dtype().equal(py::dtype::of<T>()) ||
      std::vector<py::ssize_t>(values.shape(), values.shape() + values.ndim()) != shape)
    throw py::value_error(std::string("a record's '") + name + "' is not of its type and shape");
  const auto contiguous = py::array_t<T, py::array::c_style>::ensure(values);
  return std::vector<T>(contiguous.data(), contiguous.data() + contiguous.size());
}

}  // namespace

Record::Record(int n, const LawSettings& law, const std::array<unsigned char, SnapshotSize>& document)
    : n_(n), law_(law), document_(document) {}

Record::Record(const Model& start, const LawSettings& law) : Record(start.N, law, start.Snapshot) {}

void Record::Take(const Model& m, std::int64_t step) { Append(m, step, Measure(m, law_)); }

void Record::Append(const Model& m, std::int64_t step, const velmora::Observables& measured) {
  const bool aligned = CopiesAligned(m);
  const std::size_t values = 3 * static_cast<std::size_t>(n_);
  Room(steps_, 1), Room(dt_, 1), Room(parameters_, ParameterCount), Room(positions_, values);
  Room(velocities_, values), Room(workingAt_, 1), Room(working_, aligned ? 0 : 2 * values),
      Room(present_, n_);
  Room(observables_, 1);
  steps_.push_back(step);
  dt_.push_back(m.dt);
  for (int p = 0; p < ParameterCount; ++p) parameters_.push_back(Parameter(m, p));
  for (int i = 1; i <= n_; ++i)
    AppendTriple(positions_, m, Current, i), AppendTriple(velocities_, m, Current + 3, i);
  workingAt_.push_back(aligned ? -1 : static_cast<std::int64_t>(working_.size()));
  if (!aligned) {
    for (int i = 1; i <= n_; ++i) AppendTriple(working_, m, Working, i);
    for (int i = 1; i <= n_; ++i) AppendTriple(working_, m, Working + 3, i);
  }
  present_.insert(present_.end(), m.Present.begin() + 1, m.Present.begin() + 1 + n_);
  observables_.push_back(measured);
}

template <class Make>
py::object Record::Cached(const std::string& key, Make make) const {
  if (!cache_.contains(key)) cache_[py::str(key)] = make();
  return cache_[py::str(key)];
}

py::object Record::Steps() const {
  return Cached("steps", [&] { return ReadOnly(steps_); });
}

py::object Record::Times() const {
  return Cached("times", [&] {
    std::vector<real> times;
    for (std::size_t k = 0; k < steps_.size(); ++k) times.push_back(static_cast<real>(steps_[k]) * dt_[k]);
    return ExtendedArray(times, {Frames()});
  });
}

py::array Record::Table(const std::vector<real>& values) const {
  return ExtendedArray(values, {Frames(), n_, 3});
}

py::object Record::Positions() const {
  return Cached("positions", [&] { return Table(positions_); });
}

py::object Record::Velocities() const {
  return Cached("velocities", [&] { return Table(velocities_); });
}

py::object Record::Present() const {
  return Cached("present", [&] {
    py::array present = BoolArray(present_).attr("reshape")(Frames(), n_);
    present.attr("setflags")("write"_a = false);
    return present;
  });
}

py::object Record::Observable(const std::string& name) const {
  for (int q = 0; q < QuantityCount; ++q) {
    if (name != QuantityNames[q]) continue;
    return Cached(name, [&] {
      std::vector<real> values;
      for (const velmora::Observables& o : observables_) values.push_back(o.values[q]);
      return ExtendedArray(values, {Frames()});
    });
  }
  throw py::key_error(name);
}

py::dict Record::Observables() const {
  py::dict quantities;
  for (const char* name : QuantityNames) quantities[name] = Observable(name);
  return quantities;
}

Model Record::FrameModel(int k) const {
  Model m;
  m.N = n_;
  m.Snapshot = document_;
  m.dt = dt_[k];
  for (int p = 0; p < ParameterCount; ++p)
    Parameter(m, p) = parameters_[static_cast<std::size_t>(k) * ParameterCount + p];
  const std::size_t first = 3 * static_cast<std::size_t>(k) * n_;
  const std::int64_t working = workingAt_[k];
  for (int i = 1; i <= n_; ++i) {
    for (int axis = 0; axis < 3; ++axis) {
      const std::size_t at = first + 3 * (i - 1) + axis;
      (m.*Current[axis])[i] = positions_[at];
      (m.*Current[axis + 3])[i] = velocities_[at];
      const std::size_t own = static_cast<std::size_t>(working) + 3 * (i - 1) + axis;
      (m.*Working[axis])[i] = working < 0 ? positions_[at] : working_[own];
      (m.*Working[axis + 3])[i] = working < 0 ? velocities_[at] : working_[own + 3 * n_];
    }
    m.ShownX[i] = m.X[i], m.ShownY[i] = m.Y[i], m.ShownZ[i] = m.Z[i];
    m.Present[i] = present_[static_cast<std::size_t>(k) * n_ + i - 1];
  }
  return m;
}

Scene Record::SceneAt(long long k) const {
  const long long frames = Frames();
  if (k < -frames || k >= frames)
    throw py::index_error("frame " + std::to_string(k) + " of a record of " + std::to_string(frames) +
                          " frames");
  const int frame = static_cast<int>(k < 0 ? k + frames : k);
  return Scene::FromModel(FrameModel(frame), steps_[frame]);
}

void Record::AppendFrame(const Record& from, int k) {
  const std::size_t values = 3 * static_cast<std::size_t>(n_);
  const auto span = [&](const auto& source, std::size_t count, std::size_t at) {
    return std::make_pair(source.begin() + static_cast<std::ptrdiff_t>(at),
                          source.begin() + static_cast<std::ptrdiff_t>(at + count));
  };
  steps_.push_back(from.steps_[k]);
  dt_.push_back(from.dt_[k]);
  const auto parameters =
      span(from.parameters_, ParameterCount, static_cast<std::size_t>(k) * ParameterCount);
  parameters_.insert(parameters_.end(), parameters.first, parameters.second);
  const auto positions = span(from.positions_, values, k * values);
  positions_.insert(positions_.end(), positions.first, positions.second);
  const auto velocities = span(from.velocities_, values, k * values);
  velocities_.insert(velocities_.end(), velocities.first, velocities.second);
  workingAt_.push_back(from.workingAt_[k] < 0 ? -1 : static_cast<std::int64_t>(working_.size()));
  if (from.workingAt_[k] >= 0) {
    const auto working = span(from.working_, 2 * values, static_cast<std::size_t>(from.workingAt_[k]));
    working_.insert(working_.end(), working.first, working.second);
  }
  const auto present = span(from.present_, n_, static_cast<std::size_t>(k) * n_);
  present_.insert(present_.end(), present.first, present.second);
  observables_.push_back(from.observables_[k]);
}

Record Record::Select(const py::slice& slice) const {
  py::ssize_t start = 0, stop = 0, step = 0, length = 0;
  if (!slice.compute(static_cast<py::ssize_t>(Frames()), &start, &stop, &step, &length))
    throw py::error_already_set();
  Record selected(n_, law_, document_);
  for (py::ssize_t k = 0; k < length; ++k) selected.AppendFrame(*this, static_cast<int>(start + k * step));
  return selected;
}

std::vector<real> Record::WorkingTable(int half) const {
  std::vector<real> values;
  const std::size_t count = 3 * static_cast<std::size_t>(n_);
  for (int k = 0; k < Frames(); ++k) {
    const std::vector<real>& source = workingAt_[k] < 0 ? (half == 0 ? positions_ : velocities_) : working_;
    const std::size_t at =
        workingAt_[k] < 0 ? k * count : static_cast<std::size_t>(workingAt_[k]) + half * count;
    values.insert(values.end(), source.begin() + static_cast<std::ptrdiff_t>(at),
                  source.begin() + static_cast<std::ptrdiff_t>(at + count));
  }
  return values;
}

py::dict Record::State() const {
  py::dict state;
  state["document"] = ReadOnly(std::vector<unsigned char>(document_.begin(), document_.end()));
  state["law"] = BoolArray({law_.Functions3X1, law_.Taoscope});
  state["steps"] = Steps();
  state["dt"] = ExtendedArray(dt_, {Frames()});
  state["parameters"] = ExtendedArray(parameters_, {Frames(), GroupCount, ParametersPerGroup});
  state["positions"] = Positions();
  state["velocities"] = Velocities();
  state["working_positions"] = Table(WorkingTable(0));
  state["working_velocities"] = Table(WorkingTable(1));
  state["present"] = Present();
  for (const char* name : QuantityNames) state[name] = Observable(name);
  return state;
}

Record Record::FromState(const py::dict& state) {
  const py::ssize_t frames = py::len(state.contains("steps") ? state["steps"] : py::list());
  const py::ssize_t n = SlotCount;
  const std::vector<unsigned char> document = StateArray<unsigned char>(state, "document", {SnapshotSize});
  const std::vector<bool> law = StateArray<bool>(state, "law", {2});
  Record record(SlotCount, {law[0], law[1]}, {});
  std::copy(document.begin(), document.end(), record.document_.begin());
  const std::vector<std::int64_t> steps = StateArray<std::int64_t>(state, "steps", {frames});
  const std::vector<real> dt = ExtendedValues(state["dt"], "dt", {frames});
  const std::vector<real> parameters =
      ExtendedValues(state["parameters"], "parameters", {frames, GroupCount, ParametersPerGroup});
  const std::vector<real> positions = ExtendedValues(state["positions"], "positions", {frames, n, 3});
  const std::vector<real> velocities = ExtendedValues(state["velocities"], "velocities", {frames, n, 3});
  const std::vector<real> workingPositions =
      ExtendedValues(state["working_positions"], "working_positions", {frames, n, 3});
  const std::vector<real> workingVelocities =
      ExtendedValues(state["working_velocities"], "working_velocities", {frames, n, 3});
  const std::vector<bool> present = StateArray<bool>(state, "present", {frames, n});
  std::vector<std::vector<real>> quantities;
  for (const char* name : QuantityNames) quantities.push_back(ExtendedValues(state[name], name, {frames}));
  // The frames go in as the run took them, through a model, so that aligned copies are found again.
  Model m;
  m.N = SlotCount;
  for (py::ssize_t k = 0; k < frames; ++k) {
    m.dt = dt[k];
    for (int p = 0; p < ParameterCount; ++p) Parameter(m, p) = parameters[k * ParameterCount + p];
    for (int i = 1; i <= m.N; ++i) {
      for (int axis = 0; axis < 3; ++axis) {
        const std::size_t at = 3 * (k * n + i - 1) + axis;
        (m.*Current[axis])[i] = positions[at];
        (m.*Current[axis + 3])[i] = velocities[at];
        (m.*Working[axis])[i] = workingPositions[at];
        (m.*Working[axis + 3])[i] = workingVelocities[at];
      }
      m.Present[i] = present[k * n + i - 1];
    }
    velmora::Observables measured;
    for (int q = 0; q < QuantityCount; ++q) measured.values[q] = quantities[q][k];
    record.Append(m, steps[k], measured);
  }
  return record;
}

void Record::WriteXyz(const std::string& path) const {
  OnNamedFile(path, [&] {
    OutputGroup outputs;
    XyzTrajectory trajectory(path, outputs);
    // The step as the batch tool's 32-bit counter writes it.
    for (int k = 0; k < Frames(); ++k)
      trajectory.WriteFrame(FrameModel(k), static_cast<int>(static_cast<std::uint32_t>(steps_[k])));
    outputs.Commit();
  });
}

py::object RunScene(const py::object& self, py::handle steps, const StepSettings& settings,
                    py::handle threads, py::handle every, const py::object& callback, py::handle record) {
  Scene& scene = self.cast<Scene&>();
  if (record.is_none()) {
    scene.Run(self, steps, settings, threads, every, callback);
    return py::none();
  }
  const int frameEvery = IntegerValue(record, "record", 1, INT_MAX);
  py::object held = py::cast(Record(scene.Snapshot(), settings.Law));
  Record& frames = held.cast<Record&>();
  try {
    scene.Run(
        self, steps, settings, threads, every, callback,
        [&](const Model& m, std::int64_t step) { frames.Take(m, step); }, frameEvery);
  } catch (...) {
    RaiseWithRecord(held);
  }
  return held;
}

void RegisterRecord(py::module_& module) {
  py::class_<Record>(
      module, "Record",
      R"(A recorded run: the scene at the start and after every K-th step of Scene.run(..., record=K).

Arrays are numpy longdouble (bool for present, int64 for steps) with one row per frame, made at the
first access and kept; the quantities are those of scene.observables() under the run's contact and
taoscope. A frame holds the whole state a step reads: record.scene(k) (also record[k]) is a scene
that runs on as the recorded run did. record[a:b] is a record of those frames; a record iterates
over the scenes of its frames, pickles, and is kept in a numpy .npz file by save and load. Each
frame holds about 10 kB, 20 kB in the bounded modes.)")
      .def("__len__", &Record::Frames, "The number of frames.")
      .def_property_readonly("steps", &Record::Steps,
                             "The step count of every frame: int64, shape (frames,).")
      .def_property_readonly(
          "times", &Record::Times,
          "step x dt of every frame, in the scene's time units: longdouble, shape (frames,).")
      .def_property_readonly("positions", &Record::Positions,
                             "x, y, z of every slot in length units: longdouble, shape (frames, n, 3).")
      .def_property_readonly("velocities", &Record::Velocities,
                             "Velocities in length units per time unit: longdouble, shape (frames, n, 3).")
      .def_property_readonly("present", &Record::Present,
                             "Which slots hold a particle: bool, shape (frames, n).")
      .def_property_readonly(
          "observables", &Record::Observables,
          "Every quantity by its name (see velmora.QUANTITY_NAMES): longdouble, shape (frames,).")
      .def("__getitem__", &Record::Observable, "name"_a,
           "One quantity by its name: longdouble, shape (frames,).")
      .def("__getitem__", &Record::SceneAt, "frame"_a, "The scene of a frame, as scene(frame).")
      .def("__getitem__", &Record::Select, "frames"_a, "The frames of a slice, as a record.")
      .def("scene", &Record::SceneAt, "frame"_a,
           "The scene of a frame (negative counts from the end), with the frame's whole state: its run\n"
           "continues, bit for bit, as the recorded run went on from that frame.")
      .def(
          "write_xyz", [](const Record& r, const py::object& path) { r.WriteXyz(PathText(path)); }, "path"_a,
          "Writes the frames as the extended XYZ trajectory of velmora-batch --xyz (lengths as recorded).")
      .def("__repr__",
           [](const Record& r) { return "<velmora.Record: " + std::to_string(r.Frames()) + " frames>"; })
      .def("__reduce_ex__", &ReduceWithProtocol, "protocol"_a, "Pickles with protocol 2 or later.")
      .def(py::pickle([](const Record& r) { return r.State(); },
                      [](const py::dict& state) { return Record::FromState(state); }))
      .def("_state", &Record::State, "Every value of the record as numpy arrays by name.")
      .def_static("_from_state", &Record::FromState, "state"_a, "The record of the arrays of _state().");
}

}  // namespace velmora::python

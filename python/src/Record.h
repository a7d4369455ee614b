#pragma once
// What Scene.run(..., record=K) returns: the scene at the start of the run and after every K-th
// step, as the trajectory of velmora-batch --xyz --every K holds it, with the quantities of
// --log measured at the same instants. A frame holds the whole state a step reads (the current
// arrays and the working copies, dt, the parameters and the step count), so the scene of a frame
// runs on as the recorded run did. Frames are taken while the interpreter is released; they copy
// the model and measure it, which changes no bit of the run.

#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "model/Model.h"
#include "sim/Observables.h"
#include "sim/StepSettings.h"

namespace velmora::python {

namespace py = pybind11;

class Scene;

class Record {
 public:
  // A record of runs of `start`'s scene: its slot count and document buffer (padding included).
  Record(const Model& start, const LawSettings& law);

  // Appends the frame of the model as it is now, labelled with its step count. Either the whole
  // frame is appended or, when memory runs out (std::bad_alloc), nothing.
  void Take(const Model& model, std::int64_t step);

  int Frames() const { return static_cast<int>(steps_.size()); }
  py::object Steps() const;
  py::object Times() const;
  py::object Positions() const;
  py::object Velocities() const;
  py::object Present() const;
  py::object Observable(const std::string& name) const;
  py::dict Observables() const;

  // The scene of frame k (negative k counts from the end); IndexError outside the frames.
  Scene SceneAt(long long k) const;
  // The frames a slice selects, as a record of their own.
  Record Select(const py::slice& slice) const;

  // Every value of the record as numpy arrays by name, and the record of such arrays: what
  // pickles and Record.save / Record.load keep.
  py::dict State() const;
  static Record FromState(const py::dict& state);

  // The frames as velmora-batch --xyz writes them; the file appears only once it is whole.
  void WriteXyz(const std::string& path) const;

 private:
  Record(int n, const LawSettings& law, const std::array<unsigned char, SnapshotSize>& document);
  void Append(const Model& model, std::int64_t step, const velmora::Observables& measured);
  void AppendFrame(const Record& from, int k);
  Model FrameModel(int k) const;
  // The array of `key`, made by make() at the first access and kept: a record does not change.
  template <class Make>
  py::object Cached(const std::string& key, Make make) const;
  py::array Table(const std::vector<real>& values) const;
  std::vector<real> WorkingTable(int half) const;

  int n_;
  LawSettings law_;
  std::array<unsigned char, SnapshotSize> document_;
  std::vector<std::int64_t> steps_;
  std::vector<real> dt_;                      // per frame: a callback may change the time step
  std::vector<real> parameters_;              // 18 per frame, likewise
  std::vector<real> positions_, velocities_;  // n x 3 per frame
  // Per frame, where its working copies start in working_, or -1 where they equal the current arrays
  // (always in the free mode); working_ holds n x 3 positions, then n x 3 velocities.
  std::vector<std::int64_t> workingAt_;
  std::vector<real> working_;
  std::vector<bool> present_;  // n per frame
  std::vector<velmora::Observables> observables_;
  mutable py::dict cache_;
};

// Scene.run: runs the scene, and with `record` returns the Record of the run (None without).
// Any exception that ends a recorded run (a fault, Ctrl+C, a callback's own, running out of
// memory) carries what was recorded up to then as its attribute `record`.
py::object RunScene(const py::object& self, py::handle steps, const StepSettings& settings,
                    py::handle threads, py::handle every, const py::object& callback, py::handle record);

void RegisterRecord(py::module_& module);

}  // namespace velmora::python

#pragma once
// What Scene.run(..., record=K) returns: the scene at the start of the run and after every K-th
// step, as the trajectory of velmora-batch --xyz --every K holds it, with the quantities of
// --log measured at the same instants. Frames are taken while the interpreter is released; they
// copy the model and measure it, which changes no bit of the run.

#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>

#include <optional>
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
  Record(int n, const LawSettings& law);

  // Appends the frame of the model as it is now, labelled with its step count.
  void Take(const Model& model);

  int Frames() const { return static_cast<int>(steps_.size()); }
  py::array Steps() const;
  py::array Times() const;
  py::array Positions() const;
  py::array Velocities() const;
  py::array Present() const;
  py::array Observable(const std::string& name) const;
  py::dict Observables() const;

  // The frames as velmora-batch --xyz writes them; the file appears only once it is whole.
  void WriteXyz(const std::string& path) const;

 private:
  py::array Table(const std::vector<real>& values) const;

  int n_;
  LawSettings law_;
  std::vector<int> steps_;
  std::vector<real> dt_;  // per frame: a callback may change the scene's time step
  std::vector<real> positions_, velocities_;  // n x 3 per frame
  std::vector<bool> present_;                 // n per frame
  std::vector<velmora::Observables> observables_;
};

// Scene.run: runs the scene, and with `record` returns the Record of the run (None without).
// Any exception that ends a recorded run (a fault, Ctrl+C, a callback's own) carries what was
// recorded up to then as its attribute `record`.
py::object RunScene(const py::object& self, py::handle steps, const StepSettings& settings, py::handle threads,
                    py::handle every, const py::object& callback, py::handle record);

void RegisterRecord(py::module_& module);

}  // namespace velmora::python

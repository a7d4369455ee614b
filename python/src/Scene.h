#pragma once
// A scene held by Python: one model of the core with the operations the module offers. Values
// cross to Python as numpy longdouble arrays, bit for bit; a run releases the interpreter while
// it steps and looks for Ctrl+C between steps.
// Other Python threads go on during a run and may read and assign the scene: every access takes
// the scene's lock, which a run holds for one step at a time, so a read sees the state between
// two steps and an assignment takes effect at the next step, as the window's commands do. Reads
// and assignments take the lock with the interpreter held, the run's steps with it released, and
// nobody holds it while Python code runs or while waiting for the interpreter, so neither side
// can wait for the other.

#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>

#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "model/AtomPlacement.h"
#include "model/Model.h"
#include "sim/StepSettings.h"

namespace velmora::python {

namespace py = pybind11;

// The text of a path given as str, bytes or os.PathLike.
std::string PathText(const py::object& path);

class Scene {
 public:
  // The scene of File > New.
  Scene();

  static Scene Load(const std::string& path);
  // The scene of a document's bytes, as Load reads a file of them.
  static Scene FromBytes(const std::string& bytes);
  void Save(const std::string& path);
  // The bytes Save would write.
  py::bytes ToBytes();

  // A copy of the whole model (working and display copies included), taken between two steps.
  Model Snapshot() const;
  // A scene holding a copy of `m`.
  static Scene FromModel(const Model& m);

  int N() const;
  py::object Dt() const;
  void SetDt(py::handle value);
  int StepCount() const;
  void SetStepCount(py::handle count);
  py::array Present() const;
  void SetPresent(py::handle value);
  py::array Positions() const;
  void SetPositions(py::handle value);
  py::array Velocities() const;
  void SetVelocities(py::handle value);
  py::array Parameters() const;
  void SetParameters(py::handle value);

  // Every slot emptied, then the atoms placed (see PlaceAtoms); a misfit raises ValueError.
  void PlaceAtoms(const std::vector<PlacedAtom>& atoms, bool withSlots);

  // `steps` steps of the run loop, `callback(self)` after every `every` of them (when given);
  // `frames(model)` at the start and after every `frameEvery`-th step, under the scene's lock with
  // the interpreter released. `steps`, `threads` and `every` are checked as arguments (see
  // IntegerValue); threads None is every core.
  void Run(const py::object& self, py::handle steps, const StepSettings& settings, py::handle threads,
           py::handle every, const py::object& callback,
           const std::function<void(const Model&)>& frames = nullptr, int frameEvery = 1);

  // The law's accelerations of every slot from the current positions, shape (n, 3).
  py::array Accelerations(const LawSettings& law, py::handle threads);

  // The quantities of Measure by their names, as numpy.longdouble.
  py::dict Observables(const LawSettings& law) const;

  std::string Listing(const std::string& kind) const;

  // Relaxes the scene to rest (see Relax of the core) in slices between looks for Ctrl+C: at most
  // `steps` steps, until no present slot's acceleration exceeds `tolerance`. Returns the steps
  // taken and the largest acceleration.
  std::pair<int, real> Relax(real tolerance, py::handle steps, const LawSettings& law, py::handle threads);

 private:
  explicit Scene(std::unique_ptr<Model> model);
  // f(model) under the scene's lock, between two steps of a run. f must not touch Python objects.
  template <class F>
  auto Locked(F f) const;
  template <class F>
  auto Locked(F f);

  std::unique_ptr<Model> model_;
  mutable std::unique_ptr<std::mutex> lock_ = std::make_unique<std::mutex>();  // movable with the scene
  bool running_ = false;  // inside Run, callbacks included; read and written with the interpreter held
};

// Copies, pickles, == and repr of the registered Scene class (SceneCopies.cpp).
void RegisterSceneCopies(py::module_& module);

}  // namespace velmora::python

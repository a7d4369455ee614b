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

#include <cstdint>
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
  static Scene FromBytes(py::handle bytes);
  void Save(const std::string& path);
  // The bytes Save would write.
  py::bytes ToBytes();

  // The whole state a run reads, as (document bytes, step count, working copies): the document
  // holds dt, the parameters, presence and the current arrays; the working copies are NewX, NewY,
  // NewZ, NewV, NewU, NewW of slots 1..n, 10 bytes each, which a bounded mode adjusts after a
  // step's copy-back and the next step copies back. What pickles and == use.
  py::tuple State();
  // The scene of such a state; a state of two items (document, step count) has aligned copies.
  static Scene FromState(const py::tuple& state);

  // A copy of the whole model (working and display copies included), taken between two steps.
  Model Snapshot() const;
  // A scene holding a copy of `m` that has run `steps` steps.
  static Scene FromModel(const Model& m, std::int64_t steps);

  int N() const;
  py::object Dt() const;
  void SetDt(py::handle value);
  // The step count: 64 bits wide, so it never wraps; the model keeps its 32-bit counter, which
  // wraps as the window's does.
  std::int64_t StepCount() const;
  void SetStepCount(py::handle count);
  py::array Present() const;
  void SetPresent(py::handle value);
  // An assignment of positions or velocities writes each value that differs from the current
  // one into the current, working and display copies, as loading a document does; a value
  // assigned unchanged leaves its copies alone, so `s.positions = s.positions` changes nothing.
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
  // the interpreter released, with the step count. `steps`, `threads` and `every` are checked as
  // arguments (see IntegerValue); threads None is every core.
  void Run(const py::object& self, py::handle steps, const StepSettings& settings, py::handle threads,
           py::handle every, const py::object& callback,
           const std::function<void(const Model&, std::int64_t)>& frames = nullptr, int frameEvery = 1);

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
  Scene(std::unique_ptr<Model> model, std::int64_t steps);
  // f(model) under the scene's lock, between two steps of a run. f must not touch Python objects.
  template <class F>
  auto Locked(F f) const;
  template <class F>
  auto Locked(F f);

  std::unique_ptr<Model> model_;
  std::int64_t steps_ = 0;  // guarded by the lock, like the model
  mutable std::unique_ptr<std::mutex> lock_ = std::make_unique<std::mutex>();  // movable with the scene
  bool running_ = false;  // inside Run, callbacks included; read and written with the interpreter held
};

// Copies, pickles, == and repr of the registered Scene class (SceneCopies.cpp).
void RegisterSceneCopies(py::module_& module);

// __reduce_ex__ of a picklable class: TypeError for protocols 0 and 1, whose copy of the object's
// base cannot make a compiled class; object's own reduction from protocol 2 on.
py::object ReduceWithProtocol(const py::object& self, int protocol);

}  // namespace velmora::python

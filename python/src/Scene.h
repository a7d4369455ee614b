#pragma once
// A scene held by Python: one model of the core with the operations the module offers. Values
// cross to Python as numpy longdouble arrays, bit for bit; a run releases the interpreter while
// it steps and looks for Ctrl+C between steps.

#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>

#include <functional>
#include <memory>
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

  Model& model();
  const Model& model() const;

  py::object Dt() const;
  void SetDt(py::handle value);
  int StepCount() const;
  void SetStepCount(int count);
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
  // `frames(model)` at the start and after every `frameEvery`-th step, with the interpreter released.
  void Run(const py::object& self, int steps, const StepSettings& settings, int threads, int every,
           const py::object& callback, const std::function<void(const Model&)>& frames = nullptr,
           int frameEvery = 1);

  // The law's accelerations of every slot from the current positions, shape (n, 3).
  py::array Accelerations(const LawSettings& law, int threads);

  // The quantities of Measure by their names, as numpy.longdouble.
  py::dict Observables(const LawSettings& law) const;

  std::string Listing(const std::string& kind) const;

 private:
  explicit Scene(std::unique_ptr<Model> model);
  // Raises when a run of another thread is stepping this scene right now.
  void CheckIdle() const;

  std::unique_ptr<Model> model_;
  bool running_ = false;   // inside Run, callbacks included
  bool stepping_ = false;  // the interpreter is released and steps are being taken
};

// Copies, pickles, == and repr of the registered Scene class (SceneCopies.cpp).
void RegisterSceneCopies(py::module_& module);

}  // namespace velmora::python

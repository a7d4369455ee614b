#include "Scene.h"

#include <chrono>
#include <cstring>

#include "ExtendedArrays.h"
#include "documents/DocumentFile.h"
#include "model/FloatingPointFaults.h"
#include "model/NewScene.h"
#include "model/ProgramError.h"
#include "sim/FastLaw.h"
#include "sim/Observables.h"
#include "sim/PairLaw.h"
#include "sim/StepFault.h"
#include "sim/Stepper.h"
#include "text/Listing.h"

namespace velmora::python {

namespace {

using Column = SlotArray<real> Model::*;

// Between two looks for Ctrl+C the interpreter stays released for about this long.
constexpr auto SignalInterval = std::chrono::milliseconds(20);

std::vector<real> SlotTable(const Model& m, std::initializer_list<Column> columns) {
  std::vector<real> values;
  for (int i = 1; i <= m.N; ++i)
    for (Column column : columns) values.push_back((m.*column)[i]);
  return values;
}

// Writes a (n, 3) table into current, working and display copies alike, as a document load does.
void StoreSlotTable(Model& m, const std::vector<real>& values, std::initializer_list<std::vector<Column>> copies) {
  for (int i = 1; i <= m.N; ++i) {
    int axis = 0;
    for (const std::vector<Column>& axisCopies : copies) {
      for (Column column : axisCopies) (m.*column)[i] = values[3 * (i - 1) + axis];
      ++axis;
    }
  }
}

// The scene marked as stepping and the interpreter released, for as long as the object lives;
// the mark is taken and cleared while the interpreter is held.
class Released {
 public:
  explicit Released(bool& stepping) : mark_(stepping) {}

 private:
  struct Mark {
    bool& stepping;
    explicit Mark(bool& flag) : stepping(flag) { stepping = true; }
    ~Mark() { stepping = false; }
  } mark_;
  py::gil_scoped_release release_;
};

}  // namespace

Scene::Scene() : model_(std::make_unique<Model>(NewScene())) {}

Scene::Scene(std::unique_ptr<Model> model) : model_(std::move(model)) {}

Scene Scene::Load(const std::string& path) {
  auto model = std::make_unique<Model>();
  model->N = SlotCount;
  try {
    ReadDocumentFile(*model, path);
  } catch (const IoError& error) {
    throw IoError(error.code(), path + ": " + error.what());
  }
  ApplySnapshot(*model);
  return Scene(std::move(model));
}

Scene Scene::FromBytes(const std::string& bytes) {
  if (bytes.size() < SnapshotSize)
    throw py::value_error("a document has " + std::to_string(SnapshotSize) + " bytes, not " +
                          std::to_string(bytes.size()));
  auto model = std::make_unique<Model>();
  model->N = SlotCount;
  std::memcpy(model->Snapshot.data(), bytes.data(), SnapshotSize);
  ApplySnapshot(*model);
  return Scene(std::move(model));
}

void Scene::Save(const std::string& path) {
  CheckIdle();
  try {
    WriteDocumentFile(*model_, path);
  } catch (const IoError& error) {
    throw IoError(error.code(), path + ": " + error.what());
  }
}

py::bytes Scene::ToBytes() {
  CheckIdle();
  TakeSnapshot(*model_);
  return py::bytes(reinterpret_cast<const char*>(model_->Snapshot.data()), SnapshotSize);
}

Model& Scene::model() {
  CheckIdle();
  return *model_;
}

const Model& Scene::model() const {
  CheckIdle();
  return *model_;
}

void Scene::CheckIdle() const {
  if (stepping_) throw ProgramError("the scene is being run by another thread");
}

py::object Scene::Dt() const { return ExtendedScalar(model().dt); }

void Scene::SetDt(py::handle value) { model().dt = ExtendedScalarValue(value, "dt"); }

int Scene::StepCount() const { return model().StepCount; }

void Scene::SetStepCount(int count) {
  if (count < 0) throw py::value_error("step_count: expected a count of 0 or more, got " + std::to_string(count));
  model().StepCount = count;
}

py::array Scene::Present() const {
  const Model& m = model();
  return BoolArray(std::vector<bool>(m.Present.begin() + 1, m.Present.begin() + 1 + m.N));
}

void Scene::SetPresent(py::handle value) {
  Model& m = model();
  const std::vector<bool> present = BoolValues(value, "present", m.N);
  for (int i = 1; i <= m.N; ++i) m.Present[i] = present[i - 1];
}

py::array Scene::Positions() const { return ExtendedArray(SlotTable(model(), {&Model::X, &Model::Y, &Model::Z}), {model().N, 3}); }

void Scene::SetPositions(py::handle value) {
  Model& m = model();
  StoreSlotTable(m, ExtendedValues(value, "positions", {m.N, 3}),
                 {{&Model::X, &Model::NewX, &Model::ShownX},
                  {&Model::Y, &Model::NewY, &Model::ShownY},
                  {&Model::Z, &Model::NewZ, &Model::ShownZ}});
}

py::array Scene::Velocities() const { return ExtendedArray(SlotTable(model(), {&Model::V, &Model::U, &Model::W}), {model().N, 3}); }

void Scene::SetVelocities(py::handle value) {
  Model& m = model();
  StoreSlotTable(m, ExtendedValues(value, "velocities", {m.N, 3}),
                 {{&Model::V, &Model::NewV}, {&Model::U, &Model::NewU}, {&Model::W, &Model::NewW}});
}

py::array Scene::Parameters() const {
  std::vector<real> values;
  for (int p = 0; p < ParameterCount; ++p) values.push_back(Parameter(model(), p));
  return ExtendedArray(values, {GroupCount, ParametersPerGroup});
}

void Scene::SetParameters(py::handle value) {
  const std::vector<real> values = ExtendedValues(value, "parameters", {GroupCount, ParametersPerGroup});
  for (int p = 0; p < ParameterCount; ++p) Parameter(model(), p) = values[p];
}

void Scene::PlaceAtoms(const std::vector<PlacedAtom>& atoms, bool withSlots) {
  try {
    velmora::PlaceAtoms(model(), atoms, withSlots);
  } catch (const ProgramError& error) {
    throw py::value_error(error.what());
  }
}

void Scene::Run(const py::object& self, int steps, const StepSettings& settings, int threads, int every,
                const py::object& callback) {
  CheckIdle();
  if (running_) throw ProgramError("run() is already running on this scene");
  if (steps < 0) throw py::value_error("steps: expected 0 or more, got " + std::to_string(steps));
  if (threads < 1) throw py::value_error("threads: expected 1 or more, got " + std::to_string(threads));
  if (every < 1) throw py::value_error("every: expected 1 or more, got " + std::to_string(every));
  running_ = true;
  struct Finished {
    bool& running;
    ~Finished() { running = false; }
  } finished{running_};

  Stepper stepper(Evaluation::Fast, threads);
  Model& m = *model_;
  int counter = m.StepCount;
  for (int done = 0; done < steps;) {
    const int pause = callback.is_none() ? steps : std::min(steps, (done / every + 1) * every);
    {
      Released released(stepping_);
      const auto look = std::chrono::steady_clock::now() + SignalInterval;
      while (done < pause && std::chrono::steady_clock::now() < look) {
        try {
          stepper.Step(m, settings, counter);
        } catch (const FloatingPointFault& fault) {
          throw StepFault(fault, counter);
        }
        ++done;
      }
    }
    if (PyErr_CheckSignals() != 0) throw py::error_already_set();
    if (!callback.is_none() && done == pause && done % every == 0) callback(self);
  }
}

py::array Scene::Accelerations(const LawSettings& law, int threads) {
  if (threads < 1) throw py::value_error("threads: expected 1 or more, got " + std::to_string(threads));
  Model& m = model();
  SlotArray<real> ax{}, ay{}, az{};
  {
    Released released(stepping_);
    FastLaw fast(threads);
    SlotArray<bool> every{};
    for (int i = 1; i <= m.N; ++i) every[i] = true;
    ClearFaultFlags();
    fast.Prepare(m, law);
    if (fast.Accelerations(m, every, ax, ay, az)) {
      // The literal law stops at the first faulting pair with the program's text.
      for (int i = 1; i <= m.N; ++i) ForceX(m, law, i), ForceY(m, law, i), ForceZ(m, law, i);
      ThrowIfFaulted();
    }
  }
  std::vector<real> values;
  for (int i = 1; i <= m.N; ++i) values.insert(values.end(), {ax[i], ay[i], az[i]});
  return ExtendedArray(values, {m.N, 3});
}

py::dict Scene::Observables(const LawSettings& law) const {
  const velmora::Observables measured = Measure(model(), law);
  py::dict quantities;
  for (int q = 0; q < QuantityCount; ++q) quantities[QuantityNames[q]] = ExtendedScalar(measured.values[q]);
  return quantities;
}

std::string Scene::Listing(const std::string& kind) const {
  if (kind != "positions" && kind != "velocities")
    throw py::value_error("listing: expected 'positions' or 'velocities', got '" + kind + "'");
  return ListingText(model(), kind == "velocities", '.');
}

}  // namespace velmora::python

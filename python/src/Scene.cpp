#include "Scene.h"

#include <algorithm>
#include <chrono>
#include <climits>
#include <cstdint>
#include <cstring>
#include <iterator>

#include "Arguments.h"
#include "Errors.h"
#include "ExtendedArrays.h"
#include "documents/DocumentFile.h"
#include "documents/IoErrors.h"
#include "model/NewScene.h"
#include "model/ProgramError.h"
#include "relax/FireRelaxer.h"
#include "sim/FastLaw.h"
#include "sim/Observables.h"
#include "sim/StepFault.h"
#include "sim/Stepper.h"
#include "sim/WorkerPool.h"
#include "text/Listing.h"

namespace velmora::python {

namespace {

using Column = SlotArray<real> Model::*;

// Between two looks for Ctrl+C the interpreter stays released for about this long.
constexpr auto SignalInterval = std::chrono::milliseconds(20);

// A thread count as run() and accelerations() take it: None for every core, else 1 to MaxThreadCount.
int ThreadCount(py::handle threads) {
  return threads.is_none() ? DefaultThreadCount() : IntegerValue(threads, "threads", 1, MaxThreadCount);
}

std::vector<real> SlotTable(const Model& m, std::initializer_list<Column> columns) {
  std::vector<real> values;
  for (int i = 1; i <= m.N; ++i)
    for (Column column : columns) values.push_back((m.*column)[i]);
  return values;
}

// Writes a (n, 3) table into current, working and display copies alike, as a document load does;
// the first column of each axis is the current one, and a value that equals it leaves every copy.
void StoreSlotTable(Model& m, const std::vector<real>& values,
                    std::initializer_list<std::vector<Column>> copies) {
  for (int i = 1; i <= m.N; ++i) {
    int axis = 0;
    for (const std::vector<Column>& axisCopies : copies) {
      const real value = values[3 * (i - 1) + axis++];
      if (SameBits((m.*axisCopies.front())[i], value)) continue;
      for (Column column : axisCopies) (m.*column)[i] = value;
    }
  }
}

// The working copies in the order of State().
constexpr Column WorkingColumns[] = {&Model::NewX, &Model::NewY, &Model::NewZ,
                                     &Model::NewV, &Model::NewU, &Model::NewW};

std::string WorkingBytes(const Model& m) {
  std::string bytes(std::size(WorkingColumns) * m.N * ExtendedBytes, '\0');
  auto* at = reinterpret_cast<unsigned char*>(bytes.data());
  for (Column column : WorkingColumns)
    for (int i = 1; i <= m.N; ++i, at += ExtendedBytes) StoreExtended(at, (m.*column)[i]);
  return bytes;
}

void LoadWorkingBytes(Model& m, const std::string& bytes) {
  if (bytes.size() != std::size(WorkingColumns) * m.N * ExtendedBytes)
    throw py::value_error("a pickled Scene's working copies have " +
                          std::to_string(std::size(WorkingColumns) * m.N * ExtendedBytes) + " bytes, not " +
                          std::to_string(bytes.size()));
  const auto* at = reinterpret_cast<const unsigned char*>(bytes.data());
  for (Column column : WorkingColumns)
    for (int i = 1; i <= m.N; ++i, at += ExtendedBytes) (m.*column)[i] = LoadExtended(at);
}

// The model's 32-bit counter of a step count: it wraps from 2147483647 to -2147483648.
int WrappedCount(std::int64_t steps) { return static_cast<int>(static_cast<std::uint32_t>(steps)); }

constexpr std::int64_t LargestCount = INT64_MAX;

}  // namespace

std::string PathText(const py::object& path) {
  return py::module_::import("os").attr("fspath")(path).cast<std::string>();
}

Scene::Scene() : model_(std::make_unique<Model>(NewScene())) {}

Scene::Scene(std::unique_ptr<Model> model, std::int64_t steps) : model_(std::move(model)), steps_(steps) {
  model_->StepCount = WrappedCount(steps);
}

template <class F>
auto Scene::Locked(F f) const {
  std::lock_guard lock(*lock_);
  return f(static_cast<const Model&>(*model_));
}

template <class F>
auto Scene::Locked(F f) {
  std::lock_guard lock(*lock_);
  return f(*model_);
}

Scene Scene::Load(const std::string& path) {
  auto model = std::make_unique<Model>();
  model->N = SlotCount;
  OnNamedFile(path, [&] { ReadDocumentFile(*model, path); });
  ApplySnapshot(*model);
  return Scene(std::move(model), 0);
}

Scene Scene::FromBytes(py::handle document) {
  if (!py::isinstance<py::bytes>(document))
    throw py::type_error("document: expected bytes, got " + TypeName(document));
  const std::string bytes = document.cast<std::string>();
  if (bytes.size() != SnapshotSize)
    throw py::value_error("document: a document has " + std::to_string(SnapshotSize) + " bytes, not " +
                          std::to_string(bytes.size()));
  auto model = std::make_unique<Model>();
  model->N = SlotCount;
  std::memcpy(model->Snapshot.data(), bytes.data(), SnapshotSize);
  ApplySnapshot(*model);
  return Scene(std::move(model), 0);
}

py::tuple Scene::State() {
  std::string working;
  std::int64_t steps = 0;
  py::bytes document = ToBytes();
  Locked([&](const Model& m) {
    working = WorkingBytes(m);
    steps = steps_;
  });
  return py::make_tuple(document, steps, py::bytes(working));
}

Scene Scene::FromState(const py::tuple& state) {
  if (state.size() != 2 && state.size() != 3)
    throw py::value_error("a pickled Scene holds (document bytes, step count, working copies)");
  Scene scene = FromBytes(state[0]);
  scene.SetStepCount(state[1]);
  if (state.size() == 3) {
    if (!py::isinstance<py::bytes>(state[2]))
      throw py::type_error("a pickled Scene's working copies are bytes");
    LoadWorkingBytes(*scene.model_, state[2].cast<std::string>());
  }
  return scene;
}

void Scene::Save(const std::string& path) {
  Locked([&](Model& m) { OnNamedFile(path, [&] { WriteDocumentFile(m, path); }); });
}

py::bytes Scene::ToBytes() {
  const std::string bytes = Locked([](Model& m) {
    TakeSnapshot(m);
    return std::string(reinterpret_cast<const char*>(m.Snapshot.data()), SnapshotSize);
  });
  return py::bytes(bytes);
}

Model Scene::Snapshot() const {
  return Locked([](const Model& m) { return m; });
}

Scene Scene::FromModel(const Model& m, std::int64_t steps) {
  return Scene(std::make_unique<Model>(m), steps);
}

int Scene::N() const {
  return Locked([](const Model& m) { return m.N; });
}

py::object Scene::Dt() const {
  return ExtendedScalar(Locked([](const Model& m) { return m.dt; }));
}

void Scene::SetDt(py::handle value) {
  const real dt = ExtendedScalarValue(value, "dt");
  Locked([&](Model& m) { m.dt = dt; });
}

std::int64_t Scene::StepCount() const {
  return Locked([&](const Model&) { return steps_; });
}

void Scene::SetStepCount(py::handle count) {
  const std::int64_t steps = WideIntegerValue(count, "step_count", 0, LargestCount);
  Locked([&](Model& m) {
    steps_ = steps;
    m.StepCount = WrappedCount(steps);
  });
}

py::array Scene::Present() const {
  return BoolArray(Locked(
      [](const Model& m) { return std::vector<bool>(m.Present.begin() + 1, m.Present.begin() + 1 + m.N); }));
}

void Scene::SetPresent(py::handle value) {
  const std::vector<bool> present = BoolValues(value, "present", N());
  Locked([&](Model& m) {
    for (int i = 1; i <= m.N; ++i) m.Present[i] = present[i - 1];
  });
}

py::array Scene::Positions() const {
  return ExtendedArray(Locked([](const Model& m) {
                         return SlotTable(m, {&Model::X, &Model::Y, &Model::Z});
                       }),
                       {N(), 3});
}

void Scene::SetPositions(py::handle value) {
  const std::vector<real> values = ExtendedValues(value, "positions", {N(), 3});
  Locked([&](Model& m) {
    StoreSlotTable(m, values,
                   {{&Model::X, &Model::NewX, &Model::ShownX},
                    {&Model::Y, &Model::NewY, &Model::ShownY},
                    {&Model::Z, &Model::NewZ, &Model::ShownZ}});
  });
}

py::array Scene::Velocities() const {
  return ExtendedArray(Locked([](const Model& m) {
                         return SlotTable(m, {&Model::V, &Model::U, &Model::W});
                       }),
                       {N(), 3});
}

void Scene::SetVelocities(py::handle value) {
  const std::vector<real> values = ExtendedValues(value, "velocities", {N(), 3});
  Locked([&](Model& m) {
    StoreSlotTable(m, values,
                   {{&Model::V, &Model::NewV}, {&Model::U, &Model::NewU}, {&Model::W, &Model::NewW}});
  });
}

py::array Scene::Parameters() const {
  return ExtendedArray(Locked([](const Model& m) {
                         std::vector<real> values;
                         for (int p = 0; p < ParameterCount; ++p) values.push_back(Parameter(m, p));
                         return values;
                       }),
                       {GroupCount, ParametersPerGroup});
}

void Scene::SetParameters(py::handle value) {
  const std::vector<real> values = ExtendedValues(value, "parameters", {GroupCount, ParametersPerGroup});
  Locked([&](Model& m) {
    for (int p = 0; p < ParameterCount; ++p) Parameter(m, p) = values[p];
  });
}

void Scene::PlaceAtoms(const std::vector<PlacedAtom>& atoms, bool withSlots) {
  try {
    Locked([&](Model& m) { velmora::PlaceAtoms(m, atoms, withSlots); });
  } catch (const ProgramError& error) {
    throw py::value_error(error.what());
  }
}

void Scene::Run(const py::object& self, py::handle stepsArgument, const StepSettings& settings,
                py::handle threadsArgument, py::handle everyArgument, const py::object& callback,
                const std::function<void(const Model&, std::int64_t)>& frames, int frameEvery) {
  if (running_) throw ProgramError("run() is already running on this scene");
  const int steps = IntegerValue(stepsArgument, "steps", 0, INT_MAX);
  const int threads = ThreadCount(threadsArgument);
  const int every = everyArgument.is_none() ? 1 : IntegerValue(everyArgument, "every", 1, INT_MAX);
  if (steps > 0) Locked([](const Model& m) { ThrowIfNotANumber(m); });
  // Before running_ is set and before any step: a pool that cannot start leaves the scene as it was.
  Stepper stepper(Evaluation::Fast, threads);
  running_ = true;
  struct Finished {
    bool& running;
    ~Finished() { running = false; }
  } finished{running_};

  int counter = Locked([](const Model& m) { return m.StepCount; });
  if (frames) Locked([&](const Model& m) { frames(m, steps_); });
  for (int done = 0; done < steps;) {
    const int pause = callback.is_none() ? steps : std::min(steps, (done / every + 1) * every);
    {
      py::gil_scoped_release released;
      const auto look = std::chrono::steady_clock::now() + SignalInterval;
      while (done < pause && std::chrono::steady_clock::now() < look) {
        Locked([&](Model& m) {
          try {
            stepper.Step(m, settings, counter);
          } catch (const FloatingPointFault& fault) {
            throw StepFault(fault, steps_ + 1);
          }
          ++steps_;
          if (frames && (done + 1) % frameEvery == 0) frames(m, steps_);
        });
        ++done;
      }
    }
    if (PyErr_CheckSignals() != 0) throw py::error_already_set();
    if (!callback.is_none() && done == pause && done % every == 0) callback(self);
  }
}

py::array Scene::Accelerations(const LawSettings& law, py::handle threadsArgument) {
  const int threads = ThreadCount(threadsArgument);
  SlotArray<real> ax{}, ay{}, az{};
  int n = 0;
  {
    py::gil_scoped_release released;
    FastLaw fast(threads);
    Locked([&](const Model& m) {
      n = m.N;
      EveryAcceleration(fast, m, law, ax, ay, az);
    });
  }
  std::vector<real> values;
  for (int i = 1; i <= n; ++i) values.insert(values.end(), {ax[i], ay[i], az[i]});
  return ExtendedArray(values, {n, 3});
}

py::dict Scene::Observables(const LawSettings& law) const {
  const velmora::Observables measured = Locked([&](const Model& m) { return Measure(m, law); });
  py::dict quantities;
  for (int q = 0; q < QuantityCount; ++q) quantities[QuantityNames[q]] = ExtendedScalar(measured.values[q]);
  return quantities;
}

std::string Scene::Listing(const std::string& kind) const {
  if (kind != "positions" && kind != "velocities")
    throw py::value_error("listing: expected 'positions' or 'velocities', got '" + kind + "'");
  return Locked([&](const Model& m) { return ListingText(m, kind == "velocities", '.'); });
}

std::pair<int, real> Scene::Relax(real tolerance, py::handle stepsArgument, const LawSettings& law,
                                  py::handle threadsArgument) {
  if (running_) throw ProgramError("run() is already running on this scene");
  const int steps = IntegerValue(stepsArgument, "steps", 0, INT_MAX);
  FastLaw fast(ThreadCount(threadsArgument));
  Locked([](const Model& m) { ThrowIfNotANumber(m); });
  running_ = true;
  struct Finished {
    bool& running;
    ~Finished() { running = false; }
  } finished{running_};
  std::optional<FireRelaxer> relaxer;
  const auto done = [&] { return relaxer->LargestAcceleration() <= tolerance || relaxer->Steps() >= steps; };
  do {
    {
      py::gil_scoped_release released;
      const auto look = std::chrono::steady_clock::now() + SignalInterval;
      Locked([&](const Model& m) {
        if (!relaxer) relaxer.emplace(m, LawField(fast, law));
      });
      while (!done() && std::chrono::steady_clock::now() < look) Locked([&](Model& m) { relaxer->Step(m); });
    }
    if (PyErr_CheckSignals() != 0) throw py::error_already_set();
  } while (!done());
  Locked([](Model& m) { ComeToRest(m); });
  return {relaxer->Steps(), relaxer->LargestAcceleration()};
}

}  // namespace velmora::python

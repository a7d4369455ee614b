#include "TrajectoryReading.h"

#include <algorithm>
#include <climits>

#include "Record.h"
#include "Scene.h"
#include "documents/XyzFrameIndex.h"
#include "model/AtomPlacement.h"
#include "model/NewScene.h"

namespace velmora::python {

namespace {

using namespace pybind11::literals;

// The frames of the file that `frames` (None, an int or a slice) asks for, in its order.
std::vector<int> FramesAsked(const py::object& frames, int count) {
  std::vector<int> asked;
  if (frames.is_none()) {
    for (int k = 0; k < count; ++k) asked.push_back(k);
  } else if (py::isinstance<py::slice>(frames)) {
    py::ssize_t start = 0, stop = 0, step = 0, length = 0;
    if (!frames.cast<py::slice>().compute(count, &start, &stop, &step, &length))
      throw py::error_already_set();
    for (py::ssize_t k = 0; k < length; ++k) asked.push_back(static_cast<int>(start + k * step));
  } else {
    const long long k = frames.cast<long long>();
    if (k < -count || k >= count)
      throw py::index_error("frame " + std::to_string(k) + " of a trajectory of " + std::to_string(count) +
                            " frames");
    asked.push_back(static_cast<int>(k < 0 ? k + count : k));
  }
  return asked;
}

// The frames are read one by one into the slots of the scene, which gives the record its time
// step and, for the quantities, its parameters; only the frames asked for are kept.
py::object ReadXyz(const py::object& path, const py::object& frames, const py::object& scene, bool contact,
                   bool taoscope) {
  const XyzFrameIndex index(PathText(path));
  if (!index.Damage().empty() && PyErr_WarnEx(PyExc_RuntimeWarning, index.Damage().c_str(), 1) != 0)
    throw py::error_already_set();
  Model model = scene.is_none() ? NewScene() : scene.cast<const Scene&>().Snapshot();
  py::object held = py::cast(Record(model, LawSettings{contact, taoscope}));
  Record& record = held.cast<Record&>();
  for (const int k : FramesAsked(frames, index.Frames())) {
    const XyzFrame frame = index.Frame(k);
    PlaceAtoms(model, frame.atoms, frame.withSlots);
    model.StepCount = static_cast<int>(std::clamp<long long>(frame.step.value_or(k), INT_MIN, INT_MAX));
    record.Take(model, frame.step.value_or(k));
  }
  return held;
}

}  // namespace

void RegisterTrajectoryReading(py::module_& module) {
  module.def("read_xyz", &ReadXyz, "path"_a, "frames"_a = py::none(), "scene"_a = py::none(),
             "contact"_a = false, "taoscope"_a = false,
             R"(The frames of an extended XYZ trajectory (velmora-batch --xyz, Record.write_xyz, or plain XYZ
of up to n atoms a frame) as a Record.

The file is indexed once and only the frames asked for are read and kept: frames is None (all),
an int or a slice. Each frame is put into the slots of `scene` (default the scene of File > New),
which gives the record its time step and, with contact and taoscope, the parameters of its
quantities; steps are the frames' Step keys, or their numbers in the file. Velocities are 0 where
the file has none. A damaged frame ends the file with a RuntimeWarning naming its frame and line;
the frames before it are read.)");
}

}  // namespace velmora::python

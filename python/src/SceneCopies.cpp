// Scenes as Python values: copies, pickles, equality and a short repr. A copy holds the whole
// model (working and display copies included); a pickle holds the document's bytes and the step
// count, which is everything a run reads, so an unpickled scene runs to the same bits.

#include <pybind11/pybind11.h>

#include <string>

#include "ExtendedArrays.h"
#include "Scene.h"

namespace velmora::python {

namespace {

using namespace pybind11::literals;

Scene CopyOf(const Scene& scene) { return Scene::FromModel(scene.Snapshot()); }

bool Same(Scene& a, Scene& b) {
  return a.StepCount() == b.StepCount() && std::string(a.ToBytes()) == std::string(b.ToBytes());
}

std::string Repr(const Scene& scene) {
  const Model m = scene.Snapshot();
  int present = 0;
  for (int i = 1; i <= m.N; ++i) present += m.Present[i] ? 1 : 0;
  return "<velmora.Scene: " + std::to_string(present) + " present, dt " + py::str(ExtendedScalar(m.dt)).cast<std::string>() +
         ", step " + std::to_string(m.StepCount) + ">";
}

}  // namespace

void RegisterSceneCopies(py::module_& module) {
  auto scene = py::reinterpret_borrow<py::class_<Scene>>(module.attr("Scene"));
  scene.def("__copy__", &CopyOf, "A new scene with every value of this one, the step count included.")
      .def("__deepcopy__", [](const Scene& s, const py::dict&) { return CopyOf(s); }, "memo"_a,
           "The same as __copy__: a scene holds no Python objects.")
      .def("__eq__", [](Scene& a, Scene& b) { return Same(a, b); }, "other"_a.none(false),
           "True when both give the same document bytes and have run the same number of steps.")
      .def("__eq__", [](const Scene&, const py::object&) { return py::reinterpret_borrow<py::object>(Py_NotImplemented); })
      .def("__repr__", &Repr)
      .def(py::pickle([](Scene& s) { return py::make_tuple(s.ToBytes(), s.StepCount()); },
                      [](const py::tuple& state) {
                        if (state.size() != 2) throw py::value_error("a pickled Scene holds (document bytes, step count)");
                        Scene s = Scene::FromBytes(state[0].cast<py::bytes>());
                        s.SetStepCount(state[1]);
                        return s;
                      }));
  scene.attr("__hash__") = py::none();
}

}  // namespace velmora::python

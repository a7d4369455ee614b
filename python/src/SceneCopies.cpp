// Scenes as Python values: copies, pickles, equality and a short repr. A copy, a pickle and ==
// take the whole state a step reads: the document's bytes, the step count and the working copies,
// which a bounded mode adjusts after a step's copy-back; so a copy or an unpickled scene runs to
// the same bits as the original in every mode.

#include <pybind11/pybind11.h>

#include <string>

#include "ExtendedArrays.h"
#include "Scene.h"

namespace velmora::python {

namespace {

using namespace pybind11::literals;

Scene CopyOf(const Scene& scene) { return Scene::FromModel(scene.Snapshot(), scene.StepCount()); }

bool Same(Scene& a, Scene& b) { return a.State().equal(b.State()); }

std::string Repr(const Scene& scene) {
  const Model m = scene.Snapshot();
  int present = 0;
  for (int i = 1; i <= m.N; ++i) present += m.Present[i] ? 1 : 0;
  return "<velmora.Scene: " + std::to_string(present) + " present, dt " +
         py::str(ExtendedScalar(m.dt)).cast<std::string>() + ", step " + std::to_string(scene.StepCount()) +
         ">";
}

}  // namespace

py::object ReduceWithProtocol(const py::object& self, int protocol) {
  if (protocol < 2)
    throw py::type_error("cannot pickle '" + py::type::of(self).attr("__qualname__").cast<std::string>() +
                         "' object with protocol " + std::to_string(protocol) +
                         ": protocol 2 is the lowest supported");
  return py::module_::import("builtins").attr("object").attr("__reduce_ex__")(self, protocol);
}

void RegisterSceneCopies(py::module_& module) {
  auto scene = py::reinterpret_borrow<py::class_<Scene>>(module.attr("Scene"));
  scene.def("__copy__", &CopyOf, "A new scene with the whole state of this one, the step count included.")
      .def(
          "__deepcopy__", [](const Scene& s, const py::dict&) { return CopyOf(s); }, "memo"_a,
          "The same as __copy__: a scene holds no Python objects.")
      .def(
          "__eq__", [](Scene& a, Scene& b) { return Same(a, b); }, "other"_a.none(false),
          "True when both give the same document bytes, have run the same number of steps and hold the\n"
          "same working copies, that is when both run on to the same bits.")
      .def("__eq__", [](const Scene&,
                        const py::object&) { return py::reinterpret_borrow<py::object>(Py_NotImplemented); })
      .def("__repr__", &Repr)
      .def("__reduce_ex__", &ReduceWithProtocol, "protocol"_a, "Pickles with protocol 2 or later.")
      .def(py::pickle([](Scene& s) { return s.State(); },
                      [](const py::tuple& state) { return Scene::FromState(state); }));
  scene.attr("__hash__") = py::none();
}

}  // namespace velmora::python

#include "Structures.h"

#include <pybind11/numpy.h>
#include <pybind11/stl.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "Arguments.h"
#include "ExtendedArrays.h"
#include "Scene.h"
#include "structure/StructureAnalysis.h"
#include "text/StructureText.h"

namespace velmora::python {

namespace {

namespace py = pybind11;
using namespace pybind11::literals;

// A length setting: None for the default (0), a numpy.longdouble exactly, or any real number.
real LengthValue(py::handle value, const std::string& what) {
  if (value.is_none()) return 0.0L;
  const py::object longdouble = py::module_::import("numpy").attr("longdouble");
  if (py::isinstance(value, longdouble)) return ExtendedScalarValue(value, what);
  try {
    const real length = value.cast<double>();
    if (length > 0.0L) return length;
  } catch (const py::cast_error&) {
    throw py::type_error(what + ": expected a positive number or None, got " + TypeName(value));
  }
  throw py::value_error(what + ": expected a positive number or None");
}

// Rows (x, y, z): a longdouble array bit for bit, anything else through float64.
Points PointsOf(py::handle positions) {
  const py::array array = py::array::ensure(positions);
  if (!array || array.ndim() != 2 || array.shape(1) != 3)
    throw py::value_error("positions: expected an array of shape (n, 3)");
  const py::ssize_t n = array.shape(0);
  std::vector<real> values;
  if (array.dtype().equal(py::dtype::of<long double>())) {
    values = ExtendedValues(array, "positions", {n, 3});
  } else {
    const auto doubles = py::array_t<double, py::array::c_style | py::array::forcecast>::ensure(array);
    if (!doubles) throw py::type_error("positions: expected numbers, got " + TypeName(positions));
    values.assign(doubles.data(), doubles.data() + 3 * n);
  }
  Points points;
  for (py::ssize_t k = 0; k < n; ++k) points.push_back({values[3 * k], values[3 * k + 1], values[3 * k + 2]});
  return points;
}

StructureSettings SettingsOf(py::handle cutoff, py::handle tolerance, py::handle binWidth) {
  return {LengthValue(binWidth, "bin_width"), LengthValue(cutoff, "cutoff"),
          LengthValue(tolerance, "tolerance")};
}

template <class Int>
py::array IntArray(const std::vector<Int>& values) {
  py::array_t<long long> array(static_cast<py::ssize_t>(values.size()));
  for (std::size_t k = 0; k < values.size(); ++k) array.mutable_data()[k] = values[k];
  array.attr("setflags")("write"_a = false);
  return array;
}

// What velmora.structure returns: the analysis and the slot of each point (1, 2, ... for an array).
struct Result {
  Structure s;
  std::vector<int> slots;
};

Result Analysed(const Points& points, const StructureSettings& settings, std::vector<int> slots) {
  Result r{AnalyseStructure(points, settings), std::move(slots)};
  if (r.slots.empty())
    for (std::size_t k = 0; k < points.size(); ++k) r.slots.push_back(static_cast<int>(k) + 1);
  return r;
}

py::array BinEdges(const Structure& s) {
  std::vector<real> edges;
  for (std::size_t b = 0; b <= s.histogram.size(); ++b) edges.push_back(static_cast<real>(b) * s.binWidth);
  return ExtendedArray(edges, {static_cast<py::ssize_t>(edges.size())});
}

void RegisterResult(py::module_& module) {
  py::class_<Result>(module, "Structure",
                     "What velmora.structure and Scene.structure find; see python/README.md.")
      .def_property_readonly(
          "cutoff", [](const Result& r) { return ExtendedScalar(r.s.cutoff); },
          "Two points closer than this (or as close) are neighbours.")
      .def_property_readonly(
          "tolerance", [](const Result& r) { return ExtendedScalar(r.s.tolerance); },
          "The point groups' tolerance.")
      .def_property_readonly(
          "bins", [](const Result& r) { return BinEdges(r.s); },
          "The histogram's bin edges, one more than its bins.")
      .def_property_readonly(
          "histogram",
          [](const Result& r) {
            return ExtendedArray(r.s.histogram, {static_cast<py::ssize_t>(r.s.histogram.size())});
          },
          "The share of the pairs in each bin (adding up to 1).")
      .def_property_readonly(
          "slots", [](const Result& r) { return IntArray(r.slots); }, "The slot of each point.")
      .def_property_readonly(
          "coordination", [](const Result& r) { return IntArray(r.s.coordination); },
          "Each point's number of neighbours.")
      .def_property_readonly(
          "cluster", [](const Result& r) { return IntArray(r.s.cluster); },
          "Each point's cluster, numbered from 0.")
      .def_property_readonly(
          "clusters", [](const Result& r) { return r.s.clusters.size(); }, "The number of clusters.")
      .def_property_readonly(
          "sizes",
          [](const Result& r) {
            std::vector<int> sizes;
            for (const auto& c : r.s.clusters) sizes.push_back(static_cast<int>(c.members.size()));
            return IntArray(sizes);
          },
          "The number of points of each cluster.")
      .def_property_readonly(
          "cluster_point_groups",
          [](const Result& r) {
            std::vector<std::string> groups;
            for (const auto& c : r.s.clusters) groups.push_back(c.group.symbol);
            return groups;
          },
          "The point group of each cluster.")
      .def_property_readonly(
          "gyration", [](const Result& r) { return ExtendedScalar(r.s.shape.gyration); },
          "The radius of gyration of the whole cloud.")
      .def_property_readonly(
          "gyration_eigenvalues",
          [](const Result& r) {
            const auto& l = r.s.shape.eigenvalues;
            return ExtendedArray({l[0], l[1], l[2]}, {3});
          },
          "The gyration tensor's eigenvalues, ascending.")
      .def_property_readonly("asphericity",
                             [](const Result& r) { return ExtendedScalar(r.s.shape.asphericity); })
      .def_property_readonly("acylindricity",
                             [](const Result& r) { return ExtendedScalar(r.s.shape.acylindricity); })
      .def_property_readonly(
          "signatures",
          [](const Result& r) {
            std::map<std::string, int> counts;
            for (const auto& [signature, count] : r.s.signatures) counts[SignatureText(signature)] = count;
            return counts;
          },
          "Common neighbour signatures ('421', '555', ...) with their numbers of pairs.")
      .def_property_readonly(
          "neighbour_class",
          [](const Result& r) {
            std::vector<std::string> names;
            for (const NeighbourClass c : r.s.classes) names.push_back(NeighbourClassName(c));
            return py::module_::import("numpy").attr("array")(names);
          },
          "Each point's class: 'icosahedral', 'fcc', 'hcp' or 'other'.")
      .def_property_readonly(
          "point_group", [](const Result& r) { return r.s.group.symbol; },
          "The Schoenflies symbol of the whole cloud.")
      .def(
          "__str__", [](const Result& r) { return StructureText(r.s, r.slots); },
          "The analysis as velmora-batch --structure prints it.")
      .def("__repr__", [](const Result& r) {
        return "<velmora.Structure: " + std::to_string(r.slots.size()) + " points, " +
               std::to_string(r.s.clusters.size()) + " clusters, " + r.s.group.symbol + ">";
      });
}

}  // namespace

void RegisterStructure(py::module_& module) {
  RegisterResult(module);
  module.def(
      "structure",
      [](py::handle positions, py::handle cutoff, py::handle tolerance, py::handle binWidth) {
        return Analysed(PointsOf(positions), SettingsOf(cutoff, tolerance, binWidth), {});
      },
      "positions"_a, py::kw_only(), "cutoff"_a = py::none(), "tolerance"_a = py::none(),
      "bin_width"_a = py::none(),
      "The structure of the points of an (n, 3) array: histogram, neighbours, clusters, shape, common\n"
      "neighbour analysis and point group. None chooses the default of a setting.");
  module.def(
      "point_group",
      [](py::handle positions, py::handle tolerance) {
        const Points points = PointsOf(positions);
        StructureSettings settings = SettingsOf(py::none(), tolerance, py::none());
        if (settings.tolerance == 0.0L) settings.tolerance = AnalyseStructure(points, {}).tolerance;
        return FindPointGroup(points, settings.tolerance).symbol;
      },
      "positions"_a, py::kw_only(), "tolerance"_a = py::none(),
      "The Schoenflies symbol of the point group of an (n, 3) array ('Ih', 'D5h', 'C1'), within the "
      "tolerance\n"
      "(default: a tenth of the closest distance).");
  auto scene = py::reinterpret_borrow<py::class_<Scene>>(module.attr("Scene"));
  scene.def(
      "structure",
      [](const Scene& s, py::handle cutoff, py::handle tolerance, py::handle binWidth) {
        std::vector<int> slots;
        const Points points = PresentPoints(s.Snapshot(), &slots);
        return Analysed(points, SettingsOf(cutoff, tolerance, binWidth), slots);
      },
      py::kw_only(), "cutoff"_a = py::none(), "tolerance"_a = py::none(), "bin_width"_a = py::none(),
      "The structure of the present slots (see velmora.structure); its slots field names them.");
  scene.def(
      "relax",
      [](Scene& s, py::handle tolerance, py::handle steps, bool contact, bool taoscope, py::handle threads) {
        const auto [taken, largest] =
            s.Relax(LengthValue(tolerance, "tolerance"), steps, {contact, taoscope}, threads);
        return py::make_tuple(taken, ExtendedScalar(largest));
      },
      "tolerance"_a, "steps"_a = 10000, py::kw_only(), "contact"_a = false, "taoscope"_a = false,
      "threads"_a = py::none(),
      "Relaxes the scene to rest: at most `steps` steps, until no present slot's acceleration exceeds\n"
      "`tolerance`; the present slots end at rest. Returns (steps taken, largest acceleration).");
}

}  // namespace velmora::python

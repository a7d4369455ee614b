#include "text/StructureText.h"

#include <map>

#include "text/NumberText.h"

namespace velmora {

namespace {

std::string Number(real value) { return FormatReal(value, '.'); }

std::string Line(const std::string& name, const std::vector<std::string>& values) {
  std::string line = name;
  for (const std::string& v : values) line += "\t" + v;
  return line + "\n";
}

std::string ShapeLines(const Shape& shape) {
  return Line("centre", {Number(shape.centre.X), Number(shape.centre.Y), Number(shape.centre.Z)}) +
         Line("gyration", {Number(shape.gyration)}) +
         Line("gyration_eigenvalues",
              {Number(shape.eigenvalues[0]), Number(shape.eigenvalues[1]), Number(shape.eigenvalues[2])}) +
         Line("asphericity", {Number(shape.asphericity)}) +
         Line("acylindricity", {Number(shape.acylindricity)});
}

std::string GroupLines(const PointGroup& group) {
  return Line("point_group", {group.symbol}) + Line("axes", {AxesText(group)}) +
         Line("mirror_planes", {std::to_string(group.planes.size())}) +
         Line("centre_of_inversion", {group.centre ? "yes" : "no"});
}

std::string ClusterTable(const Structure& s, const std::vector<int>& slots) {
  std::string text = Line("cluster", {"size", "gyration", "point_group", "slots"});
  for (std::size_t c = 0; c < s.clusters.size(); ++c) {
    std::string members;
    for (const int i : s.clusters[c].members)
      members += (members.empty() ? "" : " ") + std::to_string(slots[i]);
    text +=
        Line(std::to_string(c), {std::to_string(s.clusters[c].members.size()),
                                 Number(s.clusters[c].shape.gyration), s.clusters[c].group.symbol, members});
  }
  return text;
}

std::string Tables(const Structure& s) {
  std::string text = Line("coordination_number", {"points"});
  for (std::size_t c = 0; c < s.coordinationCounts.size(); ++c)
    text += Line(std::to_string(c), {std::to_string(s.coordinationCounts[c])});
  text += Line("signature", {"pairs"});
  for (const auto& [signature, count] : s.signatures)
    text += Line(SignatureText(signature), {std::to_string(count)});
  std::map<std::string, int> classes;
  for (const NeighbourClass c : s.classes) ++classes[NeighbourClassName(c)];
  text += Line("class", {"points"});
  for (const auto& [name, count] : classes) text += Line(name, {std::to_string(count)});
  text += Line("distance_from", {"share_of_pairs"});
  for (std::size_t b = 0; b < s.histogram.size(); ++b)
    text += Line(Number(static_cast<real>(b) * s.binWidth), {Number(s.histogram[b])});
  return text;
}

}  // namespace

std::string AxesText(const PointGroup& group) {
  std::map<int, int, std::greater<>> byOrder;
  for (const SymmetryAxis& a : group.axes) ++byOrder[a.order];
  std::string text;
  for (const auto& [order, count] : byOrder)
    text += (text.empty() ? "C" : ", C") + std::to_string(order) + " " + std::to_string(count);
  return text.empty() ? "none" : text;
}

std::string StructureText(const Structure& s, const std::vector<int>& slots) {
  return Line("points", {std::to_string(s.cluster.size())}) + Line("cutoff", {Number(s.cutoff)}) +
         Line("bin_width", {Number(s.binWidth)}) + Line("tolerance", {Number(s.tolerance)}) +
         Line("clusters", {std::to_string(s.clusters.size())}) +
         Line("largest", {std::to_string(s.largest)}) + Line("coordination", {Number(s.meanCoordination)}) +
         ShapeLines(s.shape) + GroupLines(s.group) + ClusterTable(s, slots) + Tables(s);
}

std::string StructureLogHeader() { return "\tclusters\tlargest\tcoordination\tpoint_group"; }

std::string StructureLogCells(const Structure& s) {
  return "\t" + std::to_string(s.clusters.size()) + "\t" + std::to_string(s.largest) + "\t" +
         FormatExact(s.meanCoordination) + "\t" + s.group.symbol;
}

}  // namespace velmora

#include "measure/StructureColours.h"

#include <algorithm>
#include <set>

#include "model/ProgramError.h"
#include "view/ColourMap.h"

namespace velmora {

namespace {

// Okabe and Ito's colours for categories, lightened where they would vanish on black, then grey.
constexpr Colour ClusterColours[ColouredClusters + 1] = {
    {230, 159, 0}, {86, 180, 233},  {0, 158, 115},   {240, 228, 66},  {0, 114, 178},
    {213, 94, 0},  {204, 121, 167}, {255, 255, 255}, {170, 110, 255}, {128, 128, 128}};

constexpr struct {
  NeighbourClass kind;
  Colour shade;
} ClassColours[] = {{NeighbourClass::Icosahedral, {255, 200, 0}},
                    {NeighbourClass::Fcc, {60, 220, 60}},
                    {NeighbourClass::Hcp, {255, 70, 70}},
                    {NeighbourClass::Other, {160, 160, 160}}};

Colour ClassColour(NeighbourClass kind) {
  for (const auto& c : ClassColours)
    if (c.kind == kind) return c.shade;
  return ClassColours[3].shade;
}

Colour CoordinationColour(int coordination) {
  return Viridis(static_cast<real>(std::min(coordination, FullCoordination)) / FullCoordination);
}

std::vector<LegendEntry> ClusterLegend(int clusters) {
  std::vector<LegendEntry> legend;
  for (int c = 0; c < std::min(clusters, ColouredClusters); ++c)
    legend.push_back({std::to_string(c), ClusterColours[c]});
  if (clusters == ColouredClusters + 1)
    legend.push_back({std::to_string(ColouredClusters), ClusterColours[ColouredClusters]});
  if (clusters > ColouredClusters + 1)
    legend.push_back({std::to_string(ColouredClusters) + "-" + std::to_string(clusters - 1),
                      ClusterColours[ColouredClusters]});
  return legend;
}

}  // namespace

StructureColouring StructureColours(const Model& model, ColourBy colour, const StructureSettings& settings) {
  std::vector<int> slots;
  const Points points = PresentPoints(model, &slots);
  StructureColouring result;
  PointStructure s;
  try {
    s = AnalysePoints(points, settings);
  } catch (const ProgramError& error) {
    // Drawn all grey, the legend saying why: the picture shows a faulted scene as it is.
    for (const int slot : slots) result.Colours[slot] = ClusterColours[ColouredClusters];
    result.Legend.push_back({error.what(), ClusterColours[ColouredClusters]});
    return result;
  }
  std::set<int> numbers;
  for (std::size_t k = 0; k < slots.size(); ++k) {
    Colour& shade = result.Colours[slots[k]];
    if (colour == ColourBy::Cluster)
      shade = ClusterColours[std::min(s.cluster[k], ColouredClusters)];
    else if (colour == ColourBy::Coordination)
      shade = CoordinationColour(s.coordination[k]);
    else
      shade = ClassColour(s.classes[k]);
    numbers.insert(s.coordination[k]);
  }
  if (colour == ColourBy::Cluster)
    result.Legend = ClusterLegend(s.clusters);
  else if (colour == ColourBy::Coordination)
    for (const int n : numbers) result.Legend.push_back({std::to_string(n), CoordinationColour(n)});
  else
    for (const auto& c : ClassColours) result.Legend.push_back({NeighbourClassName(c.kind), c.shade});
  return result;
}

}  // namespace velmora

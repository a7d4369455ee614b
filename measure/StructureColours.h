#pragma once
// The picture coloured by what the structure analysis finds about each present particle, with the
// legend that names each colour:
// - Cluster: the clusters 0 .. 8 in nine colours that tell apart in print and for most colour
//   blind readers, every later cluster grey ("9-14" in the legend);
// - Coordination: the number of neighbours on viridis from 0 (dark violet) to 12 (yellow, a
//   close-packed site) and beyond, one legend entry per number present;
// - Neighbour Class: icosahedral gold, fcc green, hcp red, other grey, the four always listed.
// The colours stay the same from picture to picture for the same cluster, number or class.

#include <string>
#include <vector>

#include "measure/ParticleValues.h"
#include "model/Model.h"
#include "structure/StructureAnalysis.h"
#include "view/SceneColours.h"

namespace velmora {

struct LegendEntry {
  std::string Name;
  Colour Shade;
  friend bool operator==(const LegendEntry&, const LegendEntry&) = default;
};

struct StructureColouring {
  SlotArray<Colour> Colours{};  // of the present slots
  std::vector<LegendEntry> Legend;
};

// The clusters with colours of their own; later ones share the last entry's grey.
inline constexpr int ColouredClusters = 9;
// The coordination that takes the end of the map.
inline constexpr int FullCoordination = 12;

// For Cluster, Coordination and NeighbourClass. Where the analysis fails (a position that is not a
// number, a bin width too narrow for the cloud), every particle is grey and the legend's one
// entry is the error's text.
StructureColouring StructureColours(const Model& model, ColourBy colour, const StructureSettings& settings);

}  // namespace velmora

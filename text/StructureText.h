#pragma once
// The structure of a cloud as text: what velmora-batch --structure prints and Edit > Copy
// Structure copies. One quantity per line, its name and its values tab-separated, numbers in the
// general number format with "."; then the tables (clusters, coordination numbers, signatures,
// classes, histogram) each under a header line.

#include <string>
#include <vector>

#include "structure/StructureAnalysis.h"

namespace velmora {

// "C5 6, C3 10, C2 15": the axes found by order, highest first, with their numbers.
std::string AxesText(const PointGroup& group);

// `slots`: the slot number of each point.
std::string StructureText(const Structure& structure, const std::vector<int>& slots);

// The extra columns of a run's log: "clusters", "largest", "coordination", "point_group".
std::string StructureLogHeader();
std::string StructureLogCells(const Structure& structure);

}  // namespace velmora

#pragma once
// Common neighbour analysis: each neighbour pair (i, j) gets the signature (c, b, l) of
//   c = the number of neighbours i and j share,
//   b = the number of neighbour pairs among those shared neighbours,
//   l = the number of those pairs in the largest connected group of them (the longest chain);
// and each point a class from the signatures of its pairs: twelve neighbours all 421 is a
// face-centred cubic site, six 421 and six 422 a hexagonal close-packed one, twelve 555 the
// centre of an icosahedron.

#include <map>
#include <string>
#include <vector>

#include "structure/Neighbours.h"

namespace velmora {

struct Signature {
  int common = 0, bonds = 0, chain = 0;
  auto operator<=>(const Signature&) const = default;
};

// "421"; indices of 10 or more are joined by '-' ("12-24-24") so that the text stays one reading.
std::string SignatureText(const Signature& signature);

Signature SignatureOf(const Neighbours& neighbours, int i, int j);

enum class NeighbourClass { Other, Icosahedral, Fcc, Hcp };

// "other", "icosahedral", "fcc", "hcp".
const char* NeighbourClassName(NeighbourClass c);

struct CommonNeighbourAnalysis {
  std::map<Signature, int> counts;  // over every neighbour pair, each once
  std::vector<NeighbourClass> classes;
};

CommonNeighbourAnalysis AnalyseCommonNeighbours(const Neighbours& neighbours);

}  // namespace velmora

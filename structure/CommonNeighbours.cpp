#include "structure/CommonNeighbours.h"

#include <algorithm>
#include <iterator>
#include <numeric>
#include <utility>

namespace velmora {

namespace {

constexpr int CloseCoordination = 12;
constexpr Signature Fcc{4, 2, 1}, Hcp{4, 2, 2}, Icosahedral{5, 5, 5};

// The number of bonds in the largest connected group of `bonds` over `vertices` vertices.
int LongestChain(int vertices, const std::vector<std::pair<int, int>>& bonds) {
  std::vector<int> root(vertices);
  std::iota(root.begin(), root.end(), 0);
  const auto find = [&](int v) {
    while (root[v] != v) v = root[v] = root[root[v]];
    return v;
  };
  for (const auto& [a, b] : bonds) root[find(a)] = find(b);
  std::vector<int> bondCount(vertices, 0);
  for (const auto& bond : bonds) ++bondCount[find(bond.first)];
  return bonds.empty() ? 0 : *std::max_element(bondCount.begin(), bondCount.end());
}

NeighbourClass ClassOf(const Neighbours& neighbours, int i) {
  if (neighbours.Coordination(i) != CloseCoordination) return NeighbourClass::Other;
  std::map<Signature, int> counts;
  for (const int j : neighbours.Of(i)) ++counts[SignatureOf(neighbours, i, j)];
  const auto only = [&](const std::map<Signature, int>& wanted) { return counts == wanted; };
  if (only({{Fcc, 12}})) return NeighbourClass::Fcc;
  if (only({{Fcc, 6}, {Hcp, 6}})) return NeighbourClass::Hcp;
  if (only({{Icosahedral, 12}})) return NeighbourClass::Icosahedral;
  return NeighbourClass::Other;
}

}  // namespace

std::string SignatureText(const Signature& s) {
  const bool digits = s.common < 10 && s.bonds < 10 && s.chain < 10;
  const std::string joint = digits ? "" : "-";
  return std::to_string(s.common) + joint + std::to_string(s.bonds) + joint + std::to_string(s.chain);
}

Signature SignatureOf(const Neighbours& neighbours, int i, int j) {
  const std::vector<int>& a = neighbours.Of(i);
  const std::vector<int>& b = neighbours.Of(j);
  std::vector<int> common;
  std::set_intersection(a.begin(), a.end(), b.begin(), b.end(), std::back_inserter(common));
  std::vector<std::pair<int, int>> bonds;
  const int c = static_cast<int>(common.size());
  for (int k = 0; k < c; ++k)
    for (int l = k + 1; l < c; ++l)
      if (neighbours.Touch(common[k], common[l])) bonds.emplace_back(k, l);
  return {c, static_cast<int>(bonds.size()), LongestChain(c, bonds)};
}

const char* NeighbourClassName(NeighbourClass c) {
  switch (c) {
    case NeighbourClass::Icosahedral:
      return "icosahedral";
    case NeighbourClass::Fcc:
      return "fcc";
    case NeighbourClass::Hcp:
      return "hcp";
    case NeighbourClass::Other:
      break;
  }
  return "other";
}

CommonNeighbourAnalysis AnalyseCommonNeighbours(const Neighbours& neighbours) {
  CommonNeighbourAnalysis analysis;
  const int n = static_cast<int>(neighbours.ClusterOf().size());
  for (int i = 0; i < n; ++i) {
    for (const int j : neighbours.Of(i))
      if (j > i) ++analysis.counts[SignatureOf(neighbours, i, j)];
    analysis.classes.push_back(ClassOf(neighbours, i));
  }
  return analysis;
}

}  // namespace velmora

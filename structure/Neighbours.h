#pragma once
// Which points touch: two points are neighbours when their distance is at most the cutoff. From
// that, each point's coordination (its number of neighbours) and the clusters, the connected
// groups of neighbours.

#include <vector>

#include "structure/Vector3.h"

namespace velmora {

class Neighbours {
 public:
  Neighbours(const Points& points, real cutoff);

  // The neighbours of point i in ascending order.
  const std::vector<int>& Of(int i) const { return lists_[i]; }
  bool Touch(int i, int j) const;
  int Coordination(int i) const { return static_cast<int>(lists_[i].size()); }
  // counts[c]: the number of points with coordination c, for c from 0 to the largest.
  std::vector<int> CoordinationCounts() const;

  // Each point's cluster, numbered from 0 in the order of each cluster's first point.
  const std::vector<int>& ClusterOf() const { return cluster_; }
  int ClusterCount() const { return clusterCount_; }
  // The points of each cluster in ascending order.
  std::vector<std::vector<int>> Clusters() const;

 private:
  void LabelClusters();

  std::vector<std::vector<int>> lists_;
  std::vector<int> cluster_;
  int clusterCount_ = 0;
};

}  // namespace velmora

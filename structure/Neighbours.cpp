#include "structure/Neighbours.h"

#include <algorithm>

namespace velmora {

Neighbours::Neighbours(const Points& points, real cutoff) : lists_(points.size()) {
  const int n = static_cast<int>(points.size());
  for (int i = 0; i < n; ++i)
    for (int j = i + 1; j < n; ++j)
      if (Distance(points[i], points[j]) <= cutoff) {
        lists_[i].push_back(j);
        lists_[j].push_back(i);
      }
  LabelClusters();
}

bool Neighbours::Touch(int i, int j) const {
  return std::binary_search(lists_[i].begin(), lists_[i].end(), j);
}

std::vector<int> Neighbours::CoordinationCounts() const {
  std::vector<int> counts;
  for (const auto& list : lists_) {
    if (list.size() >= counts.size()) counts.resize(list.size() + 1, 0);
    ++counts[list.size()];
  }
  return counts;
}

// Depth-first from each point not yet labelled, in ascending order.
void Neighbours::LabelClusters() {
  cluster_.assign(lists_.size(), -1);
  std::vector<int> pending;
  for (int start = 0; start < static_cast<int>(lists_.size()); ++start) {
    if (cluster_[start] >= 0) continue;
    cluster_[start] = clusterCount_;
    pending.push_back(start);
    while (!pending.empty()) {
      const int i = pending.back();
      pending.pop_back();
      for (const int j : lists_[i])
        if (cluster_[j] < 0) {
          cluster_[j] = clusterCount_;
          pending.push_back(j);
        }
    }
    ++clusterCount_;
  }
}

std::vector<std::vector<int>> Neighbours::Clusters() const {
  std::vector<std::vector<int>> clusters(clusterCount_);
  for (int i = 0; i < static_cast<int>(cluster_.size()); ++i) clusters[cluster_[i]].push_back(i);
  return clusters;
}

}  // namespace velmora

#include "structure/PairHistogram.h"

#include <algorithm>
#include <string>

#include "model/ProgramError.h"

namespace velmora {

namespace {

constexpr real DefaultWidthShare = 0.1L;  // of the closest distance

std::vector<real> PairDistances(const Points& points) {
  std::vector<real> distances;
  for (std::size_t i = 0; i < points.size(); ++i)
    for (std::size_t j = i + 1; j < points.size(); ++j) distances.push_back(Distance(points[i], points[j]));
  return distances;
}

}  // namespace

PairHistogram::PairHistogram(const Points& points, real binWidth) {
  const std::vector<real> distances = PairDistances(points);
  if (distances.empty()) {
    width_ = binWidth > 0.0L ? binWidth : 1.0L;
    return;
  }
  const auto [least, most] = std::minmax_element(distances.begin(), distances.end());
  closest_ = *least;
  const real widest = *most;
  width_ = binWidth;
  if (!(width_ > 0.0L)) {
    width_ = DefaultWidthShare * closest_;
    if (!(widest / width_ < MaxBins)) width_ = widest > 0.0L ? widest / (MaxBins - 1) : 1.0L;
  }
  if (!(widest / width_ < MaxBins))
    throw ProgramError("The bin width is too narrow: more than " + std::to_string(MaxBins) + " bins");
  counts_.assign(static_cast<std::size_t>(widest / width_) + 1, 0);
  for (const real d : distances)
    ++counts_[std::min(static_cast<std::size_t>(d / width_), counts_.size() - 1)];
  pairs_ = static_cast<long long>(distances.size());
}

std::vector<real> PairHistogram::Shares() const {
  std::vector<real> shares;
  for (const long long count : counts_)
    shares.push_back(static_cast<real>(count) / static_cast<real>(pairs_));
  return shares;
}

real PairHistogram::FirstMinimumCutoff() const {
  const int n = static_cast<int>(counts_.size());
  if (n == 0) return 0.0L;
  std::vector<long long> sums(n);
  for (int b = 0; b < n; ++b)
    sums[b] = counts_[b] + (b > 0 ? counts_[b - 1] : 0) + (b + 1 < n ? counts_[b + 1] : 0);
  int top = 0;
  while (counts_[top] == 0) ++top;
  while (top + 1 < n && sums[top + 1] >= sums[top]) ++top;
  int bottom = top;
  while (bottom + 1 < n && sums[bottom + 1] <= sums[bottom]) ++bottom;
  if (bottom + 1 == n) return static_cast<real>(n) * width_;
  int floor = bottom;
  while (sums[floor - 1] == sums[bottom]) --floor;
  return (static_cast<real>(floor) + static_cast<real>(bottom + 1)) * width_ / 2.0L;
}

}  // namespace velmora

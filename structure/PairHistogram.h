#pragma once
// The distances between the points of a small cloud as a histogram normalised by the number of
// pairs (not by a density, which a cloud of a few dozen points in open space does not have): bin
// b holds the share of pairs whose distance d lies in [b w, (b + 1) w).
// The neighbour cutoff is read from it: the first minimum after the first peak.

#include <vector>

#include "structure/Vector3.h"

namespace velmora {

class PairHistogram {
 public:
  // At most this many bins; a narrower bin width throws ProgramError.
  static constexpr int MaxBins = 100000;

  // binWidth <= 0 chooses the default: a tenth of the closest distance (or, for coincident
  // points, the width that spreads the largest distance over MaxBins bins).
  PairHistogram(const Points& points, real binWidth);

  real BinWidth() const { return width_; }
  // The shares of the pairs, bin by bin, adding up to 1 (empty for fewer than two points).
  std::vector<real> Shares() const;
  const std::vector<long long>& Counts() const { return counts_; }
  real Closest() const { return closest_; }

  // The cutoff: on the counts summed over three neighbouring bins (so that a single empty bin
  // inside a shell of distances is no minimum), climb from the first occupied bin to the first
  // peak, descend to the bottom of the valley after it, and take the middle of the valley's
  // floor (the run of bins that hold its least sum). Where the counts never rise again, every
  // pair is a neighbour: the top of the last bin. 0 for fewer than two points.
  real FirstMinimumCutoff() const;

 private:
  std::vector<long long> counts_;
  long long pairs_ = 0;
  real width_ = 0.0L;
  real closest_ = 0.0L;
};

}  // namespace velmora

#pragma once
// Where the Structure panel draws the pair-distance histogram, in pixels: the distance axis from
// 0 to the last bin (or the cutoff, if that lies beyond), the share axis from 0 to the largest
// share, a bar per occupied bin and the column of the cutoff's mark.

#include <vector>

#include "chart/ChartScale.h"

namespace velmora {

struct HistogramBar {
  int left;   // first column
  int right;  // last column, at least `left`
  int top;    // the bar reaches down to the plot's bottom
};

struct HistogramPlot {
  ChartAxis distance;
  ChartAxis share;
  std::vector<HistogramBar> bars;  // of the bins whose share is above 0, in order
  int cutoff = 0;                  // the column of the cutoff
};

// Bin b holds shares[b] of the pairs over [b w, (b + 1) w). The plot takes the columns `left`
// to `right` and the rows `bottom` (share 0) up to `top`.
HistogramPlot PlotHistogram(const std::vector<real>& shares, real binWidth, real cutoff, int left, int right,
                            int bottom, int top);

}  // namespace velmora

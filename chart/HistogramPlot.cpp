#include "chart/HistogramPlot.h"

#include <algorithm>

namespace velmora {

namespace {

constexpr int DistanceTicks = 6;
constexpr int ShareTicks = 4;

}  // namespace

HistogramPlot PlotHistogram(const std::vector<real>& shares, real binWidth, real cutoff, int left, int right,
                            int bottom, int top) {
  HistogramPlot plot;
  const real reach = std::max(static_cast<real>(shares.size()) * binWidth, cutoff);
  const real largest = shares.empty() ? 0.0L : *std::max_element(shares.begin(), shares.end());
  plot.distance = NiceAxis(0.0L, reach > 0.0L ? reach : 1.0L, DistanceTicks);
  plot.share = NiceAxis(0.0L, largest > 0.0L ? largest : 1.0L, ShareTicks);
  for (std::size_t b = 0; b < shares.size(); ++b) {
    if (!(shares[b] > 0.0L)) continue;
    const int from = ToPixel(plot.distance, static_cast<real>(b) * binWidth, left, right);
    const int to = ToPixel(plot.distance, static_cast<real>(b + 1) * binWidth, left, right) - 1;
    plot.bars.push_back({from, std::max(from, to), ToPixel(plot.share, shares[b], bottom, top)});
  }
  plot.cutoff = ToPixel(plot.distance, cutoff, left, right);
  return plot;
}

}  // namespace velmora

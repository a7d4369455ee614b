#include "chart/ChartLayout.h"

#include <algorithm>

namespace velmora {

std::vector<LegendPlace> WrapLegend(const std::vector<int>& widths, int width, int gap) {
  std::vector<LegendPlace> places;
  int left = 0;
  int row = 0;
  for (int entry : widths) {
    if (left > 0 && left + entry > width) {
      left = 0;
      ++row;
    }
    places.push_back({left, row});
    left += entry + gap;
  }
  return places;
}

int LegendRows(const std::vector<LegendPlace>& places) { return places.empty() ? 0 : places.back().row + 1; }

std::vector<Band> StackPanels(int top, int bottom, int count, int gap) {
  count = std::max(count, 1);
  const int room = bottom - top + 1 - gap * (count - 1);
  std::vector<Band> bands;
  int next = top;
  for (int b = 0; b < count; ++b) {
    const int height = room / count + (b < room % count ? 1 : 0);
    bands.push_back({next, next + height - 1});
    next += height + gap;
  }
  return bands;
}

int LabelLeft(int centre, int width, int lowest, int highest) {
  return std::max(lowest, std::min(centre - width / 2, highest - width + 1));
}

}  // namespace velmora

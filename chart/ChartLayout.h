#pragma once
// Where the observables chart puts its pieces, in pixels: the legend's entries in rows that wrap
// at the chart's width, the panels of "Separate scales" stacked over one another, and a label
// kept inside the picture.

#include <vector>

namespace velmora {

struct LegendPlace {
  int left;  // from the legend's left edge
  int row;   // from 0 at the top
};

// Entries of the given widths side by side, `gap` pixels apart; an entry that would pass `width`
// begins the next row, so an entry wider than a row has a row of its own.
std::vector<LegendPlace> WrapLegend(const std::vector<int>& widths, int width, int gap);

// The rows the places take.
int LegendRows(const std::vector<LegendPlace>& places);

struct Band {
  int top;
  int bottom;  // inclusive
};

// `count` bands (one when count is below 1) from `top` to `bottom` with `gap` pixels between
// them, as equal as whole pixels allow: the first ones take a pixel more.
std::vector<Band> StackPanels(int top, int bottom, int count, int gap);

// The left edge of a label `width` pixels wide centred on `centre`, moved just enough to lie
// within lowest .. highest; a label wider than that starts at lowest.
int LabelLeft(int centre, int width, int lowest, int highest);

}  // namespace velmora

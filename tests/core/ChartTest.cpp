// The chart's axes, its layout and its bounded record: ticks a reader can read for any range,
// every extreme of a long run kept, the table thinned but still the log's table.

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "chart/ChartLayout.h"
#include "chart/ChartRecord.h"
#include "chart/ChartScale.h"
#include "chart/HistogramPlot.h"
#include "chart/SamplePacing.h"
#include "model/FloatingPointFaults.h"
#include "text/NumberText.h"

namespace velmora {
namespace {

bool IsOneTwoFive(real tick) {
  const real mantissa = tick / std::pow(10.0L, std::floor(std::log10(tick)));  // 1 .. 10 give or take
  for (real nice : {1.0L, 2.0L, 5.0L, 10.0L})
    if (std::fabs(mantissa - nice) < 1e-12L) return true;
  return false;
}

real Ulps(real value, int count) {
  for (int n = 0; n < count; ++n) value = std::nextafter(value, std::numeric_limits<real>::infinity());
  return value;
}

constexpr real Largest = std::numeric_limits<real>::max();
constexpr real Infinity = std::numeric_limits<real>::infinity();
constexpr real NotANumber = std::numeric_limits<real>::quiet_NaN();

const struct AxisRow {
  real low, high;
  int maxTicks;
  const char* labels;  // the tick labels, joined by spaces; nullptr: only their count matters
  const char* title;   // the value axis's title for "potential"
} AxisRows[] = {
    {0.0L, 1.0L, 6, "0 0.2 0.4 0.6 0.8 1", "potential"},
    {0.03L, 0.87L, 10, "0 0.1 0.2 0.3 0.4 0.5 0.6 0.7 0.8 0.9", "potential"},
    {-355.21L, -354.93L, 5, "-355.3 -355.2 -355.1 -355 -354.9", "potential"},
    {2.5L, 2.5L, 5, "1 2 3 4", "potential"},
    {0.0L, 0.0L, 3, "-1 0 1", "potential"},
    {1.0L, 2.3e6L, 6, "0 500000 1000000 1500000 2000000 2500000", "potential"},
    {-3.0e-7L, 4.0e-7L, 8, "-3E-7 -2E-7 -1E-7 0 1E-7 2E-7 3E-7 4E-7", "potential"},
    // A settled quantity: two units in the last place, widened to one in the fifteenth digit and
    // read from an offset.
    {-355.21L, Ulps(-355.21L, 2), 8, "-2E-12 -1E-12 0 1E-12 2E-12", "potential + 355.21"},
    // Beyond 2^64 a real count of ticks stops counting.
    {0x1p70L, Ulps(0x1p70L, 3), 5, "5000000 10000000 15000000 20000000", "potential - 1.1805916207174E21"},
    {-10000.3L, -10000.1L, 5, "-0.3 -0.25 -0.2 -0.15 -0.1", "potential + 10000"},
    // Near the largest reals a tick beyond the data would overflow: the range ends at the data.
    {-Largest, Largest, 5, "-1E4932 0 1E4932", "potential"},
    {Largest, Largest, 4, "5E4931 1E4932", "potential"},
    {std::numeric_limits<real>::denorm_min(), std::numeric_limits<real>::denorm_min(), 3,
     "-5E-4901 0 5E-4901", "potential"},
    // Ends that are not finite are left out; the tick count stays within 2 .. MostTicks.
    {NotANumber, 3.0L, 5, "1 2 3 4 5", "potential"},
    {-Infinity, Infinity, 3, "0 0.5 1", "potential"},
    {1.0L, 0.0L, 0, "0 1", "potential"},
    {0.0L, 1.0L, INT_MAX, nullptr, "potential"},  // 51 ticks 0.02 apart
    // How many ticks a range gets: the finest 1-2-5 spacing whose ticks number at most maxTicks.
    {0.0L, 1.0L, 11, "0 0.1 0.2 0.3 0.4 0.5 0.6 0.7 0.8 0.9 1", "potential"},
    {0.0L, 1.0L, 10, "0 0.2 0.4 0.6 0.8 1", "potential"},
    {0.0L, 1.0L, 5, "0 0.5 1", "potential"},
    {0.0L, 1.0L, 2, "0 1", "potential"},
    {0.0L, 1.0L, 1, "0 1", "potential"},  // held to two ticks
    {0.0L, 7.0L, 4, "0 5 10", "potential"},
    {0.0L, 7.0L, 8, "0 1 2 3 4 5 6 7", "potential"},
    {-1.0L, 1.0L, 3, "-1 0 1", "potential"},
};

// Every range is done at once: first in a child process, where a hang or a runaway tick list
// ends the child within seconds, not the test program; then each axis is read.
TEST(ChartScaleDeathTest, TicksEncloseTheDataAtOneTwoFive) {
  ASSERT_EXIT(
      {
        alarm(5);
        for (const AxisRow& row : AxisRows) NiceAxis(row.low, row.high, row.maxTicks);
        std::_Exit(0);
      },
      ::testing::ExitedWithCode(0), "");
  for (const AxisRow& row : AxisRows) {
    ClearFaultFlags();
    const ChartAxis axis = NiceAxis(row.low, row.high, row.maxTicks);
    std::string labels;
    for (real label : axis.labels) labels += (labels.empty() ? "" : " ") + FormatReal(label, '.');
    EXPECT_FALSE(FaultFlagged()) << labels;
    if (row.labels) {
      EXPECT_EQ(labels, row.labels);
    }
    EXPECT_EQ(AxisTitle("potential", axis, '.'), row.title);
    ASSERT_EQ(axis.ticks.size(), axis.labels.size()) << labels;
    for (std::size_t t = 0; t < axis.ticks.size(); ++t)  // a label reads its tick less the offset
      EXPECT_LE(std::fabs(axis.ticks[t] - axis.offset - axis.labels[t]), 1e-3L * axis.tick) << labels;
    EXPECT_TRUE(IsOneTwoFive(axis.tick)) << labels;
    EXPECT_LE(static_cast<int>(axis.ticks.size()), std::clamp(row.maxTicks, 2, MostTicks)) << labels;
    EXPECT_GE(axis.ticks.size(), row.labels ? 2u : 51u) << labels;
    // The data lie on the axis, within a pixel of a 1000-pixel axis at worst.
    for (real end : {row.low, row.high}) {
      if (!std::isfinite(end)) continue;
      EXPECT_LE(axis.low, end + 1e-9L * axis.tick) << labels;
      EXPECT_GE(axis.high, end - 1e-9L * axis.tick) << labels;
      const int pixel = ToPixel(axis, end, 0, 1000);
      EXPECT_TRUE(pixel >= 0 && pixel <= 1000) << labels << " " << pixel;
    }
  }
  const ChartAxis axis = NiceAxis(0.0L, 1.0L, 6);
  EXPECT_EQ(ToPixel(axis, 0.0L, 300, 10), 300);
  EXPECT_EQ(ToPixel(axis, 0.5L, 300, 10), 155);
  EXPECT_EQ(ToPixel(axis, 1.0L, 300, 10), 10);
  EXPECT_EQ(ToPixel(axis, NotANumber, 300, 10), 300);
  EXPECT_EQ(ToPixel(axis, Largest, 300, 10), -280);  // an axis's length beyond, at most
}

// The chart's pieces in pixels: legend entries wrapping at the width, panels stacked as evenly
// as whole pixels allow, a label moved inside the picture.
TEST(ChartLayout, LegendWrapsPanelsStackLabelsStayInside) {
  const struct {
    std::vector<int> widths;
    int width;
    const char* places;  // left/row of each entry
  } legends[] = {
      {{50, 50, 50}, 200, "0/0 66/0 132/0"},
      {{50, 50, 50}, 150, "0/0 66/0 0/1"},
      {{300, 20}, 100, "0/0 0/1"},
      {{}, 100, ""},
  };
  for (const auto& row : legends) {
    std::string places;
    for (const LegendPlace& p : WrapLegend(row.widths, row.width, 16))
      places += (places.empty() ? "" : " ") + std::to_string(p.left) + "/" + std::to_string(p.row);
    EXPECT_EQ(places, row.places);
  }
  EXPECT_EQ(LegendRows(WrapLegend({50, 50, 50}, 150, 16)), 2);

  const struct {
    int top, bottom, count;
    const char* bands;
  } stacks[] = {
      {10, 109, 1, "10-109"},
      {10, 109, 3, "10-39 45-74 80-109"},
      {0, 11, 3, "0-3 5-7 9-11"},
      {0, 11, 0, "0-11"},
  };
  for (const auto& row : stacks) {
    std::string bands;
    for (const Band& b : StackPanels(row.top, row.bottom, row.count, row.top == 0 ? 1 : 5))
      bands += (bands.empty() ? "" : " ") + std::to_string(b.top) + "-" + std::to_string(b.bottom);
    EXPECT_EQ(bands, row.bands);
  }

  const struct {
    int centre, width, expected;
  } labels[] = {{100, 40, 80}, {490, 40, 460}, {5, 40, 0}, {50, 200, 0}};
  for (const auto& row : labels)
    EXPECT_EQ(LabelLeft(row.centre, row.width, 0, 499), row.expected) << row.centre;
}

Observables Sample(real kinetic, real closest) {
  Observables o;
  o[Quantity::Kinetic] = kinetic;
  o[Quantity::Closest] = closest;
  return o;
}

// A million measurements in a bounded record: the one spike and the one dip show in the columns
// of a narrow chart, the table keeps evenly spaced rows under the limit.
TEST(ChartRecord, ALongRunKeepsEveryExtremeWithinItsBounds) {
  ChartRecord record;
  constexpr int Steps = 1000000;
  for (int step = 1; step <= Steps; ++step) {
    real kinetic = std::sin(step * 1e-4L);
    if (step == 777777) kinetic = 1000.0L;
    if (step == 123457) kinetic = -1000.0L;
    record.Add(step, Sample(kinetic, step == 5 ? NAN : INFINITY));
  }
  EXPECT_EQ(record.FirstStep(), 1);
  EXPECT_EQ(record.LastStep(), Steps);
  const std::optional<Extent> range = record.Range(Quantity::Kinetic);
  ASSERT_TRUE(range);
  EXPECT_EQ(range->least, -1000.0L);
  EXPECT_EQ(range->greatest, 1000.0L);
  EXPECT_FALSE(record.Range(Quantity::Closest));  // only INF and NAN: nothing to draw

  const auto columns = record.Columns(Quantity::Kinetic, 300);
  ASSERT_EQ(columns.size(), 300u);
  int spike = -1, dip = -1;
  for (int c = 0; c < 300; ++c) {
    ASSERT_TRUE(columns[c]) << c;  // a million steps fill every column
    if (columns[c]->greatest == 1000.0L) spike = c;
    if (columns[c]->least == -1000.0L) dip = c;
  }
  EXPECT_NEAR(spike, 777777 * 300 / Steps, 1);
  EXPECT_NEAR(dip, 123457 * 300 / Steps, 1);

  const auto& rows = record.Rows();
  EXPECT_LE(rows.size(), ChartRecord::RowLimit);
  EXPECT_GT(rows.size(), ChartRecord::RowLimit / 2);
  for (std::size_t r = 0; r < rows.size(); ++r)
    ASSERT_EQ(rows[r].step, 1 + static_cast<long long>(r) * record.RowStride());
  const std::string table = record.Table();
  EXPECT_EQ(std::count(table.begin(), table.end(), '\n'), static_cast<long>(rows.size()) + 1);
  EXPECT_EQ(table.substr(0, 13), "step\tkinetic\t");

  record.Add(3, Sample(2.0L, 1.0L));  // the count went back: a new record
  EXPECT_EQ(record.Measurements(), 1);
  EXPECT_EQ(record.Columns(Quantity::Kinetic, 4)[0]->greatest, 2.0L);
}

// Shares 0, 1/2, 1/4, 1/4 of bins 1 wide on 400 x 200 pixels: the distance axis 0 .. 4 (ticks 1
// apart), the share axis 0 .. 0.6 (ticks 0.2 apart); a cutoff beyond the bins widens the axis.
TEST(HistogramPlot, BarsAndCutoffOnTheAxes) {
  const HistogramPlot plot = PlotHistogram({0.0L, 0.5L, 0.25L, 0.25L}, 1.0L, 2.5L, 0, 400, 200, 0);
  EXPECT_EQ(plot.distance.high, 4.0L);
  EXPECT_NEAR(static_cast<double>(plot.share.high), 0.6, 1e-15);
  ASSERT_EQ(plot.bars.size(), 3u);  // the empty bin has none
  EXPECT_EQ(plot.bars[0].left, 100);
  EXPECT_EQ(plot.bars[0].right, 199);
  EXPECT_EQ(plot.bars[0].top, 33);  // 200 - 200 * 0.5 / 0.6
  EXPECT_EQ(plot.bars[2].right, 399);
  EXPECT_EQ(plot.bars[1].top, 117);
  EXPECT_EQ(plot.cutoff, 250);
  const HistogramPlot beyond = PlotHistogram({1.0L}, 0.5L, 8.0L, 0, 400, 200, 0);
  EXPECT_EQ(beyond.cutoff, 400);
  EXPECT_EQ(beyond.bars[0].right, 24);  // 0 .. 0.5 of 0 .. 8, at least one column
  EXPECT_TRUE(PlotHistogram({}, 0.0L, 0.0L, 0, 400, 200, 0).bars.empty());
}

TEST(SamplePacing, MeasuringTakesItsShare) {
  SamplePacing pacing(0.05);
  EXPECT_TRUE(pacing.Due(0.0));
  EXPECT_LT(pacing.DueAt(), -1e300);
  pacing.Measured(0.0, 0.01);  // 10 ms measured: the next after 190 ms more
  EXPECT_FALSE(pacing.Due(0.19));
  EXPECT_TRUE(pacing.Due(0.2001));
  EXPECT_NEAR(pacing.DueAt(), 0.2, 1e-12);
}

}  // namespace
}  // namespace velmora

// The chart's axes and its bounded record: ticks a reader can read, every extreme of a long run
// kept, the table thinned but still the log's table.

#include <gtest/gtest.h>

#include <cmath>

#include "chart/ChartRecord.h"
#include "chart/ChartScale.h"
#include "chart/SamplePacing.h"
#include "text/NumberText.h"

namespace velmora {
namespace {

bool IsOneTwoFive(real tick) {
  const real mantissa = tick / std::pow(10.0L, std::floor(std::log10(tick)));  // 1 .. 10 give or take
  for (real nice : {1.0L, 2.0L, 5.0L, 10.0L})
    if (std::fabs(mantissa - nice) < 1e-12L) return true;
  return false;
}

TEST(ChartScale, TicksEncloseTheDataAtOneTwoFive) {
  const struct {
    real low, high;
    int maxTicks;
    const char* labels;  // the tick labels, joined by spaces
  } rows[] = {
      {0.0L, 1.0L, 6, "0 0.2 0.4 0.6 0.8 1"},
      {0.03L, 0.87L, 10, "0 0.1 0.2 0.3 0.4 0.5 0.6 0.7 0.8 0.9"},
      {-355.21L, -354.93L, 5, "-355.3 -355.2 -355.1 -355 -354.9"},
      {2.5L, 2.5L, 5, "1 2 3 4"},
      {0.0L, 0.0L, 3, "-1 0 1"},
      {1.0L, 2.3e6L, 6, "0 500000 1000000 1500000 2000000 2500000"},
      {-3.0e-7L, 4.0e-7L, 8, "-3E-7 -2E-7 -1E-7 0 1E-7 2E-7 3E-7 4E-7"},
  };
  for (const auto& row : rows) {
    const ChartAxis axis = NiceAxis(row.low, row.high, row.maxTicks);
    std::string labels;
    for (real tick : axis.ticks) labels += (labels.empty() ? "" : " ") + FormatReal(tick, '.');
    EXPECT_EQ(labels, row.labels);
    EXPECT_TRUE(IsOneTwoFive(axis.tick)) << labels;
    EXPECT_LE(static_cast<int>(axis.ticks.size()), row.maxTicks) << labels;
    EXPECT_LE(axis.low, row.low + 1e-9L * axis.tick);
    EXPECT_GE(axis.high, row.high - 1e-9L * axis.tick);
  }
  const ChartAxis axis = NiceAxis(0.0L, 1.0L, 6);
  EXPECT_EQ(ToPixel(axis, 0.0L, 300, 10), 300);
  EXPECT_EQ(ToPixel(axis, 0.5L, 300, 10), 155);
  EXPECT_EQ(ToPixel(axis, 1.0L, 300, 10), 10);
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

TEST(SamplePacing, MeasuringTakesItsShare) {
  SamplePacing pacing(0.05);
  EXPECT_TRUE(pacing.Due(0.0));
  pacing.Measured(0.0, 0.01);  // 10 ms measured: the next after 190 ms more
  EXPECT_FALSE(pacing.Due(0.19));
  EXPECT_TRUE(pacing.Due(0.2001));
}

}  // namespace
}  // namespace velmora

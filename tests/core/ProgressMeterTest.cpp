// The progress line of a batch run: its text, and when a new one is shown.

#include <gtest/gtest.h>

#include <string>

#include "run/ProgressMeter.h"

namespace velmora {
namespace {

struct ProgressCase {
  long long done, total;
  double seconds;
  const char* text;
};

TEST(ProgressMeter, TextGivesStepsRateAndTimeLeft) {
  const ProgressCase cases[] = {
      {0, 100, 0.0, "0 of 100 steps"},
      {0, 100, 3.0, "0 of 100 steps"},
      {500, 2000, 2.0, "500 of 2000 steps, 250 steps/s, 6 s left"},
      {3000, 10000, 10.0, "3000 of 10000 steps, 300 steps/s, 23 s left"},
      {100, 1000, 10.0, "100 of 1000 steps, 10 steps/s, 1 min 30 s left"},
      {1, 10, 2.0, "1 of 10 steps, 0.5 steps/s, 18 s left"},
      {100, 100000, 50.0, "100 of 100000 steps, 2 steps/s, 13 h 52 min left"},
      {7, 7, 1.0, "7 of 7 steps, 7 steps/s, 0 s left"},
  };
  for (const ProgressCase& c : cases)
    EXPECT_EQ(ProgressText(c.done, c.total, c.seconds), c.text) << c.done << " " << c.seconds;
}

TEST(ProgressMeter, FirstLineAfterHalfASecondThenAFewTimesASecond) {
  using std::chrono::milliseconds;
  const ProgressMeter::Clock::time_point start{};
  ProgressMeter meter(1000, start);
  EXPECT_FALSE(meter.Update(10, start + milliseconds(100)));
  EXPECT_FALSE(meter.Update(40, start + milliseconds(499)));
  EXPECT_FALSE(meter.Shown());
  const auto first = meter.Update(50, start + milliseconds(500));
  ASSERT_TRUE(first);
  EXPECT_EQ(*first, "50 of 1000 steps, 100 steps/s, 10 s left");
  EXPECT_TRUE(meter.Shown());
  // Every step calls Update; only one call per refresh interval gets a line.
  int lines = 0;
  for (int ms = 501; ms <= 1500; ++ms)
    if (meter.Update(ms / 10, start + milliseconds(ms))) ++lines;
  EXPECT_EQ(lines, 4);  // at 750, 1000, 1250 and 1500 ms
}

}  // namespace
}  // namespace velmora

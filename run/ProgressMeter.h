#pragma once
// The progress line of a long run without a window: steps done of the total, steps per second
// and the time left. The meter decides when a new line is worth showing, so that a run of a
// moment shows none and a long one is refreshed a few times a second, never once per step.

#include <chrono>
#include <optional>
#include <string>

namespace velmora {

// "1200 of 5000 steps, 812 steps/s, 5 s left": the rate is the mean since the start, and the
// time left assumes it holds.
std::string ProgressText(long long done, long long total, double elapsedSeconds);

class ProgressMeter {
 public:
  using Clock = std::chrono::steady_clock;

  // A run shorter than this shows no line at all.
  static constexpr Clock::duration FirstLineAfter = std::chrono::milliseconds(500);
  static constexpr Clock::duration RefreshEvery = std::chrono::milliseconds(250);

  ProgressMeter(long long total, Clock::time_point start);

  // The line to show after `done` steps at `now`, or nothing when the run has not yet gone on
  // for FirstLineAfter or the last line is younger than RefreshEvery.
  std::optional<std::string> Update(long long done, Clock::time_point now);

  // Whether a line has been shown, so that it must be cleared when the run ends.
  bool Shown() const { return shown_; }

 private:
  long long total_;
  Clock::time_point start_;
  Clock::time_point next_;
  bool shown_ = false;
};

}  // namespace velmora

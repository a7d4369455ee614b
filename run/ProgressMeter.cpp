#include "run/ProgressMeter.h"

#include <cmath>
#include <cstdio>

namespace velmora {

namespace {

// Whole seconds below a minute, then minutes and seconds, then hours and minutes: the line is
// refreshed a few times a second, so more precision would only flicker.
std::string DurationText(double seconds) {
  const long long s = std::llround(seconds);
  if (s < 60) return std::to_string(s) + " s";
  if (s < 3600) return std::to_string(s / 60) + " min " + std::to_string(s % 60) + " s";
  return std::to_string(s / 3600) + " h " + std::to_string(s / 60 % 60) + " min";
}

std::string RateText(double stepsPerSecond) {
  char text[32];
  std::snprintf(text, sizeof text, stepsPerSecond >= 10.0 ? "%.0f" : "%.2g", stepsPerSecond);
  return text;
}

}  // namespace

std::string ProgressText(long long done, long long total, double elapsedSeconds) {
  std::string text = std::to_string(done) + " of " + std::to_string(total) + " steps";
  if (done <= 0 || elapsedSeconds <= 0.0) return text;
  const double rate = static_cast<double>(done) / elapsedSeconds;
  return text + ", " + RateText(rate) + " steps/s, " +
         DurationText(static_cast<double>(total - done) / rate) + " left";
}

ProgressMeter::ProgressMeter(long long total, Clock::time_point start)
    : total_(total), start_(start), next_(start + FirstLineAfter) {}

std::optional<std::string> ProgressMeter::Update(long long done, Clock::time_point now) {
  if (now < next_) return std::nullopt;
  next_ = now + RefreshEvery;
  shown_ = true;
  return ProgressText(done, total_, std::chrono::duration<double>(now - start_).count());
}

}  // namespace velmora

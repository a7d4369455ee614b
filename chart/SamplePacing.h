#pragma once
// When a running loop measures (or draws): as often as it can while measuring takes at most a
// given share of the run's time. A measurement is due once the time since the last one ended is
// at least (1 - share) / share times what the last one took; the first one is due at once.

#include <limits>

namespace velmora {

class SamplePacing {
 public:
  explicit SamplePacing(double share) : wait_((1.0 - share) / share) {}

  // Times are seconds on one steady clock.
  bool Due(double now) const { return !measured_ || now - lastEnd_ >= wait_ * lastCost_; }
  // The time from which Due is true; -infinity before the first measurement.
  double DueAt() const {
    return measured_ ? lastEnd_ + wait_ * lastCost_ : -std::numeric_limits<double>::infinity();
  }
  void Measured(double start, double end) {
    measured_ = true;
    lastEnd_ = end;
    lastCost_ = end - start;
  }
  void Restart() { measured_ = false; }

 private:
  double wait_;
  bool measured_ = false;
  double lastEnd_ = 0.0;
  double lastCost_ = 0.0;
};

}  // namespace velmora

#pragma once
// The Structure panel's plot of the pair-distance histogram: a bar for each occupied bin over the
// distance, the share of the pairs upwards, and the neighbour cutoff marked by a red line.

#include <QWidget>
#include <vector>

#include "model/Real.h"

namespace velmora {

class HistogramView : public QWidget {
  Q_OBJECT

 public:
  HistogramView(char separator, QWidget* parent);

  void SetHistogram(std::vector<real> shares, real binWidth, real cutoff);
  // Nothing to plot: an analysis that failed.
  void Clear();

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  char separator_;
  std::vector<real> shares_;
  real binWidth_ = 0.0L;
  real cutoff_ = 0.0L;
};

}  // namespace velmora

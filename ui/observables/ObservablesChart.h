#pragma once
// The chart of the observables window: the picked quantities of the record against the step,
// drawn with QPainter. Each pixel column shows the least and greatest value measured in its
// steps, joined to its neighbours, so every extreme of the run is on the picture however long it
// was. The axes' range, ticks and pixels come from the core's ChartScale.

#include <QWidget>

#include <array>

#include "chart/ChartRecord.h"
#include "chart/ChartScale.h"
#include "sim/Observables.h"

namespace velmora {

class ObservablesChart : public QWidget {
 public:
  ObservablesChart(const ChartRecord& record, char separator, QWidget* parent = nullptr);

  void SetPicked(const std::array<bool, QuantityCount>& picked);
  const std::array<bool, QuantityCount>& Picked() const { return picked_; }

  // Draws the whole chart into a painter of the given size: the window and the PNG export.
  void Render(QPainter& painter, QSize size) const;

  // The colour of a quantity's line and its legend entry.
  static QColor ColourOf(Quantity q);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void DrawCurve(QPainter& painter, Quantity q, const QRect& plot, const ChartAxis& x,
                 const ChartAxis& y) const;
  void DrawLegend(QPainter& painter, const QRect& area) const;

  const ChartRecord& record_;
  char separator_;
  std::array<bool, QuantityCount> picked_{};
};

}  // namespace velmora

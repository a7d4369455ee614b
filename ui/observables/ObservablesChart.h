#pragma once
// The chart of the observables window: the picked quantities of the record against the step,
// drawn with QPainter. Each pixel column shows the least and greatest value measured in its
// steps, joined to its neighbours, so every extreme of the run is on the picture however long it
// was. With separate scales each picked quantity has a panel of its own, stacked over the others
// on one step axis. The axes' range, ticks and pixels and the places of the legend and the panels
// come from the core's ChartScale and ChartLayout.

#include <QWidget>
#include <array>
#include <optional>
#include <vector>

#include "chart/ChartLayout.h"
#include "chart/ChartRecord.h"
#include "chart/ChartScale.h"
#include "sim/Observables.h"

namespace velmora {

class ObservablesChart : public QWidget {
 public:
  ObservablesChart(const ChartRecord& record, char separator, QWidget* parent = nullptr);

  void SetPicked(const std::array<bool, QuantityCount>& picked);
  // Takes the record's latest measurement as the one the legend shows, and redraws. A run adds
  // measurements between two showings; the legend keeps the one the window's values show.
  void ShowLatest();
  // A quantity's value as the legend reads it; empty before the first measurement shown.
  QString LatestText(Quantity q) const;
  void SetSeparate(bool separate);
  // A step marked by an upright line across the panels (View > History's step shown), or none.
  void MarkStep(std::optional<int> step);
  std::optional<int> MarkedStep() const { return marked_; }

  // Draws the whole chart into a painter of `size` chart pixels, `scale` device pixels each: the
  // window, and the picture export drawn anew at 1, 2 or 4 times the size.
  void Render(QPainter& painter, QSize size, int scale = 1) const;

  // The colour of a quantity's line and its legend entry.
  static QColor ColourOf(Quantity q);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  // One value axis with the quantities drawn against it.
  struct Panel {
    std::vector<Quantity> quantities;
    Band band;
    ChartAxis axis;
  };

  std::vector<Quantity> PickedQuantities() const;
  std::vector<Panel> Panels(int top, int bottom, int line) const;
  int DrawLegend(QPainter& painter, int width) const;
  void DrawPanel(QPainter& painter, const Panel& panel, int left, int right, const ChartAxis& x,
                 int scale) const;
  void DrawStepAxis(QPainter& painter, const ChartAxis& x, int left, int right, int bottom, int width) const;
  void DrawCurve(QPainter& painter, Quantity q, const QRect& plot, const ChartAxis& x, const ChartAxis& y,
                 int scale) const;

  const ChartRecord& record_;
  char separator_;
  std::array<bool, QuantityCount> picked_{};
  bool separate_ = false;
  std::optional<Observables> latest_;
  std::optional<int> marked_;
};

}  // namespace velmora

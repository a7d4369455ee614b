#pragma once
// A round lamp: a circle in the middle of its box, filled with its brush colour and outlined
// black. The run state shows in two of them (lime and maroon when idle, green and red while
// running).

#include <QColor>
#include <QWidget>

namespace velmora {

class Lamp : public QWidget {
  Q_OBJECT

 public:
  Lamp(QWidget* parent, const QColor& brush);

  void SetBrush(const QColor& brush);
  QColor Brush() const { return brush_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QColor brush_;
};

}  // namespace velmora

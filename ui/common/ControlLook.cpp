#include "ui/common/ControlLook.h"

#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QWidget>

namespace velmora::look {

void SetTextColour(QWidget* control, const QColor& colour) {
  QPalette palette = control->palette();
  palette.setColor(QPalette::Text, colour);
  palette.setColor(QPalette::WindowText, colour);
  palette.setColor(QPalette::ButtonText, colour);
  control->setPalette(palette);
}

void SetGroundColour(QWidget* control, const QColor& colour) {
  QPalette palette = control->palette();
  if (qobject_cast<QLineEdit*>(control)) {
    palette.setColor(QPalette::Base, colour);
  } else {
    palette.setColor(control->backgroundRole(), colour);
    control->setAutoFillBackground(true);
  }
  control->setPalette(palette);
}

void SetColours(QWidget* control, const QColor& ground, const QColor& text) {
  SetGroundColour(control, ground);
  SetTextColour(control, text);
}

void SetBold(QWidget* control) {
  QFont font = control->font();
  font.setBold(true);
  control->setFont(font);
}

void SetBoldSerif(QWidget* control, int pointSize) {
  QFont font = control->font();
  font.setFamily(QStringLiteral("Serif"));
  font.setStyleHint(QFont::Serif);
  font.setBold(true);
  if (pointSize > 0) font.setPointSize(pointSize);
  control->setFont(font);
}

void SetFieldText(QLineEdit* field, const QString& text) {
  field->setText(text);
  field->setCursorPosition(0);
}

QLabel* AddLabel(QWidget* parent, const QString& text, const QRect& place) {
  auto* label = new QLabel(text, parent);
  label->setGeometry(place);
  return label;
}

}  // namespace velmora::look

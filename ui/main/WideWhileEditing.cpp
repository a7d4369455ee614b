#include "ui/main/WideWhileEditing.h"

#include <QFocusEvent>
#include <QLineEdit>
#include <QStyle>
#include <QStyleOptionFrame>
#include <algorithm>

namespace velmora {

void WideWhileEditing::Attach(QLineEdit* field) {
  field->installEventFilter(this);
  connect(field, &QLineEdit::textChanged, this, [this, field] {
    if (field == editing_) Fit(field);
  });
}

bool WideWhileEditing::eventFilter(QObject* watched, QEvent* event) {
  // A field being destroyed is no longer a line edit: its last events are not ours.
  auto* field = qobject_cast<QLineEdit*>(watched);
  if (field == nullptr) return QObject::eventFilter(watched, event);
  if (event->type() == QEvent::FocusIn && field != editing_) {
    editing_ = field;
    place_ = field->geometry();
    Fit(field);
  } else if (event->type() == QEvent::FocusOut && field == editing_ &&
             static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason) {
    editing_ = nullptr;
    field->setGeometry(place_);
    field->setCursorPosition(0);  // narrow again, it shows the beginning of its text
  }
  return QObject::eventFilter(watched, event);
}

// As wide as the text with the cursor after it and the field's frame around it, never narrower
// than its own place; moved left where it would stand out of its parent.
void WideWhileEditing::Fit(QLineEdit* field) {
  QStyleOptionFrame option;
  option.initFrom(field);
  const int textWidth = field->fontMetrics().horizontalAdvance(field->text() + QLatin1Char('0'));
  const QSize wanted = field->style()->sizeFromContents(QStyle::CT_LineEdit, &option,
                                                        QSize(textWidth, place_.height()), field);
  const int parentWidth = field->parentWidget()->width();
  const int width = std::min(std::max(place_.width(), wanted.width()), parentWidth);
  const int left = std::max(0, std::min(place_.left(), parentWidth - width));
  field->setGeometry(left, place_.top(), width, place_.height());
  field->raise();
}

}  // namespace velmora

#include "ui/NumericKeyFilter.h"

#include <QKeyEvent>
#include <QLineEdit>

#include "text/KeyFilter.h"

namespace velmora {

namespace {

bool IsDialogKey(int key) {
  return key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape || key == Qt::Key_Tab ||
         key == Qt::Key_Backtab;
}

}  // namespace

void NumericKeyFilter::Attach(QLineEdit* field) { field->installEventFilter(this); }

bool NumericKeyFilter::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress) return QObject::eventFilter(watched, event);
  const auto* key = static_cast<QKeyEvent*>(event);
  const QString typed = key->text();
  if (typed.isEmpty() || IsDialogKey(key->key())) return false;
  const char32_t ch = typed.toUcs4().value(0);
  return FilterKey(ch) == Escape;  // true: the field never sees the key
}

}  // namespace velmora

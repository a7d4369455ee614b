#include "ui/common/NumericKeyFilter.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <optional>

#include "text/KeyFilter.h"

namespace velmora {

namespace {

bool IsDialogKey(int key) {
  return key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape || key == Qt::Key_Tab ||
         key == Qt::Key_Backtab;
}

// The character a key press types, if any. The X server reports Delete with the text U+007F,
// yet Delete, like the arrows, Home and End, moves or deletes and types nothing; Ctrl+Backspace
// keeps its U+007F, a typed control character like those of Ctrl+C, Ctrl+V and Ctrl+A.
std::optional<char32_t> TypedCharacter(const QKeyEvent& key) {
  if (key.text().isEmpty() || IsDialogKey(key.key()) || key.key() == Qt::Key_Delete) return std::nullopt;
  return key.text().toUcs4().value(0);
}

}  // namespace

void NumericKeyFilter::Attach(QLineEdit* field) { field->installEventFilter(this); }

bool NumericKeyFilter::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress) return QObject::eventFilter(watched, event);
  const std::optional<char32_t> typed = TypedCharacter(*static_cast<QKeyEvent*>(event));
  return typed && FilterKey(*typed) == Escape;  // true: the field never sees the key
}

}  // namespace velmora

#pragma once
// The per-character filter of the numeric edit fields, attached to a field with Attach. It sees
// the characters as they are typed, like a key-press event: digits, ",", "-", "." and Backspace
// reach the field; every other character, control characters such as Ctrl+V included, is
// turned into Escape, which the field does not insert (dropped silently, without a beep).
// Keys that type no character (arrows, Delete, Home) and the dialog keys Enter, Escape and Tab,
// which the window handles before any field sees a character, pass untouched. Pasting through
// the context menu is no typing, and the conversion still decides what the field's text means.

#include <QObject>

class QLineEdit;

namespace velmora {

class NumericKeyFilter : public QObject {
  Q_OBJECT

 public:
  explicit NumericKeyFilter(QObject* parent = nullptr) : QObject(parent) {}
  void Attach(QLineEdit* field);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace velmora

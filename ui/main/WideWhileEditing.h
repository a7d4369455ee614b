#pragma once
// Narrow edit fields that widen while they have the focus, so that the whole text being typed
// is in view: the field grows to fit its text, above its neighbours and inside its parent, and
// takes its own place again, showing the beginning of its text, when the focus leaves it (a
// context menu opening over it is no leaving).
//
//   auto* widening = new WideWhileEditing(this);
//   widening->Attach(EditA1);

#include <QObject>
#include <QRect>

class QLineEdit;

namespace velmora {

class WideWhileEditing : public QObject {
  Q_OBJECT

 public:
  explicit WideWhileEditing(QObject* parent) : QObject(parent) {}
  void Attach(QLineEdit* field);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Fit(QLineEdit* field);

  QLineEdit* editing_ = nullptr;
  QRect place_;
};

}  // namespace velmora

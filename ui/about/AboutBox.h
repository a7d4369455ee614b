#pragma once
// The About box: the program's name, icon, version and credits, shown modally from Help > About.
// It is created once, after the main window, and has no behaviour of its own.

#include <QDialog>

namespace velmora {

class TAboutBox : public QDialog {
  Q_OBJECT

 public:
  explicit TAboutBox(QWidget* parent = nullptr);

 protected:
  void showEvent(QShowEvent* event) override;
};

}  // namespace velmora

#pragma once
// The structure's commands in the main window's menus: View > Structure opens the Structure panel
// beside the window, Edit > Copy Structure copies the analysis of the scene as it stands (the
// panel's lines, under the panel's settings) as tab-separated text. The panel's settings are also
// those that Colour By and the readout of a picked particle use.

#include <QObject>

#include "model/Model.h"

class QMainWindow;
class QMenu;

namespace velmora {

class SceneInstruments;
class StructurePanel;

class StructureCommands : public QObject {
  Q_OBJECT

 public:
  StructureCommands(QMainWindow& window, const Model& model, SceneInstruments& instruments, char separator);

  // View > Structure at the end of `view`, Edit > Copy Structure after Copy Selection in `edit`.
  void CreateMenus(QMenu& view, QMenu& edit);

  StructurePanel& Panel() const { return *panel_; }

 private:
  void StructureClick();
  void CopyStructureClick();

  QMainWindow& window_;
  StructurePanel* panel_;
};

}  // namespace velmora

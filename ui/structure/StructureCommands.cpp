#include "ui/structure/StructureCommands.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QMainWindow>
#include <QMenu>
#include <algorithm>

#include "ui/common/ErrorReport.h"
#include "ui/main/SceneInstruments.h"
#include "ui/main/WindowPlacement.h"
#include "ui/structure/StructurePanel.h"

namespace velmora {

StructureCommands::StructureCommands(QMainWindow& window, const Model& model, SceneInstruments& instruments,
                                     char separator)
    : QObject(&window), window_(window), panel_(new StructurePanel(model, separator, &window)) {
  connect(panel_, &StructurePanel::SettingsChanged, &instruments, &SceneInstruments::SetStructure);
}

void StructureCommands::CreateMenus(QMenu& view, QMenu& edit) {
  QAction* structure = view.addAction(QStringLiteral("Structure"));
  structure->setObjectName(QStringLiteral("Structure1"));
  structure->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F9));
  window_.addAction(structure);
  connect(structure, &QAction::triggered, this, [this] { Guarded([this] { StructureClick(); }); });

  QAction* copy = new QAction(QStringLiteral("Copy Structure"), this);
  copy->setObjectName(QStringLiteral("CopyStructure"));
  copy->setShortcut(QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_C));
  const QList<QAction*> items = edit.actions();
  const auto after = std::find_if(items.begin(), items.end(), [](QAction* a) {
    return a->objectName() == QStringLiteral("CopySelection");
  });
  edit.insertAction(after != items.end() && after + 1 != items.end() ? *(after + 1) : nullptr, copy);
  window_.addAction(copy);
  connect(copy, &QAction::triggered, this, [this] { Guarded([this] { CopyStructureClick(); }); });
}

void StructureCommands::StructureClick() {
  if (!panel_->isVisible()) MoveBeside(*panel_, window_);
  panel_->show();
  panel_->raise();
}

// The scene as it stands, whether the panel is shown or not; a scene that cannot be analysed
// shows its error and leaves the clipboard as it was.
void StructureCommands::CopyStructureClick() {
  panel_->AnalyseNow();
  QApplication::clipboard()->setText(QString::fromStdString(panel_->Text()));
}

}  // namespace velmora

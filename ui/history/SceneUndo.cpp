#include "ui/history/SceneUndo.h"

#include <QAction>
#include <QMenu>

namespace velmora {

SceneUndo::SceneUndo(Model& model, QMenu* edit, QObject* parent)
    : QObject(parent), model_(model), undo_(new QAction(this)), redo_(new QAction(this)) {
  QAction* first = edit->actions().value(0, nullptr);
  edit->insertActions(first, {undo_, redo_});
  if (first) edit->insertSeparator(first);
  undo_->setObjectName(QStringLiteral("Undo1"));
  redo_->setObjectName(QStringLiteral("Redo1"));
  undo_->setShortcut(QKeySequence::Undo);
  redo_->setShortcuts({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
  connect(undo_, &QAction::triggered, this, [this] {
    if (history_.CanUndo()) Restore(history_.Undo());
  });
  connect(redo_, &QAction::triggered, this, [this] {
    if (history_.CanRedo()) Restore(history_.Redo());
  });
  Update();
}

void SceneUndo::Command(const std::string& name, const std::function<void()>& command) {
  Session entry(*this);
  entry.name = name;
  command();
}

void SceneUndo::Begin() {
  if (begun_.empty()) emit AboutToChange();
  begun_.push_back(model_.Scene());
}

void SceneUndo::End(const std::string& name) {
  if (begun_.empty()) return;
  const SceneState before = std::move(begun_.back());
  begun_.pop_back();
  if (begun_.empty() && history_.Record(name, before, model_)) Update();
}

void SceneUndo::SetRunning(bool running) {
  running_ = running;
  Update();
}

void SceneUndo::Clear() {
  history_.Clear();
  begun_.clear();
  Update();
  emit Cleared();
}

void SceneUndo::Restore(const SceneState& scene) {
  model_.Scene() = scene;
  Update();
  emit Restored();
}

void SceneUndo::Update() {
  const auto text = [](const char* verb, const std::string& name) {
    return name.empty() ? QString::fromLatin1(verb)
                        : QStringLiteral("%1 %2").arg(verb, QString::fromStdString(name));
  };
  undo_->setText(text("&Undo", history_.UndoName()));
  redo_->setText(text("&Redo", history_.RedoName()));
  undo_->setEnabled(!running_ && history_.CanUndo());
  redo_->setEnabled(!running_ && history_.CanRedo());
}

}  // namespace velmora

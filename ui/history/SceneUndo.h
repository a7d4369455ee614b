#pragma once
// Edit > Undo and Edit > Redo over the scene: every command that changes the scene runs through
// Command (or, when it spans a dialog or a run, between Begin and End) and becomes one entry of
// the history, named as the menu shows it ("Undo Run of 1,234 Steps", "Undo dt"). What a run
// changes, commands given while it runs included, is the run's one entry; Undo and Redo are
// closed during a run.

#include <QObject>
#include <functional>
#include <string>
#include <vector>

#include "history/UndoHistory.h"
#include "model/Model.h"

class QAction;
class QMenu;

namespace velmora {

class SceneUndo : public QObject {
  Q_OBJECT

 public:
  // Puts Undo (Ctrl+Z) and Redo (Ctrl+Shift+Z, Ctrl+Y) at the top of `edit`.
  SceneUndo(Model& model, QMenu* edit, QObject* parent);

  // Begin when made, End(name) when gone, an exception included.
  class Session {
   public:
    explicit Session(SceneUndo& undo) : undo_(undo) { undo_.Begin(); }
    ~Session() { undo_.End(name); }
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;
    std::string name;

   private:
    SceneUndo& undo_;
  };

  // Runs `command` as one entry named `name`; within a Begin and End it is part of theirs.
  void Command(const std::string& name, const std::function<void()>& command);
  // The scene as it stands begins an entry that End closes under `name` (the name may be known
  // only at the end, as a run's steps are). Begin and End nest; the outermost pair makes the entry.
  void Begin();
  void End(const std::string& name);
  // A run is going: Undo and Redo are closed until it ends.
  void SetRunning(bool running);
  // Another document: a new history; entries begun and not ended are dropped.
  void Clear();

  QAction* UndoAction() const { return undo_; }
  QAction* RedoAction() const { return redo_; }

 signals:
  // Undo or Redo put another scene in place: the window shows it.
  void Restored();
  // A command is about to change the scene (the outermost Begin), before it is noted.
  void AboutToChange();
  // A new history began.
  void Cleared();

 private:
  void Restore(const SceneState& scene);
  void Update();

  Model& model_;
  UndoHistory history_;
  std::vector<SceneState> begun_;
  bool running_ = false;
  QAction* undo_;
  QAction* redo_;
};

}  // namespace velmora

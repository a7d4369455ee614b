#pragma once
// Undo and redo of the commands that change the scene. Each entry is one user command under the
// name the Edit menu shows ("Run of 1,234 Steps", "Editor Changes", "dt", ...), holding the scene
// before and after it, so that Undo and Redo restore it bit for bit. The clean mark is the place
// in the history of the last save: the document is unmodified exactly when the history stands
// there again.

#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>

#include "model/Model.h"

namespace velmora {

class UndoHistory {
 public:
  static constexpr std::size_t DefaultLevels = 250;

  // Keeps the last `levels` commands; older ones are forgotten.
  explicit UndoHistory(std::size_t levels = DefaultLevels);

  // Records a command that took the scene from `before` to `after` and forgets the commands
  // undone before it. A command that changed no bit is no entry: returns false.
  bool Record(const std::string& name, const SceneState& before, const SceneState& after);

  bool CanUndo() const { return done_ > 0; }
  bool CanRedo() const { return done_ < entries_.size(); }
  // The names of the commands Undo and Redo would take back or do again; empty when none.
  std::string UndoName() const;
  std::string RedoName() const;

  // Steps back over the last command done and gives the scene before it; CanUndo must hold.
  const SceneState& Undo();
  // Steps forward over the next command undone and gives the scene after it; CanRedo must hold.
  const SceneState& Redo();

  // The document was saved as the history stands now.
  void MarkClean();
  // Whether the history stands where the document was last saved (or opened).
  bool IsClean() const { return clean_ == done_; }

  // A new history for another document: no entries, clean.
  void Clear();

  std::size_t Size() const { return entries_.size(); }

 private:
  struct Entry {
    std::string name;
    SceneState before, after;
  };

  std::size_t levels_;
  std::deque<Entry> entries_;
  std::size_t done_ = 0;  // entries_[0 .. done_) are done, the rest undone
  // Where the last save left the history; none once that place was forgotten or cut away.
  std::optional<std::size_t> clean_ = 0;
};

// "Run of 1 Step", "Run of 1,234 Steps": the entry of a run.
std::string RunEntryName(std::uint64_t steps);
// "Resume from Step 1,234": a kept step of a run made the scene.
std::string ResumeEntryName(std::uint64_t step);

}  // namespace velmora

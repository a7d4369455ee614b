#include "history/UndoHistory.h"

#include <stdexcept>

namespace velmora {

UndoHistory::UndoHistory(std::size_t levels) : levels_(levels) {}

bool UndoHistory::Record(const std::string& name, const SceneState& before, const SceneState& after) {
  if (before == after) return false;
  entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(done_), entries_.end());
  if (clean_ && *clean_ > done_) clean_.reset();
  entries_.push_back({name, before, after});
  ++done_;
  if (entries_.size() > levels_) {
    entries_.pop_front();
    --done_;
    if (clean_) clean_ = *clean_ == 0 ? std::nullopt : std::optional<std::size_t>(*clean_ - 1);
  }
  return true;
}

std::string UndoHistory::UndoName() const { return CanUndo() ? entries_[done_ - 1].name : std::string(); }

std::string UndoHistory::RedoName() const { return CanRedo() ? entries_[done_].name : std::string(); }

const SceneState& UndoHistory::Undo() {
  if (!CanUndo()) throw std::logic_error("nothing to undo");
  return entries_[--done_].before;
}

const SceneState& UndoHistory::Redo() {
  if (!CanRedo()) throw std::logic_error("nothing to redo");
  return entries_[done_++].after;
}

void UndoHistory::MarkClean() { clean_ = done_; }

void UndoHistory::Clear() {
  entries_.clear();
  done_ = 0;
  clean_ = 0;
}

namespace {

// 1234567 as "1,234,567".
std::string Grouped(std::uint64_t number) {
  const std::string digits = std::to_string(number);
  std::string grouped;
  for (std::size_t k = 0; k < digits.size(); ++k) {
    if (k > 0 && (digits.size() - k) % 3 == 0) grouped += ',';
    grouped += digits[k];
  }
  return grouped;
}

}  // namespace

std::string RunEntryName(std::uint64_t steps) {
  return "Run of " + Grouped(steps) + (steps == 1 ? " Step" : " Steps");
}

std::string ResumeEntryName(std::uint64_t step) { return "Resume from Step " + Grouped(step); }

}  // namespace velmora

#include "documents/XyzFrameIndex.h"

#include <fcntl.h>

#include <cstring>
#include <optional>
#include <string_view>

#include "documents/IoErrors.h"
#include "model/ProgramError.h"

namespace velmora {

namespace {

// The lines of a file from start to end, read in large pieces; a line's text is gathered only
// when asked for, so that skipping the atom lines costs a search for each line feed. A line
// beyond MaxLineBytes (a file that is no text) is refused.
class LineScan {
 public:
  explicit LineScan(FileHandle& file) : file_(file), piece_(Piece) {}

  // Moves to the next line, gathering its text when `keep`; false at the end of the file.
  bool Next(bool keep) {
    start_ = PieceOffset();
    text_.clear();
    for (;;) {
      const auto* begin = piece_.data() + at_;
      const auto* found = static_cast<const unsigned char*>(std::memchr(begin, '\n', filled_ - at_));
      const std::size_t length = (found ? found - piece_.data() : filled_) - at_;
      if (keep) text_.append(reinterpret_cast<const char*>(begin), length);
      at_ += length + (found ? 1 : 0);
      if (PieceOffset() - start_ > MaxLineBytes)
        throw ProgramError(LineText() + ": longer than " + std::to_string(MaxLineBytes) + " bytes");
      if (found) break;
      if (!Fill()) {
        if (PieceOffset() == start_) return false;
        break;
      }
    }
    if (!text_.empty() && text_.back() == '\r') text_.pop_back();
    ++index_;
    return true;
  }

  std::uint64_t Start() const { return start_; }
  // Where the line just given ends, its line feed included.
  std::uint64_t End() const { return PieceOffset(); }
  std::uint64_t Index() const { return index_ - 1; }
  std::string_view Text() const { return text_; }
  std::string LineText() const { return "line " + std::to_string(index_ + 1); }

 private:
  static constexpr std::size_t Piece = 1 << 20;
  static constexpr std::uint64_t MaxLineBytes = 1 << 20;

  std::uint64_t PieceOffset() const { return pieceStart_ + at_; }
  bool Fill() {
    pieceStart_ += filled_;
    filled_ = file_.Read(piece_.data(), Piece);
    at_ = 0;
    return filled_ > 0;
  }

  FileHandle& file_;
  std::vector<unsigned char> piece_;
  std::uint64_t pieceStart_ = 0;
  std::size_t filled_ = 0, at_ = 0;
  std::uint64_t start_ = 0, index_ = 0;
  std::string text_;
};

bool Blank(std::string_view line) { return line.find_first_not_of(" \t") == std::string_view::npos; }

}  // namespace

XyzFrameIndex::XyzFrameIndex(const std::string& name) : name_(name), file_(FileHandle::Open(name, O_RDONLY)) {
  if (!file_.IsOpen()) throw NamedIoError(name, SystemIoError(file_.Error()));
  try {
    Scan();
  } catch (const IoError& error) {
    throw NamedIoError(name, error);
  }
  if (Frames() == 0) throw ProgramError(damage_.empty() ? name + ": no frame in the file" : damage_);
}

std::string XyzFrameIndex::FrameError(std::size_t frame, const std::string& what) const {
  return name_ + ": frame " + std::to_string(frame + 1) + ", " + what;
}

// Frame after frame: its first line gives the number of atoms, then the comment line and the
// atom lines are skipped. Blank lines may follow the last frame only.
void XyzFrameIndex::Scan() {
  LineScan scan(file_);
  std::optional<std::uint64_t> blank;
  try {
    while (scan.Next(true)) {
      if (Blank(scan.Text())) {
        blank = blank.value_or(scan.Index());
        continue;
      }
      if (blank) XyzAtomCount("", *blank);
      const std::uint64_t first = scan.Index(), start = scan.Start();
      const std::size_t atoms = XyzAtomCount(scan.Text(), first);
      for (std::size_t k = 0; k <= atoms; ++k)
        if (!scan.Next(false))
          throw ProgramError("line " + std::to_string(first + 1) + ": the frame announces " +
                             std::to_string(atoms) + " atoms, but the file ends before them");
      if (offsets_.empty()) offsets_.push_back(start);
      offsets_.push_back(scan.End());
      lines_.push_back(first);
    }
  } catch (const IoError&) {
    throw;
  } catch (const ProgramError& error) {
    damage_ = FrameError(lines_.size(), error.what());
  }
}

XyzFrame XyzFrameIndex::Frame(int k) const {
  const auto frame = static_cast<std::size_t>(k);
  std::string text(offsets_.at(frame + 1) - offsets_.at(frame), '\0');
  try {
    if (file_.ReadAt(offsets_[frame], reinterpret_cast<unsigned char*>(text.data()), text.size()) <
        text.size())
      throw ProgramError("line " + std::to_string(lines_[frame] + 1) +
                         ": the file ends before the frame; it was cut since it was opened");
    return ParseXyzFrame(text, lines_[frame]);
  } catch (const IoError& error) {
    throw NamedIoError(name_, error);
  } catch (const ProgramError& error) {
    throw ProgramError(FrameError(frame, error.what()));
  }
}

}  // namespace velmora

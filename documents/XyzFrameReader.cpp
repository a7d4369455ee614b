#include "documents/XyzFrameReader.h"

#include <fcntl.h>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <optional>
#include <string_view>

#include "documents/FileHandle.h"
#include "documents/IoErrors.h"
#include "model/Model.h"
#include "model/ProgramError.h"
#include "text/QuotedText.h"

namespace velmora {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::vector<std::string_view> Words(std::string_view line) {
  std::vector<std::string_view> words;
  std::size_t i = 0;
  while (true) {
    while (i < line.size() && IsBlank(line[i])) ++i;
    if (i == line.size()) return words;
    const std::size_t start = i;
    while (i < line.size() && !IsBlank(line[i])) ++i;
    words.push_back(line.substr(start, i - start));
  }
}

[[noreturn]] void Fail(std::size_t line, const std::string& what) {
  throw ProgramError("line " + std::to_string(line + 1) + ": " + what);
}

template <class Number>
std::optional<Number> Parse(std::string_view word) {
  if (!word.empty() && word.front() == '+') word.remove_prefix(1);
  Number value{};
  const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
  if (error != std::errc() || end != word.data() + word.size()) return std::nullopt;
  return value;
}

bool EqualNoCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
         });
}

// The value of a key of a comment line of key=value pairs, where a value may be quoted.
std::optional<std::string> CommentValue(std::string_view line, std::string_view wanted) {
  std::size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && IsBlank(line[i])) ++i;
    const std::size_t keyStart = i;
    while (i < line.size() && !IsBlank(line[i]) && line[i] != '=') ++i;
    const std::string_view key = line.substr(keyStart, i - keyStart);
    if (i == line.size() || line[i] != '=') continue;
    std::string value;
    if (++i < line.size() && line[i] == '"') {
      for (++i; i < line.size() && line[i] != '"'; ++i) {
        if (line[i] == '\\' && i + 1 < line.size()) ++i;
        value += line[i];
      }
      ++i;
    } else {
      while (i < line.size() && !IsBlank(line[i])) value += line[i++];
    }
    if (EqualNoCase(key, wanted)) return value;
  }
  return std::nullopt;
}

// The columns the comment line names; the default column list when it names none.
std::string PropertiesOf(std::string_view line) {
  return CommentValue(line, "Properties").value_or("species:S:1:pos:R:3");
}

// Where the columns of the frame lie among the words of an atom line.
struct Columns {
  std::size_t words = 0;
  std::optional<std::size_t> pos, velo, slot;
};

Columns ColumnsOf(const std::string& properties, std::size_t line) {
  Columns columns;
  std::vector<std::string_view> fields;
  std::string_view rest = properties;
  while (true) {
    const std::size_t colon = rest.find(':');
    fields.push_back(rest.substr(0, colon));
    if (colon == std::string_view::npos) break;
    rest.remove_prefix(colon + 1);
  }
  if (fields.size() % 3 != 0)
    Fail(line, "Properties " + Quoted(properties) + " is not a list of name:type:count");
  for (std::size_t f = 0; f < fields.size(); f += 3) {
    const std::string_view name = fields[f], type = fields[f + 1];
    const auto count = Parse<int>(fields[f + 2]);
    if (!count || *count < 1 || type.size() != 1 ||
        std::string_view("SRIL").find(type[0]) == std::string_view::npos)
      Fail(line, "Properties " + Quoted(properties) + " has a malformed column " + Quoted(name));
    const auto wants = [&](std::string_view column, char columnType, int columnCount) {
      if (name != column) return false;
      if (type[0] != columnType || *count != columnCount)
        Fail(line,
             "the column " + Quoted(name) + " must be " + columnType + ":" + std::to_string(columnCount));
      return true;
    };
    if (wants("pos", 'R', 3)) columns.pos = columns.words;
    if (wants("velo", 'R', 3)) columns.velo = columns.words;
    if (wants("slot", 'I', 1)) columns.slot = columns.words;
    columns.words += static_cast<std::size_t>(*count);
  }
  if (!columns.pos) Fail(line, "Properties " + Quoted(properties) + " has no column pos:R:3");
  return columns;
}

std::array<double, 3> Triple(const std::vector<std::string_view>& words, std::size_t first,
                             std::size_t line) {
  std::array<double, 3> values{};
  for (std::size_t a = 0; a < 3; ++a) {
    const auto value = Parse<double>(words[first + a]);
    if (!value) Fail(line, Quoted(words[first + a]) + " is not a number");
    values[a] = *value;
  }
  return values;
}

std::size_t AtomCount(std::string_view line, std::size_t index) {
  const auto words = Words(line);
  const auto count = words.size() == 1 ? Parse<long long>(words[0]) : std::nullopt;
  if (!count || *count < 0) Fail(index, "a frame must begin with its number of atoms, not " + Quoted(line));
  // Refused here, before the frame's lines are held: no frame of more atoms can be placed.
  if (*count > SlotCount)
    throw ProgramError(std::to_string(*count) + " atoms, but a scene holds at most " +
                       std::to_string(SlotCount));
  return static_cast<std::size_t>(*count);
}

// The lines of one frame, its number of atoms first, and the index of that line in the file.
struct FrameText {
  std::size_t first = 0;
  std::string text;               // the lines one after another
  std::vector<std::size_t> ends;  // where each line ends in text

  std::string_view Line(std::size_t k) const {
    const std::size_t begin = k == 0 ? 0 : ends[k - 1];
    return std::string_view(text).substr(begin, ends[k] - begin);
  }
  void Start(std::size_t index) {
    first = index;
    text.clear();
    ends.clear();
  }
  void Add(std::string_view line) {
    text += line;
    ends.push_back(text.size());
  }
};

XyzFrame ParseFrame(const FrameText& lines) {
  const Columns columns = ColumnsOf(PropertiesOf(lines.Line(1)), lines.first + 1);
  XyzFrame frame;
  frame.withSlots = columns.slot.has_value();
  frame.withVelocities = columns.velo.has_value();
  if (const auto step = CommentValue(lines.Line(1), "Step")) frame.step = Parse<long long>(*step);
  for (std::size_t k = 2; k < lines.ends.size(); ++k) {
    const std::size_t index = lines.first + k;
    const auto words = Words(lines.Line(k));
    if (words.size() != columns.words)
      Fail(index,
           std::to_string(words.size()) + " columns where Properties gives " + std::to_string(columns.words));
    PlacedAtom atom;
    atom.position = Triple(words, *columns.pos, index);
    if (columns.velo) atom.velocity = Triple(words, *columns.velo, index);
    if (columns.slot) {
      const auto slot = Parse<int>(words[*columns.slot]);
      if (!slot) Fail(index, Quoted(words[*columns.slot]) + " is not a slot number");
      atom.slot = *slot;
    }
    frame.atoms.push_back(atom);
  }
  return frame;
}

// The lines of a file one by one, read in pieces, so that only the line at hand is held; a
// carriage return before the line's end is dropped. A line beyond MaxLineBytes (a file that is
// no text, such as /dev/zero) is refused before it fills the memory.
class LineReader {
 public:
  explicit LineReader(FileHandle& file) : file_(file) {}

  // The next line, or false at the end of the file.
  bool Next(std::string& line) {
    line.clear();
    for (;;) {
      const std::size_t end = buffer_.find('\n', begin_);
      const bool ended = end != std::string::npos;
      line.append(buffer_, begin_, (ended ? end : buffer_.size()) - begin_);
      begin_ = ended ? end + 1 : buffer_.size();
      if (line.size() > MaxLineBytes) Fail(index_, "longer than " + std::to_string(MaxLineBytes) + " bytes");
      if (ended) break;
      if (!Fill()) {
        if (line.empty()) return false;
        break;
      }
    }
    if (!line.empty() && line.back() == '\r') line.pop_back();
    ++index_;
    return true;
  }
  // The index of the line Next gave last.
  std::size_t Index() const { return index_ - 1; }

 private:
  static constexpr std::size_t Piece = 1 << 16;
  static constexpr std::size_t MaxLineBytes = 1 << 20;

  // Reads the next piece of the file; false at its end.
  bool Fill() {
    buffer_.resize(Piece);
    buffer_.resize(file_.Read(reinterpret_cast<unsigned char*>(buffer_.data()), Piece));
    begin_ = 0;
    return !buffer_.empty();
  }

  FileHandle& file_;
  std::string buffer_;
  std::size_t begin_ = 0;
  std::size_t index_ = 0;
};

// Reads frame after frame, keeping the text of the last complete one only. Blank lines after
// the last frame are no frame.
XyzFrame LastFrame(LineReader& reader) {
  FrameText last, current;
  std::size_t announced = 0;  // atoms of the current frame
  std::size_t missing = 0;    // lines the current frame still needs
  std::optional<std::size_t> blank;
  for (std::string line; reader.Next(line);) {
    const std::size_t index = reader.Index();
    if (missing > 0) {
      current.Add(line);
      if (--missing == 0) std::swap(last, current);
      continue;
    }
    if (Words(line).empty()) {
      blank = blank.value_or(index);
      continue;
    }
    if (blank) AtomCount("", *blank);
    announced = AtomCount(line, index);
    current.Start(index);
    current.Add(line);
    missing = announced + 1;
  }
  if (missing > 0)
    Fail(current.first,
         "the frame announces " + std::to_string(announced) + " atoms, but the file ends before them");
  if (last.ends.empty()) throw ProgramError("no frame in the file");
  return ParseFrame(last);
}

}  // namespace

std::size_t XyzAtomCount(std::string_view line, std::size_t firstLine) { return AtomCount(line, firstLine); }

XyzFrame ParseXyzFrame(std::string_view text, std::size_t firstLine) {
  FrameText lines;
  lines.Start(firstLine);
  while (!text.empty()) {
    const std::size_t end = std::min(text.find('\n'), text.size());
    std::string_view line = text.substr(0, end);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.Add(line);
    text.remove_prefix(std::min(end + 1, text.size()));
  }
  if (lines.ends.size() < 2) Fail(firstLine, "a frame needs its number of atoms and a comment line");
  return ParseFrame(lines);
}

XyzFrame ReadLastXyzFrame(const std::string& name) {
  FileHandle file = FileHandle::Open(name, O_RDONLY);
  if (!file.IsOpen()) throw NamedIoError(name, SystemIoError(file.Error()));
  LineReader reader(file);
  try {
    return LastFrame(reader);
  } catch (const IoError& error) {
    throw NamedIoError(name, error);
  } catch (const ProgramError& error) {
    throw ProgramError(ShownName(name) + ": " + error.what());
  }
}

}  // namespace velmora

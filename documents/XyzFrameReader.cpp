#include "documents/XyzFrameReader.h"

#include <fcntl.h>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <optional>
#include <string_view>

#include "documents/FileHandle.h"
#include "documents/IoErrors.h"
#include "model/ProgramError.h"

namespace velmora {

namespace {

std::vector<std::string_view> Lines(std::string_view text) {
  std::vector<std::string_view> lines;
  while (!text.empty()) {
    const std::size_t end = std::min(text.find('\n'), text.size());
    std::string_view line = text.substr(0, end);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.push_back(line);
    text.remove_prefix(std::min(end + 1, text.size()));
  }
  return lines;
}

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

// The value of the Properties key of a comment line of key=value pairs, where a value may be
// quoted; the default column list when there is none.
std::string PropertiesOf(std::string_view line) {
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
    if (EqualNoCase(key, "Properties")) return value;
  }
  return "species:S:1:pos:R:3";
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
  if (fields.size() % 3 != 0) Fail(line, "Properties '" + properties + "' is not a list of name:type:count");
  for (std::size_t f = 0; f < fields.size(); f += 3) {
    const std::string_view name = fields[f], type = fields[f + 1];
    const auto count = Parse<int>(fields[f + 2]);
    if (!count || *count < 1 || type.size() != 1 || std::string_view("SRIL").find(type[0]) == std::string_view::npos)
      Fail(line, "Properties '" + properties + "' has a malformed column '" + std::string(name) + "'");
    const auto wants = [&](std::string_view column, char columnType, int columnCount) {
      if (name != column) return false;
      if (type[0] != columnType || *count != columnCount)
        Fail(line, "the column '" + std::string(name) + "' must be " + columnType + ":" + std::to_string(columnCount));
      return true;
    };
    if (wants("pos", 'R', 3)) columns.pos = columns.words;
    if (wants("velo", 'R', 3)) columns.velo = columns.words;
    if (wants("slot", 'I', 1)) columns.slot = columns.words;
    columns.words += static_cast<std::size_t>(*count);
  }
  if (!columns.pos) Fail(line, "Properties '" + properties + "' has no column pos:R:3");
  return columns;
}

std::array<double, 3> Triple(const std::vector<std::string_view>& words, std::size_t first, std::size_t line) {
  std::array<double, 3> values{};
  for (std::size_t a = 0; a < 3; ++a) {
    const auto value = Parse<double>(words[first + a]);
    if (!value) Fail(line, "'" + std::string(words[first + a]) + "' is not a number");
    values[a] = *value;
  }
  return values;
}

std::size_t AtomCount(std::string_view line, std::size_t index) {
  const auto words = Words(line);
  const auto count = words.size() == 1 ? Parse<long long>(words[0]) : std::nullopt;
  if (!count || *count < 0) Fail(index, "a frame must begin with its number of atoms, not '" + std::string(line) + "'");
  return static_cast<std::size_t>(*count);
}

XyzFrame ParseFrame(const std::vector<std::string_view>& lines, std::size_t first, std::size_t count) {
  const Columns columns = ColumnsOf(PropertiesOf(lines[first + 1]), first + 1);
  XyzFrame frame;
  frame.withSlots = columns.slot.has_value();
  for (std::size_t k = 0; k < count; ++k) {
    const std::size_t index = first + 2 + k;
    const auto words = Words(lines[index]);
    if (words.size() != columns.words)
      Fail(index, std::to_string(words.size()) + " columns where Properties gives " + std::to_string(columns.words));
    PlacedAtom atom;
    atom.position = Triple(words, *columns.pos, index);
    if (columns.velo) atom.velocity = Triple(words, *columns.velo, index);
    if (columns.slot) {
      const auto slot = Parse<int>(words[*columns.slot]);
      if (!slot) Fail(index, "'" + std::string(words[*columns.slot]) + "' is not a slot number");
      atom.slot = *slot;
    }
    frame.atoms.push_back(atom);
  }
  return frame;
}

std::string WholeFile(const std::string& name) {
  FileHandle file = FileHandle::Open(name, O_RDONLY);
  if (!file.IsOpen()) throw SystemIoError(file.Error());
  constexpr std::size_t Piece = 1 << 20;
  std::string text;
  std::size_t read = 0;
  do {
    text.resize(text.size() + Piece);
    read = file.Read(reinterpret_cast<unsigned char*>(text.data()) + text.size() - Piece, Piece);
    text.resize(text.size() - Piece + read);
  } while (read == Piece);
  return text;
}

}  // namespace

XyzFrame ParseLastXyzFrame(const std::string& text) {
  const std::vector<std::string_view> lines = Lines(text);
  std::size_t end = lines.size();
  while (end > 0 && Words(lines[end - 1]).empty()) --end;
  if (end == 0) throw ProgramError("no frame in the file");
  std::size_t first = 0, count = 0;
  for (std::size_t next = 0; next < end; next += count + 2) {
    first = next;
    count = AtomCount(lines[first], first);
    if (end - first < count + 2)
      Fail(first, "the frame announces " + std::to_string(count) + " atoms, but the file ends before them");
  }
  return ParseFrame(lines, first, count);
}

XyzFrame ReadLastXyzFrame(const std::string& name) {
  std::string text;
  try {
    text = WholeFile(name);
  } catch (const IoError& error) {
    throw IoError(error.code(), name + ": " + error.what());
  }
  try {
    return ParseLastXyzFrame(text);
  } catch (const ProgramError& error) {
    throw ProgramError(name + ": " + error.what());
  }
}

}  // namespace velmora

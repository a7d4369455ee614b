#include "text/QuotedText.h"

#include <cstdio>

namespace velmora {

namespace {

unsigned Byte(std::string_view text, std::size_t at) { return static_cast<unsigned char>(text[at]); }

bool IsContinuation(unsigned byte) { return (byte & 0xC0) == 0x80; }

// The length of the UTF-8 character at `at`: 1 for ASCII, 0 for a byte that begins none.
std::size_t CharacterLength(std::string_view text, std::size_t at) {
  const unsigned byte = Byte(text, at);
  const std::size_t length = byte < 0x80                    ? 1
                             : byte >= 0xC2 && byte <= 0xDF ? 2
                             : byte >= 0xE0 && byte <= 0xEF ? 3
                             : byte >= 0xF0 && byte <= 0xF4 ? 4
                                                            : 0;
  if (at + length > text.size()) return 0;
  for (std::size_t k = 1; k < length; ++k)
    if (!IsContinuation(Byte(text, at + k))) return 0;
  return length;
}

// Whether the character (or stray byte) of `length` bytes at `at` is one a terminal acts on:
// C0 controls and DEL; C1 controls, U+0080 .. U+009F as the bytes C2 80 .. C2 9F of UTF-8 or as
// the single bytes 80 .. 9F that an 8-bit terminal takes.
bool IsControl(std::string_view text, std::size_t at, std::size_t length) {
  const unsigned byte = Byte(text, at);
  if (length == 1) return byte < 0x20 || byte == 0x7F;
  if (length == 2) return byte == 0xC2 && Byte(text, at + 1) <= 0x9F;
  return length == 0 && byte >= 0x80 && byte <= 0x9F;
}

bool HoldsControls(std::string_view text) {
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t length = CharacterLength(text, at);
    if (IsControl(text, at, length)) return true;
    at += length > 0 ? length : 1;
  }
  return false;
}

}  // namespace

std::string Quoted(std::string_view text) {
  std::size_t length = text.size();
  if (length > QuotedLength) {
    length = QuotedLength;
    while (length > 0 && IsContinuation(Byte(text, length))) --length;
  }
  const std::string_view shown = text.substr(0, length);
  std::string quoted = "'";
  for (std::size_t at = 0; at < shown.size();) {
    const std::size_t character = CharacterLength(shown, at);
    const std::size_t bytes = character > 0 ? character : 1;
    if (!IsControl(shown, at, character)) {
      quoted += shown.substr(at, bytes);
    } else {
      for (std::size_t k = at; k < at + bytes; ++k) {
        char escaped[5];
        std::snprintf(escaped, sizeof escaped, "\\x%02X", Byte(shown, k));
        quoted += escaped;
      }
    }
    at += bytes;
  }
  return quoted + (length < text.size() ? "'..." : "'");
}

std::string ShownName(std::string_view name) {
  if (name.size() <= QuotedLength && !HoldsControls(name)) return std::string(name);
  return Quoted(name);
}

}  // namespace velmora

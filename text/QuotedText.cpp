#include "text/QuotedText.h"

#include <cstdio>

namespace velmora {

namespace {

bool IsContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

// C0 controls and DEL; C1 controls are U+0080 .. U+009F, the bytes C2 80 .. C2 9F.
bool IsControl(std::string_view text, std::size_t at) {
  const auto byte = static_cast<unsigned char>(text[at]);
  if (byte < 0x20 || byte == 0x7F) return true;
  const auto next = [&](std::size_t i) { return i < text.size() ? static_cast<unsigned char>(text[i]) : 0u; };
  if (byte == 0xC2) return next(at + 1) >= 0x80 && next(at + 1) <= 0x9F;
  return IsContinuation(byte) && at > 0 && static_cast<unsigned char>(text[at - 1]) == 0xC2 && byte <= 0x9F;
}

}  // namespace

std::string Quoted(std::string_view text) {
  std::size_t length = text.size();
  if (length > QuotedLength) {
    length = QuotedLength;
    while (length > 0 && IsContinuation(static_cast<unsigned char>(text[length]))) --length;
  }
  std::string quoted = "'";
  for (std::size_t at = 0; at < length; ++at) {
    if (!IsControl(text, at)) {
      quoted += text[at];
      continue;
    }
    char escaped[5];
    std::snprintf(escaped, sizeof escaped, "\\x%02X", static_cast<unsigned char>(text[at]));
    quoted += escaped;
  }
  return quoted + (length < text.size() ? "'..." : "'");
}

}  // namespace velmora

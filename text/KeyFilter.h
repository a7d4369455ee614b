#pragma once
// The per-character filter of the numeric edit fields. It lets through what a number can be
// typed with in either locale ("," and "." both pass, "-" anywhere), so a field can still hold
// text that the conversion rejects; the conversion, not the filter, decides.

namespace velmora {

constexpr char32_t Backspace = 8;
// The character a rejected key is replaced by; the field does not insert it.
constexpr char32_t Escape = 27;

constexpr bool KeyFilterAccepts(char32_t ch) {
  return (ch >= U'0' && ch <= U'9') || ch == U',' || ch == U'-' || ch == U'.' || ch == Backspace;
}

// The key the field receives: the typed one when the filter accepts it, otherwise Escape.
constexpr char32_t FilterKey(char32_t ch) { return KeyFilterAccepts(ch) ? ch : Escape; }

}  // namespace velmora

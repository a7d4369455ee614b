#pragma once
// Outside input as an error message quotes it: a line of a file may be megabytes long and hold
// a terminal's escape sequences, and the message goes to that terminal.

#include <string>
#include <string_view>

namespace velmora {

inline constexpr std::size_t QuotedLength = 200;

// The text between single quotes: at most QuotedLength bytes of it (never part of a character),
// followed by "..." when there is more; control characters, DEL, the two-byte control
// characters of UTF-8 and the bytes 0x80 .. 0x9F that are no part of a UTF-8 character (an
// 8-bit terminal's controls) are written as \xNN for each of their bytes.
std::string Quoted(std::string_view text);
// A file's name as a message shows it: as it is when it is at most QuotedLength bytes and holds
// nothing a terminal acts on, Quoted otherwise.
std::string ShownName(std::string_view name);

}  // namespace velmora

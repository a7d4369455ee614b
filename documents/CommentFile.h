#pragma once
// The comment file beside each document: the whole text of the comment memo, plain 8-bit text
// with its lines separated by CR LF.
//
// Line ends: the file's form is the memo's text with every line end written as CR LF, and a
// line end after the last line only when the memo's text ends with one. Text read from a file
// has every lone CR or lone LF turned into CR LF. A memo that keeps its lines with "\n" (as the
// window's does) converts with WithLineEnds(text, "\n") after reading; WriteCommentFile accepts
// any of the three line ends and writes CR LF.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "model/Model.h"

namespace velmora {

// What the memo holds at most. No comment a person writes comes near it, and a stray large file
// cannot freeze the window by being loaded into the memo.
constexpr std::size_t MemoCapacity = 1024 * 1024;

inline constexpr std::string_view CrLf = "\r\n";

// name without its last four characters (the ".ato", whatever it is), then ".txt":
// "/scenes/cube.ato" gives "/scenes/cube.txt", "ThetraSpiral" gives "ThetraSp.txt".
std::string CommentFileName(const std::string& name);

// Every line end of text (CR LF, a lone CR or a lone LF) written as lineEnd.
std::string WithLineEnds(std::string_view text, std::string_view lineEnd);

// The whole file as the memo's new text, its line ends made CR LF; nothing when the file cannot
// be opened. Throws ProgramError "Text exceeds memo capacity" when that text is longer than
// MemoCapacity bytes, and IoError when reading fails after the file was opened.
std::optional<std::string> ReadCommentFile(const std::string& name);

// ReadCommentFile of the current document's comment file.
std::optional<std::string> LoadComment(const Model& model);

// Replaces the comment file `name` by memoText with CR LF line ends, safely as documents are.
void WriteCommentFile(const std::string& name, std::string_view memoText);

}  // namespace velmora

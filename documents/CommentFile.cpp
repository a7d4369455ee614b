#include "documents/CommentFile.h"

#include <fcntl.h>

#include "documents/FileHandle.h"
#include "documents/IoErrors.h"
#include "documents/SafeWrite.h"
#include "model/ProgramError.h"

namespace velmora {

namespace {

constexpr std::size_t ReplacedCharacters = 4;

bool IsUtf8Continuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

ProgramError TooLongForMemo() { return ProgramError("Text exceeds memo capacity"); }

}  // namespace

// Names are UTF-8: a character is a lead byte with its continuation bytes, so cutting
// characters never leaves half of one behind.
std::string CommentFileName(const std::string& name) {
  std::size_t end = name.size();
  for (std::size_t removed = 0; removed < ReplacedCharacters && end > 0; ++removed) {
    --end;
    while (end > 0 && IsUtf8Continuation(name[end])) --end;
  }
  return name.substr(0, end) + ".txt";
}

std::string WithLineEnds(std::string_view text, std::string_view lineEnd) {
  std::string result;
  result.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r') {
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
      result += lineEnd;
    } else if (text[i] == '\n') {
      result += lineEnd;
    } else {
      result += text[i];
    }
  }
  return result;
}

std::optional<std::string> ReadCommentFile(const std::string& name) {
  FileHandle file = FileHandle::Open(name, O_RDONLY);
  if (!file.IsOpen()) return std::nullopt;
  // One byte more than fits tells a file that is too long without reading all of it; the
  // line ends only lengthen the text.
  std::string bytes(MemoCapacity + 1, '\0');
  bytes.resize(
      AtFile(name, [&] { return file.Read(reinterpret_cast<unsigned char*>(bytes.data()), bytes.size()); }));
  if (bytes.size() > MemoCapacity) throw TooLongForMemo();
  std::string text = WithLineEnds(bytes, CrLf);
  if (text.size() > MemoCapacity) throw TooLongForMemo();
  return text;
}

std::optional<std::string> LoadComment(const Model& model) {
  return ReadCommentFile(CommentFileName(model.DocFileName));
}

void WriteCommentFile(const std::string& name, std::string_view memoText) {
  WriteFileSafely(name, WithLineEnds(memoText, CrLf));
}

}  // namespace velmora

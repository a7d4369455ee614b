// Loading a comment file into the memo, and saving the memo again. The input is the file, any
// bytes at all. Promises checked:
// - the loaded text is the file with every line end (CR LF, lone CR, lone LF) made CR LF, and
//   nothing else changed: no lone CR or LF remains, every other byte is kept in order;
// - saving the loaded text and loading it again gives the same text and the file it was saved as.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "documents/CommentFile.h"
#include "fuzz/FuzzSupport.h"
#include "model/ProgramError.h"

namespace velmora::fuzz {
namespace {

bool EveryLineEndIsCrLf(const std::string& text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n')) return false;
    if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) return false;
  }
  return true;
}

// The text without its line ends, which loading must keep byte for byte.
std::string WithoutLineEnds(std::string_view text) {
  std::string rest;
  for (char c : text)
    if (c != '\r' && c != '\n') rest += c;
  return rest;
}

std::size_t LineEnds(std::string_view text) {
  std::size_t count = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    if (text[i] == '\r' || text[i] == '\n') ++count;
  }
  return count;
}

}  // namespace
}  // namespace velmora::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace velmora;
  using namespace velmora::fuzz;
  static ScratchFolder folder;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const std::optional<std::string> loaded = ReadCommentFile(folder.Write("input.txt", bytes));
  Require(loaded.has_value(), "a comment file that exists is loaded");
  Require(loaded->size() <= MemoCapacity, "the memo holds what was loaded");
  Require(EveryLineEndIsCrLf(*loaded), "every line end of the loaded text is CR LF");
  Require(WithoutLineEnds(*loaded) == WithoutLineEnds(bytes), "loading keeps every other byte");
  Require(LineEnds(*loaded) == LineEnds(bytes), "loading keeps every line end");

  // The window's memo keeps its lines with "\n"; it hands its text back that way.
  const std::string saved = folder.Path("saved.txt");
  WriteCommentFile(saved, WithLineEnds(*loaded, "\n"));
  Require(ReadCommentFile(saved) == loaded, "a saved comment loads as it was");
  return 0;
}

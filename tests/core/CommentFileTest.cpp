#include <gtest/gtest.h>

#include <string>

#include "TemporaryFolder.h"
#include "documents/CommentFile.h"
#include "model/ProgramError.h"

namespace velmora {
namespace {

using namespace testing;

TEST(CommentFile, NameReplacesTheLastFourCharactersByTxt) {
  const struct {
    const char* document;
    const char* comment;
  } cases[] = {
      {"/scenes/cube.ato", "/scenes/cube.txt"},
      {"C:\\d\\a.ato", "C:\\d\\a.txt"},
      {"ThetraSpiral", "ThetraSp.txt"},  // a figure's title has no extension to lose
      {"/d/a.ATO", "/d/a.txt"},
      {"abc", ".txt"},
      {"", ".txt"},
      // Characters, not bytes: a name in UTF-8 is never cut inside a character.
      {"/d/scène", "/d/s.txt"},
      {"/d/日本語.ato", "/d/日本語.txt"},
      {"/d/a日本語x", "/d/a.txt"},
  };
  for (const auto& c : cases) EXPECT_EQ(CommentFileName(c.document), c.comment) << c.document;
}

TEST(CommentFile, LineEndsOfEveryKindBecomeTheChosenOne) {
  const struct {
    const char* text;
    const char* crLf;
    const char* lf;
  } cases[] = {
      {"", "", ""},
      {"one line", "one line", "one line"},
      {"a\r\nb", "a\r\nb", "a\nb"},
      {"a\rb\nc\r\nd", "a\r\nb\r\nc\r\nd", "a\nb\nc\nd"},
      {"ends\n", "ends\r\n", "ends\n"},
      {"\n\r", "\r\n\r\n", "\n\n"},  // LF then CR: two lone line ends
      {"\r\r\n", "\r\n\r\n", "\n\n"},
      {"\r\n\r\n\n", "\r\n\r\n\r\n", "\n\n\n"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(WithLineEnds(c.text, CrLf), c.crLf);
    EXPECT_EQ(WithLineEnds(c.text, "\n"), c.lf);
  }
}

TEST(CommentFile, ReadingTakesTheWholeFileWithItsLineEndsMadeCrLf) {
  TemporaryFolder folder;
  const std::string name = folder.Path("scene.txt");
  WriteBytes(name, "Caf\xE9 \x01\r\nsecond\rthird\nlast\n");
  EXPECT_EQ(ReadCommentFile(name), "Caf\xE9 \x01\r\nsecond\r\nthird\r\nlast\r\n");
  WriteBytes(name, "");
  EXPECT_EQ(ReadCommentFile(name), std::string());
}

TEST(CommentFile, AFileThatCannotBeOpenedGivesNothing) {
  TemporaryFolder folder;
  EXPECT_EQ(ReadCommentFile(folder.Path("missing.txt")), std::nullopt);
  EXPECT_EQ(ReadCommentFile(folder.Path("")), std::nullopt);  // a folder is no comment
}

TEST(CommentFile, LoadingUsesTheCurrentDocumentsCommentName) {
  TemporaryFolder folder;
  WriteBytes(folder.Path("scene.txt"), "about the scene");
  Model model;
  model.DocFileName = folder.Path("scene.ato");
  EXPECT_EQ(LoadComment(model), "about the scene");
  model.DocFileName = folder.Path("other.ato");
  EXPECT_EQ(LoadComment(model), std::nullopt);
}

TEST(CommentFile, TextBeyondTheMemosCapacityIsRefused) {
  TemporaryFolder folder;
  const std::string name = folder.Path("big.txt");
  WriteBytes(name, std::string(MemoCapacity, 'a'));
  EXPECT_EQ(ReadCommentFile(name)->size(), MemoCapacity);
  for (const std::string& bytes : {std::string(MemoCapacity + 1, 'a'),
                                   // fits as a file, but not once its line end is CR LF
                                   std::string(MemoCapacity - 1, 'a') + "\n"}) {
    WriteBytes(name, bytes);
    try {
      ReadCommentFile(name);
      ADD_FAILURE() << bytes.size() << " bytes accepted";
    } catch (const ProgramError& error) {
      EXPECT_STREQ(error.what(), "Text exceeds memo capacity");
    }
  }
}

TEST(CommentFile, WritingSeparatesTheMemosLinesByCrLf) {
  TemporaryFolder folder;
  const std::string name = folder.Path("scene.txt");
  const struct {
    const char* memo;
    const char* file;
  } cases[] = {
      {"", ""},
      {"first\nsecond", "first\r\nsecond"},  // no line end after the last line
      {"first\nsecond\n", "first\r\nsecond\r\n"},
      {"kept\r\nas is\r\n", "kept\r\nas is\r\n"},
      {"\n\n", "\r\n\r\n"},
  };
  for (const auto& c : cases) {
    WriteCommentFile(name, c.memo);
    EXPECT_EQ(ReadBytes(name), c.file) << c.memo;
    EXPECT_EQ(ReadCommentFile(name), c.file);
  }
  EXPECT_EQ(folder.Entries(), std::set<std::string>{"scene.txt"});
}

}  // namespace
}  // namespace velmora

#include <gtest/gtest.h>

#include "TemporaryFolder.h"
#include "documents/RecentDocuments.h"
#include "model/ProgramError.h"

namespace velmora {
namespace {

using namespace testing;
using Names = std::vector<std::string>;

// The list's file may have been edited by hand, or written on another system.
TEST(RecentDocuments, AFileIsReadAsTheProgramWouldHaveKeptIt) {
  TemporaryFolder folder;
  EnvironmentVariable config("XDG_CONFIG_HOME", folder.Path());
  EXPECT_EQ(ReadRecentDocuments(), Names{});  // no file yet
  ClearRecentDocuments();                     // makes the folder and an empty list
  const struct {
    const char* text;
    Names names;
  } cases[] = {
      {"", {}},
      {"/a.ato", {"/a.ato"}},
      {"/a.ato\r\n\r\n\n/b c.ato\r\n", {"/a.ato", "/b c.ato"}},
      {"/a.ato\n/b.ato\n/a.ato\n", {"/a.ato", "/b.ato"}},
      {"1\n2\n2\n3\n4\n5\n6\n7\n8\n9\n10\n", {"1", "2", "3", "4", "5", "6", "7", "8"}},
  };
  for (const auto& [text, names] : cases) {
    WriteBytes(RecentDocumentsPath(), text);
    EXPECT_EQ(ReadRecentDocuments(), names) << text;
  }
}

TEST(RecentDocuments, ANameThatCannotBeOneLineIsNotKept) {
  TemporaryFolder folder;
  EnvironmentVariable config("XDG_CONFIG_HOME", folder.Path("new"));
  AddRecentDocument("/a.ato");
  for (const char* name : {"/b\n.ato", "/b\r.ato", ""}) AddRecentDocument(name);
  EXPECT_EQ(ReadBytes(RecentDocumentsPath()), "/a.ato\n");
}

// Opening or saving a document goes through even when the list cannot be kept.
TEST(RecentDocuments, AListThatCannotBeWrittenFailsOnlyWhereAsked) {
  TemporaryFolder folder;
  WriteBytes(folder.Path("file"), "");
  EnvironmentVariable config("XDG_CONFIG_HOME", folder.Path("file"));
  EXPECT_THROW(AddRecentDocument("/a.ato"), IoError);
  EXPECT_NO_THROW(TryAddRecentDocument("/a.ato"));
}

}  // namespace
}  // namespace velmora

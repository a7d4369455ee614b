#include "documents/SafeWrite.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>

#include "TemporaryFolder.h"
#include "model/ProgramError.h"

namespace velmora {
namespace {

using testing::DropSuperuserRights;
using testing::ExitCodeInChildProcess;
using testing::ReadBytes;
using testing::TemporaryFolder;
using testing::WriteBytes;

mode_t ModeOf(const std::string& path) {
  struct stat status {};
  return ::lstat(path.c_str(), &status) == 0 ? status.st_mode : 0;
}

TEST(SafeWrite, KeepsTheReplacedFilesModeAndGivesANewFileTheUsualOne) {
  TemporaryFolder folder;
  const std::string name = folder.Path("a.ato");
  WriteBytes(name, "old content that is longer");
  ::chmod(name.c_str(), 0604);
  const mode_t saved = ::umask(027);
  WriteFileSafely(name, "new");
  WriteFileSafely(folder.Path("b.ato"), "new");
  ::umask(saved);
  EXPECT_EQ(ReadBytes(name), "new");
  EXPECT_EQ(ModeOf(name) & 07777, 0604u);
  EXPECT_EQ(ModeOf(folder.Path("b.ato")) & 07777, 0640u);  // 0666 less the umask
  EXPECT_EQ(folder.Entries(), (std::set<std::string>{"a.ato", "b.ato"}));
}

TEST(SafeWrite, ReplacesTheFileALinkPointsToAndKeepsTheLink) {
  TemporaryFolder folder;
  ASSERT_EQ(::mkdir(folder.Path("real").c_str(), 0700), 0);
  WriteBytes(folder.Path("real/a.ato"), "old");
  ASSERT_EQ(::symlink("real/a.ato", folder.Path("link.ato").c_str()), 0);
  WriteFileSafely(folder.Path("link.ato"), "new");
  EXPECT_TRUE(S_ISLNK(ModeOf(folder.Path("link.ato"))));
  EXPECT_EQ(ReadBytes(folder.Path("real/a.ato")), "new");
  EXPECT_EQ(folder.Entries("real"), std::set<std::string>{"a.ato"});
}

// Replacing by rename needs only the folder's permission; a file its owner made read-only is
// still refused, as writing it in place would be.
TEST(SafeWrite, RefusesAFileThatMayNotBeWritten) {
  TemporaryFolder folder;
  ::chmod(folder.Path().c_str(), 0777);
  const std::string name = folder.Path("locked.ato");
  WriteBytes(name, "old");
  ::chmod(name.c_str(), 0444);
  const int result = ExitCodeInChildProcess([&] {
    if (!DropSuperuserRights()) return 3;
    try {
      WriteFileSafely(name, "new");
      return 1;
    } catch (const IoError& error) {
      return error.what() == std::string("File access denied") ? 0 : 2;
    }
  });
  EXPECT_EQ(result, 0);
  EXPECT_EQ(ReadBytes(name), "old");
  EXPECT_EQ(folder.Entries(), std::set<std::string>{"locked.ato"});
}

}  // namespace
}  // namespace velmora

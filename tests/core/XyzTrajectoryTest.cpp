// Extended XYZ frames, and the pending file through which trajectories reach the disk (what a
// failed run leaves of a trajectory is tested with the batch run).

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>

#include "TemporaryFolder.h"
#include "documents/PendingFile.h"
#include "documents/XyzTrajectory.h"
#include "model/ProgramError.h"
#include "tests/core/SceneFactory.h"

namespace velmora {
namespace {

using namespace testing;

TEST(XyzTrajectory, FrameListsPresentSlotsWithSpeciesByGroup) {
  Model m = testing::EmptyScene();
  testing::Place(m, 1, 0.1L, -2.5L, 0.00001L);
  m.V[1] = 1.0L / 3.0L;
  m.U[1] = -0.0L;
  m.W[1] = 1e300L;
  m.X[2] = 9.0L;  // absent: not listed
  testing::Place(m, 60, 1.0L, 2.0L, 3.0L);
  testing::Place(m, 100, -1.0L, 0.0L, 1e-320L);
  std::string text = "kept\n";
  AppendXyzFrame(text, m, 7);
  EXPECT_EQ(text,
            "kept\n"
            "3\n"
            "Properties=species:S:1:pos:R:3:velo:R:3:slot:I:1:group:I:1 Step=7 Time=0.0070000000000000001 "
            "pbc=\"F F F\"\n"
            "Cl 0.10000000000000001 -2.5 1.0000000000000001e-05 0.33333333333333331 -0 "
            "1.0000000000000001e+300 1 1\n"
            "S 1 2 3 0 0 0 60 2\n"
            "O -1 0 9.9998886718268301e-321 0 0 0 100 3\n");
}

TEST(PendingFile, ReplacesTheTargetWithEveryByteOnCommit) {
  TemporaryFolder folder;
  const std::string name = folder.Path("big");
  WriteBytes(name, "old");
  ::chmod(name.c_str(), 0640);
  std::string expected;
  {
    PendingFile file(name);
    // Several times the size at which the buffer goes to the disk, in uneven pieces.
    for (int piece = 0; expected.size() < 300000; ++piece) {
      const std::string bytes(piece % 977 + 1, static_cast<char>('a' + piece % 26));
      file.Append(bytes);
      expected += bytes;
    }
    EXPECT_EQ(ReadBytes(name), "old");
    file.Commit();
  }
  EXPECT_EQ(ReadBytes(name), expected);
  struct stat status {};
  ASSERT_EQ(::stat(name.c_str(), &status), 0);
  EXPECT_EQ(status.st_mode & 07777, 0640u);
  EXPECT_EQ(folder.Entries(), std::set<std::string>{"big"});
}

TEST(PendingFile, FollowsALinkAndRefusesWhatCannotBeWritten) {
  TemporaryFolder folder;
  WriteBytes(folder.Path("target"), "old");
  ASSERT_EQ(::symlink("target", folder.Path("link").c_str()), 0);
  {
    PendingFile file(folder.Path("link"));
    file.Append("new");
    file.Commit();
  }
  EXPECT_EQ(ReadBytes(folder.Path("target")), "new");
  struct stat status {};
  ASSERT_EQ(::lstat(folder.Path("link").c_str(), &status), 0);
  EXPECT_TRUE(S_ISLNK(status.st_mode));

  try {
    PendingFile file(folder.Path("missing/run.xyz"));
    FAIL() << "a missing folder was accepted";
  } catch (const IoError& error) {
    EXPECT_STREQ(error.what(), "File not found");
    EXPECT_EQ(error.code(), 2);
  }
  ::mkdir(folder.Path("sub").c_str(), 0700);
  try {
    PendingFile file(folder.Path("sub"));
    FAIL() << "a folder was accepted as the target";
  } catch (const IoError& error) {
    EXPECT_EQ(error.code(), 5);
  }
  EXPECT_EQ(folder.Entries(), (std::set<std::string>{"link", "sub", "target"}));
}

}  // namespace
}  // namespace velmora

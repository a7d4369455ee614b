// Extended XYZ frames, and the pending file through which trajectories reach the disk.

#include "documents/XyzTrajectory.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cfloat>
#include <cmath>
#include <cstring>
#include <cstdlib>
#include <limits>
#include <random>
#include <string>

#include "TemporaryFolder.h"
#include "documents/PendingFile.h"
#include "model/ProgramError.h"
#include "tests/core/SceneFactory.h"

namespace velmora {
namespace {

using testing::ReadBytes;
using testing::TemporaryFolder;
using testing::WriteBytes;

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
            "Cl 0.10000000000000001 -2.5 1.0000000000000001e-05 0.33333333333333331 -0 1.0000000000000001e+300 1 1\n"
            "S 1 2 3 0 0 0 60 2\n"
            "O -1 0 9.9998886718268301e-321 0 0 0 100 3\n");
}

// A reader's double is the nearest double to the extended value, bit for bit, however large,
// small or subnormal.
TEST(XyzTrajectory, RealsReadBackAsTheNearestDouble) {
  std::mt19937_64 rng(17);
  std::uniform_real_distribution<double> mantissa(-1.0, 1.0);
  std::uniform_int_distribution<int> exponent(-1070, 1020);
  Model m = testing::EmptyScene();
  for (int round = 0; round < 50; ++round) {
    for (int i = 1; i <= m.N; ++i) {
      testing::Place(m, i, std::ldexp(static_cast<real>(mantissa(rng)) / 3.0L, exponent(rng)),
                     std::ldexp(static_cast<real>(mantissa(rng)), exponent(rng)), static_cast<real>(mantissa(rng)));
    }
    std::string text;
    AppendXyzFrame(text, m, 0);
    const char* cursor = text.c_str();
    for (int line = 0; line < 2; ++line) cursor = std::strchr(cursor, '\n') + 1;
    for (int i = 1; i <= m.N; ++i) {
      cursor = std::strchr(cursor, ' ') + 1;
      for (real expected : {m.X[i], m.Y[i], m.Z[i]}) {
        char* end = nullptr;
        const double read = std::strtod(cursor, &end);
        ASSERT_EQ(read, static_cast<double>(expected)) << std::string(cursor, static_cast<const char*>(end));
        cursor = end + 1;
      }
      cursor = std::strchr(cursor, '\n') + 1;
    }
  }
}

TEST(XyzTrajectory, FileAppearsOnlyWhenFinished) {
  TemporaryFolder folder;
  const std::string name = folder.Path("run.xyz");
  WriteBytes(name, "old trajectory");
  Model m = testing::EmptyScene();
  testing::Place(m, 3, 1.0L, 2.0L, 3.0L);
  {
    XyzTrajectory unfinished(name);
    unfinished.WriteFrame(m, 0);
    unfinished.WriteFrame(m, 1);
  }
  EXPECT_EQ(ReadBytes(name), "old trajectory");
  EXPECT_EQ(folder.Entries(), std::set<std::string>{"run.xyz"});

  XyzTrajectory trajectory(name);
  std::string expected;
  for (int step = 0; step < 3; ++step) {
    trajectory.WriteFrame(m, step);
    AppendXyzFrame(expected, m, step);
  }
  trajectory.Finish();
  EXPECT_EQ(ReadBytes(name), expected);
  EXPECT_EQ(folder.Entries(), std::set<std::string>{"run.xyz"});
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

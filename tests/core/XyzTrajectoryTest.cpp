// Extended XYZ frames, and the pending file through which trajectories reach the disk (what a
// failed run leaves of a trajectory is tested with the batch run).

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>

#include "TemporaryFolder.h"
#include "documents/PendingFile.h"
#include "documents/XyzFrameReader.h"
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

// The last frame of several, whatever their line ends and the blank lines after them.
TEST(XyzFrameReader, TakesTheLastFrame) {
  TemporaryFolder folder;
  WriteBytes(folder.Path("t.xyz"),
             "1\r\n\r\nCl 1 2 3\r\n2\nProperties=pos:R:3:slot:I:1\n4 5 6 9\n7 8 0.5 3\n\n \n");
  const XyzFrame frame = ReadLastXyzFrame(folder.Path("t.xyz"));
  ASSERT_EQ(frame.atoms.size(), 2u);
  EXPECT_TRUE(frame.withSlots);
  EXPECT_EQ(frame.atoms[1].position, (std::array<double, 3>{7, 8, 0.5}));
  EXPECT_EQ(frame.atoms[1].slot, 3);
}

// Input that is no trajectory ends with a short message: a line is quoted in part, its control
// characters escaped, and a file that is no text ends at its first megabyte, not when the memory
// runs out.
TEST(XyzFrameReader, HostileInputEndsWithAShortMessage) {
  TemporaryFolder folder;
  struct HostileCase {
    std::string name, content, message;
  };
  const HostileCase cases[] = {
      {"escapes", "1\n\nCl 0 \x1b[31m" + std::string(500000, '9') + " 0\n",
       "line 3: '\\x1B[31m" + std::string(195, '9') + "'... is not a number"},
      {"a character cut", "1\n\nCl 0 " + std::string(199, 'x') + "\u00e9 0\n",
       "line 3: '" + std::string(199, 'x') + "'... is not a number"},
      {"blank lines first", "\n\n\n\n1\n\nCl 0 0 0\n",
       "line 1: a frame must begin with its number of atoms, not ''"},
      {"last frame cut", "1\n\nCl 0 0 0\n2\n\nCl 0 0 0\n",
       "line 4: the frame announces 2 atoms, but the file ends before them"},
      {"8-bit controls",
       "1\n\nCl 0 x\x9b"
       "31m\xc2\x9b\u00e9 0\n",
       "line 3: 'x\\x9B31m\\xC2\\x9B\u00e9' is not a number"},
      {"a frame too large to hold", "100000000000\n\n" + std::string(100000, '\n'),
       "100000000000 atoms, but a scene holds at most 100"},
      {"/dev/zero", "", "line 1: longer than 1048576 bytes"},
  };
  for (const HostileCase& c : cases) {
    const std::string name = c.content.empty() ? c.name : folder.Path("t.xyz");
    if (!c.content.empty()) WriteBytes(name, c.content);
    try {
      ReadLastXyzFrame(name);
      ADD_FAILURE() << c.name;
    } catch (const ProgramError& error) {
      EXPECT_EQ(error.what(), name + ": " + c.message) << c.name;
    }
  }
}

}  // namespace
}  // namespace velmora

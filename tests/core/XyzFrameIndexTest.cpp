// Trajectories opened for playing: frames found once and read on demand, damage reported with
// the frame and line while the frames before it stay.

#include <gtest/gtest.h>

#include <string>

#include "TemporaryFolder.h"
#include "documents/XyzFrameIndex.h"
#include "documents/XyzTrajectory.h"
#include "model/ProgramError.h"
#include "tests/core/SceneFactory.h"

namespace velmora {
namespace {

using namespace testing;

// Three frames of two atoms as the batch tool writes them, the atoms moving along x by the step.
std::string ThreeFrames() {
  Model m = EmptyScene();
  std::string text;
  for (int step = 0; step < 3; ++step) {
    Place(m, 1, step, 0.5L, 0.0L);
    Place(m, 7, -1.0L, step * 0.25L, 2.0L);
    m.V[7] = step;
    AppendXyzFrame(text, m, step);
  }
  return text;  // 4 lines a frame: frame k begins at line 4 k + 1
}

std::string Replace(std::string text, const std::string& from, const std::string& to) {
  return text.replace(text.find(from), from.size(), to);
}

TEST(XyzFrameIndex, ReadsEachFrameOnDemandInAnyOrder) {
  const struct {
    const char* what;
    std::string text;
  } cases[] = {{"as written", ThreeFrames()},
               {"with CR LF and blank lines after the last", Replace(ThreeFrames(), "\n", "\r\n") + "\n  \n"},
               {"without the last line feed", ThreeFrames().substr(0, ThreeFrames().size() - 1)}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TemporaryFolder folder;
    WriteBytes(folder.Path("t.xyz"), c.text);
    const XyzFrameIndex index(folder.Path("t.xyz"));
    ASSERT_EQ(index.Frames(), 3);
    EXPECT_EQ(index.Damage(), "");
    for (int k : {2, 0, 1}) {
      const XyzFrame frame = index.Frame(k);
      ASSERT_EQ(frame.atoms.size(), 2u);
      EXPECT_EQ(frame.atoms[0].position[0], k);
      EXPECT_EQ(frame.atoms[1].slot, 7);
      EXPECT_EQ(frame.atoms[1].position[1], k * 0.25);
      EXPECT_EQ(frame.atoms[1].velocity[0], k);
      EXPECT_EQ(frame.step, k);
    }
  }
  TemporaryFolder folder;
  WriteBytes(folder.Path("plain.xyz"), "1\nStep=x\nH 0 0 1.5\n");
  const XyzFrame plain = XyzFrameIndex(folder.Path("plain.xyz")).Frame(0);
  EXPECT_FALSE(plain.step || plain.withSlots);
  EXPECT_EQ(plain.atoms.at(0).position[2], 1.5);
}

TEST(XyzFrameIndex, DamageNamesFrameAndLineAndKeepsTheFramesBefore) {
  const std::string whole = ThreeFrames();
  const std::string third = whole.substr(whole.find("2\nProp", whole.find("Step=1")));
  const struct {
    const char* what;
    std::string text;
    int frames;
    std::string damage;
  } cases[] = {
      {"cut short", whole.substr(0, whole.rfind('\n', whole.size() - 2) + 1), 2,
       "frame 3, line 9: the frame announces 2 atoms, but the file ends before them"},
      {"no count", Replace(whole, third, "two\n" + third.substr(2)), 2,
       "frame 3, line 9: a frame must begin with its number of atoms, not 'two'"},
      {"a blank line between frames", Replace(whole, third, "\n" + third), 2,
       "frame 3, line 9: a frame must begin with its number of atoms, not ''"},
      {"a count beyond the file", Replace(whole, third, "99" + third.substr(1)), 2,
       "frame 3, line 9: the frame announces 99 atoms, but the file ends before them"},
      {"a count beyond a scene", Replace(whole, third, "99999999999" + third.substr(1)), 2,
       "frame 3, 99999999999 atoms, but a scene holds at most 100"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TemporaryFolder folder;
    const std::string name = folder.Path("t.xyz");
    WriteBytes(name, c.text);
    const XyzFrameIndex index(name);
    EXPECT_EQ(index.Frames(), c.frames);
    EXPECT_EQ(index.Damage(), name + ": " + c.damage);
    EXPECT_EQ(index.Frame(c.frames - 1).atoms[0].position[0], c.frames - 1);
  }
}

TEST(XyzFrameIndex, AMalformedFrameFailsAloneAndAFileWithoutAWholeFrameIsRefused) {
  TemporaryFolder folder;
  const std::string name = folder.Path("t.xyz");
  WriteBytes(name, Replace(ThreeFrames(), "Cl 1 0.5", "Cl 1 0,5"));
  const XyzFrameIndex index(name);
  EXPECT_EQ(index.Frames(), 3);
  EXPECT_EQ(index.Frame(2).atoms.size(), 2u);
  try {
    index.Frame(1);
    ADD_FAILURE() << "no error";
  } catch (const ProgramError& error) {
    EXPECT_STREQ(error.what(), (name + ": frame 2, line 7: '0,5' is not a number").c_str());
  }
  const struct {
    std::string text, error;
  } refused[] = {{"", "no frame in the file"},
                 {"3\ncomment\nH 0 0 0\n",
                  "frame 1, line 1: the frame announces 3 atoms, but the file ends before them"}};
  for (const auto& r : refused) {
    WriteBytes(name, r.text);
    try {
      XyzFrameIndex{name};
      ADD_FAILURE() << "no error for " << r.text;
    } catch (const ProgramError& error) {
      EXPECT_STREQ(error.what(), (name + ": " + r.error).c_str());
    }
  }
}

}  // namespace
}  // namespace velmora

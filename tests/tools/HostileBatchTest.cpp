// velmora-batch given hostile scenes: documents of NaNs, unnormals and random bytes, a device and a
// FIFO in the place of a document. It ends with status 0 or 1 and the program's text, never by a
// signal and never by waiting; a failed run writes nothing, and a run on values that are not
// numbers does not start.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "documents/DocumentFile.h"
#include "tests/core/SceneFactory.h"
#include "tests/core/TemporaryFolder.h"
#include "tests/tools/ToolProcess.h"

namespace velmora {
namespace {

using namespace testing;

// A sane scene of a dozen particles with one ten-byte field replaced.
std::string HostileScene(const TemporaryFolder& folder, std::size_t offset,
                         std::vector<unsigned char> bytes) {
  std::mt19937_64 rng(9);
  Model scene = testing::RandomScene(rng, 1.3L, 0.12, false);
  TakeSnapshot(scene);
  std::string record(reinterpret_cast<const char*>(scene.Snapshot.data()), SnapshotSize);
  record.replace(offset, bytes.size(), reinterpret_cast<const char*>(bytes.data()), bytes.size());
  WriteBytes(folder.Path("scene.ato"), record);
  return folder.Path("scene.ato");
}

// The first slot of the hostile scene that is present (or absent).
int FirstSlot(bool present) {
  std::mt19937_64 rng(9);
  const Model probe = testing::RandomScene(rng, 1.3L, 0.12, false);
  int slot = 1;
  while (probe.Present[slot] != present) ++slot;
  return slot;
}

std::size_t FieldOf(std::size_t block, int slot) { return block + 10 * (slot - 1); }

const std::vector<unsigned char> QuietNaN = {0, 0, 0, 0, 0, 0, 0, 0xC0, 0xFF, 0x7F};

struct RefusedCase {
  const char* name;
  std::size_t offset;
  std::vector<unsigned char> bytes;
  std::string err;  // after "velmora-batch: "; empty: the run completes
};

// A value that is not a number stops the run before its first step and names the value; a step
// that faults names its step; a NaN in an absent slot is no part of the run.
TEST(HostileBatch, AValueThatIsNotANumberIsNamedAndNothingIsWritten) {
  const std::vector<unsigned char> unnormal = {0, 0, 0, 0, 0, 0, 0, 0x40, 0xFF, 0x3F};
  const std::vector<unsigned char> zero(10, 0);
  const int slot = FirstSlot(true);
  const RefusedCase cases[] = {
      {"dt", record::Dt, QuietNaN, "Invalid floating point operation: dt"},
      {"unnormal B1", record::Parameters + 10, unnormal, "Invalid floating point operation: B1"},
      {"V", FieldOf(record::V, slot), QuietNaN,
       "Invalid floating point operation: V of slot " + std::to_string(slot)},
      {"zero B1", record::Parameters + 10, zero, "Floating point division by zero at step 1"},
      {"absent slot", FieldOf(record::W, FirstSlot(false)), QuietNaN, ""},
  };
  for (const RefusedCase& c : cases) {
    SCOPED_TRACE(c.name);
    TemporaryFolder folder;
    const std::string scene = HostileScene(folder, c.offset, c.bytes);
    const Outcome outcome = RunTool(folder, {"--steps", "5", "--output", folder.Path("out.ato"), "--xyz",
                                             folder.Path("out.xyz"), "--listing", "positions", scene});
    if (c.err.empty()) {
      EXPECT_EQ(outcome.status, 0) << outcome.err;
      continue;
    }
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(outcome.err, "velmora-batch: " + c.err + "\n");
    EXPECT_EQ(outcome.out, "");
    EXPECT_EQ(folder.Entries(), std::set<std::string>{"scene.ato"});
  }
}

// A state holding a NaN is measured as NAN, never as INF or 0: the table of a scene with a NaN
// velocity, written before any step.
TEST(HostileBatch, ANaNIsMeasuredAsNaN) {
  TemporaryFolder folder;
  const std::string scene = HostileScene(folder, FieldOf(record::V, FirstSlot(true)), QuietNaN);
  const Outcome outcome = RunTool(folder, {"--log", "-", scene});
  ASSERT_EQ(outcome.status, 0) << outcome.err;
  const std::string row = outcome.out.substr(outcome.out.find('\n') + 1);
  EXPECT_EQ(row.substr(0, 7), "0\tNAN\t-") << row;          // kinetic NAN, potential a number
  EXPECT_EQ(row.substr(row.size() - 5), "\tNAN\n") << row;  // fastest
}

TEST(HostileBatch, RandomDocumentsEndWithAStatusNeverASignal) {
  TemporaryFolder folder;
  std::mt19937_64 rng(6296);
  for (int document = 0; document < 8; ++document) {
    std::string bytes(SnapshotSize, '\0');
    for (char& b : bytes) b = static_cast<char>(rng());
    WriteBytes(folder.Path("random.ato"), bytes);
    const Outcome outcome =
        RunTool(folder, {"--steps", "3", "--listing", "positions", folder.Path("random.ato")});
    EXPECT_TRUE(outcome.status == 0 || outcome.status == 1) << document << ": status " << outcome.status;
    if (outcome.status == 1) {
      const bool refused = outcome.err.rfind("velmora-batch: Invalid floating point operation: ", 0) == 0;
      EXPECT_TRUE(refused || outcome.err.find(" at step ") != std::string::npos) << outcome.err;
    }
  }
}

TEST(HostileBatch, DevicesAndFifosAsScenes) {
  TemporaryFolder folder;
  const Outcome empty = RunTool(folder, {"/dev/null"});
  EXPECT_EQ(empty.status, 1);
  EXPECT_EQ(empty.err, "velmora-batch: /dev/null: Read beyond end of file\n");

  // Endless zeros are a scene of zeros: every length parameter is zero.
  const Outcome zeros = RunTool(folder, {"--steps", "1", "/dev/zero"});
  EXPECT_EQ(zeros.status, 1);
  EXPECT_EQ(zeros.err, "velmora-batch: Floating point division by zero at step 1\n");

  ASSERT_EQ(::mkfifo(folder.Path("pipe.ato").c_str(), 0666), 0);
  const Outcome fifo = RunTool(folder, {folder.Path("pipe.ato")});
  EXPECT_EQ(fifo.status, 1);
  EXPECT_EQ(fifo.err, "velmora-batch: " + folder.Path("pipe.ato") + ": File access denied\n");
}

}  // namespace
}  // namespace velmora

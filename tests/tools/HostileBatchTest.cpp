// velmora-batch given hostile scenes: documents of NaNs, unnormals and random bytes, a device and a
// FIFO in the place of a document. It ends with status 0 or 1 and the program's text, never by a
// signal and never by waiting; a failed run writes nothing.

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

TEST(HostileBatch, AFaultingRunEndsWithItsTextAndWritesNothing) {
  TemporaryFolder folder;
  const std::vector<unsigned char> unnormal = {0, 0, 0, 0, 0, 0, 0, 0x40, 0xFF, 0x3F};
  const std::string scene = HostileScene(folder, record::Parameters + 10, unnormal);  // B1
  const Outcome outcome = RunTool(folder, {"--steps", "5", "--output", folder.Path("out.ato"), "--xyz",
                                           folder.Path("out.xyz"), "--listing", "positions", scene});
  EXPECT_EQ(outcome.status, 1);
  EXPECT_EQ(outcome.err, "velmora-batch: Invalid floating point operation at step 1\n");
  EXPECT_EQ(outcome.out, "");
  EXPECT_EQ(folder.Entries(), std::set<std::string>{"scene.ato"});
}

// A quiet NaN passes through arithmetic without a fault: the run completes, and the NaN that
// spread from one velocity to every slot is listed as such.
TEST(HostileBatch, ANaNThatRaisesNothingIsListed) {
  TemporaryFolder folder;
  const std::vector<unsigned char> quietNaN = {0, 0, 0, 0, 0, 0, 0, 0xC0, 0xFF, 0x7F};
  std::mt19937_64 rng(9);
  const Model probe = testing::RandomScene(rng, 1.3L, 0.12, false);
  int present = 1;
  while (!probe.Present[present]) ++present;
  const std::string scene = HostileScene(folder, record::V + 10 * (present - 1), quietNaN);
  const Outcome outcome = RunTool(folder, {"--steps", "2", "--listing", "positions", scene});
  ASSERT_EQ(outcome.status, 0) << outcome.err;
  EXPECT_NE(("\n" + outcome.out).find("\n" + std::to_string(present) + "\tNAN\tNAN\tNAN\n"),
            std::string::npos)
      << outcome.out;
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
      EXPECT_NE(outcome.err.find(" at step "), std::string::npos) << outcome.err;
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

// velmora-render as a process where its outputs meet the system's limits: a movie on a full
// disk, trails asked for by a number, a frame folder refused or shared.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "documents/DocumentFile.h"
#include "tests/core/SceneFactory.h"
#include "tests/core/TemporaryFolder.h"
#include "tests/tools/ToolProcess.h"

namespace velmora {
namespace {

using namespace testing;

std::string WriteScene(const TemporaryFolder& folder, const Model& scene) {
  Model m = scene;
  WriteDocumentFile(m, folder.Path("scene.ato"));
  return folder.Path("scene.ato");
}

Outcome RunRender(const TemporaryFolder& folder, std::vector<std::string> arguments,
                  const std::function<void()>& inChild = nullptr) {
  arguments.insert(arguments.begin(), "--quiet");
  return RunTool(folder, std::move(arguments), inChild, VELMORA_RENDER_PATH);
}

// ffmpeg ends with status 0 when the disk fills while it writes the movie's end: the movie is
// read back before it replaces the older one, which stays on any doubt.
TEST(RenderTool, AMovieBrokenByAFullDiskLeavesTheOlderOne) {
  if (std::system("command -v ffmpeg >/dev/null && command -v ffprobe >/dev/null") != 0)
    GTEST_SKIP() << "no ffmpeg and ffprobe on the PATH";
  for (const bool linked : {false, true}) {
    // A target with a second hard link is made in the temporary folder first: here on the disk.
    SCOPED_TRACE(linked ? "written in place over a hard link" : "replaced");
    TemporaryFolder folder;
    const std::string scene = WriteScene(folder, WideRandomScene(11));
    const SmallDisk disk(folder.Path("disk"), "32768");
    if (!disk.Mounted()) GTEST_SKIP() << "no file system can be mounted here";
    const std::string movie = folder.Path("disk/m.mp4");
    WriteBytes(movie, "an older movie");
    if (linked) {
      ASSERT_EQ(::link(movie.c_str(), folder.Path("disk/same.mp4").c_str()), 0);
    }
    const std::string scratch = folder.Path("disk");
    const Outcome outcome = RunRender(folder, {"--steps", "200", "--output", movie, scene}, [&] {
      if (linked) ::setenv("TMPDIR", scratch.c_str(), 1);
    });
    EXPECT_EQ(outcome.status, 1);
    EXPECT_NE(outcome.err.find("velmora-render: ffmpeg could not make the movie ("), std::string::npos)
        << outcome.err;
    EXPECT_TRUE(ReadBytes(movie) == "an older movie");
    const std::set<std::string> names =
        linked ? std::set<std::string>{"m.mp4", "same.mp4"} : std::set<std::string>{"m.mp4"};
    std::set<std::string> entries = folder.Entries("disk");
    entries.erase("runtime-root");  // Qt's, in the temporary folder
    EXPECT_EQ(entries, names);
  }
}

// Trails of more steps than the run has take no more memory than the run's; memory the system
// refuses is the tool's message, not an abort.
TEST(RenderTool, TrailsTakeTheMemoryOfTheStepsRun) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "AddressSanitizer reserves far more address space than the limit";
#endif
  struct TrailCase {
    const char* trails;
    const char* steps;
    int status;
    std::string err;
  };
  const TrailCase cases[] = {
      {"2147483647", "2", 0, ""},
      {"2000000000", "2000000000", 1, "velmora-render: not enough memory\n"},
  };
  for (const TrailCase& c : cases) {
    SCOPED_TRACE(c.trails);
    TemporaryFolder folder;
    const std::string scene = WriteScene(folder, WideRandomScene(3));
    const Outcome outcome =
        RunRender(folder, {"--trails", c.trails, "--steps", c.steps, "--output", folder.Path("p.png"), scene},
                  AddressSpace(2'000'000'000));
    EXPECT_EQ(outcome.status, c.status);
    EXPECT_EQ(outcome.err, c.err);
  }
}

// --overwrite removes another run's frames only when the first frame of this one comes: a scene
// refused before it leaves them.
TEST(RenderTool, ARefusedRunLeavesTheFramesItWouldOverwrite) {
  TemporaryFolder folder;
  Model scene = EmptyScene();
  Place(scene, 2, 0.5L, -0.5L, 0.25L);
  scene.V[2] = std::numeric_limits<real>::quiet_NaN();
  const std::string name = WriteScene(folder, scene);
  ::mkdir(folder.Path("frames").c_str(), 0755);
  WriteBytes(folder.Path("frames/frame-000000.png"), "an older frame");
  const Outcome outcome =
      RunRender(folder, {"--steps", "5", "--overwrite", "--output", folder.Path("frames/"), name});
  EXPECT_EQ(outcome.status, 1);
  EXPECT_EQ(ReadBytes(folder.Path("frames/frame-000000.png")), "an older frame");
}

// Two runs into one frame folder at once would mix their frames: the second is refused.
TEST(RenderTool, AFrameFolderTakesOneRunAtATime) {
  TemporaryFolder folder;
  const std::string scene = WriteScene(folder, WideRandomScene(5));
  const std::string frames = folder.Path("frames/");
  std::vector<std::string> arguments = {"--quiet", "--steps",  "2000000000", "--every",
                                        "1000000", "--output", frames,       scene};
  std::vector<char*> argv = ArgumentVector(arguments, VELMORA_RENDER_PATH);
  const pid_t first = ::fork();
  if (first == 0) {
    ::dup2(::open("/dev/null", O_WRONLY), STDERR_FILENO);
    ::alarm(20);
    ::execv(argv[0], argv.data());
    ::_exit(127);
  }
  for (int wait = 0; wait < 1000 && !std::filesystem::exists(frames + "frame-000000.png"); ++wait)
    ::usleep(10000);
  const Outcome second = RunRender(folder, {"--steps", "1", "--overwrite", "--output", frames, scene});
  ::kill(first, SIGINT);
  int status = 0;
  ::waitpid(first, &status, 0);
  EXPECT_EQ(second.status, 1);
  EXPECT_EQ(second.err, "velmora-render: " + frames + ": frames of another run are being written there\n");
  EXPECT_EQ(folder.Entries("frames"), std::set<std::string>{"frame-000000.png"});
}

}  // namespace
}  // namespace velmora

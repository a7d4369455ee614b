// velmora-batch as a process: the bits it writes, its exit status, its messages, its progress
// line on a terminal and its end on Ctrl+C.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <functional>
#include <regex>
#include <string>
#include <vector>

#include "documents/DocumentFile.h"
#include "sim/Stepper.h"
#include "tests/core/SceneFactory.h"
#include "tests/core/TemporaryFolder.h"
#include "tests/tools/ToolProcess.h"
#include "text/Listing.h"
#include "text/ObservableLog.h"

namespace velmora {
namespace {

using namespace testing;

std::string WriteScene(const TemporaryFolder& folder, const Model& scene,
                       const std::string& name = "scene.ato") {
  Model m = scene;
  WriteDocumentFile(m, folder.Path(name));
  return folder.Path(name);
}

// ---------------------------------------------------------------------------------------------

struct SwitchCase {
  std::vector<std::string> arguments;
  StepSettings settings;
  real dt;
};

std::vector<SwitchCase> SwitchCases() {
  std::vector<SwitchCase> cases(7);
  cases[0] = {{}, {}, 0.001L};
  cases[1] = {{"--blockade", "--cool"}, {}, 0.001L};
  cases[1].settings.Blockade = cases[1].settings.Cool = true;
  cases[2] = {{"--contact", "--taoscope", "--dt", "0.0025"}, {}, 0.0025L};
  cases[2].settings.Law = {true, true};
  const char* modes[] = {"hot", "cold", "current1", "current2"};
  const BoundaryMode values[] = {BoundaryMode::HotContact, BoundaryMode::ColdContact,
                                 BoundaryMode::ElecCurrent1, BoundaryMode::ElecCurrent2};
  for (int i = 0; i < 4; ++i) {
    cases[3 + i] = {{"--mode", modes[i], "--dt", "1E-3"}, {}, 0.001L};
    cases[3 + i].settings.Mode = values[i];
  }
  return cases;
}

TEST(BatchTool, WritesTheDocumentTheStepperGives) {
  unsigned seed = 20;
  for (SwitchCase& c : SwitchCases()) {
    const std::string label = ::testing::PrintToString(c.arguments);
    TemporaryFolder folder;
    Model reference = WideRandomScene(seed++);
    reference.dt = 0.001L;
    std::vector<std::string> arguments = c.arguments;
    const char* threads[] = {"1", "2", "3", "8"};  // every thread count gives the same bits
    for (const char* a : {"--threads", threads[seed % 4], "--steps", "6", "--output"}) arguments.push_back(a);
    arguments.push_back(folder.Path("after.ato"));
    arguments.push_back(WriteScene(folder, reference));
    const Outcome outcome = RunTool(folder, arguments);
    EXPECT_EQ(outcome.status, 0) << label << outcome.err;
    EXPECT_EQ(outcome.out, "") << label;
    EXPECT_EQ(outcome.err, "") << label;

    reference.dt = c.dt;
    Stepper stepper;
    for (int counter = 0; counter < 6;) stepper.Step(reference, c.settings, counter);
    WriteDocumentFile(reference, folder.Path("reference.ato"));
    EXPECT_EQ(ReadBytes(folder.Path("after.ato")), ReadBytes(folder.Path("reference.ato"))) << label;
  }
}

TEST(BatchTool, NoStepsGiveBackTheInputBytesPaddingIncluded) {
  TemporaryFolder folder;
  std::string bytes = ReadBytes(WriteScene(folder, WideRandomScene(3)));
  for (std::size_t i : {190, 191, 6292, 6293, 6294, 6295}) bytes[i] = static_cast<char>(0x5A + i);
  WriteBytes(folder.Path("scene.ato"), bytes);
  const Outcome outcome =
      RunTool(folder, {"--steps", "0", "--output", folder.Path("copy.ato"), folder.Path("scene.ato")});
  EXPECT_EQ(outcome.status, 0) << outcome.err;
  EXPECT_EQ(ReadBytes(folder.Path("copy.ato")), bytes);
}

TEST(BatchTool, ListingGoesToStandardOutput) {
  TemporaryFolder folder;
  Model scene = testing::EmptyScene();
  testing::Place(scene, 1, 0.5L, -2.5L, 0.00001L);
  scene.V[1] = scene.NewV[1] = 0.25L;
  testing::Place(scene, 3, 1.0L / 3.0L, 2.0L, 3.0L);
  const std::string name = WriteScene(folder, scene);
  const Outcome positions = RunTool(folder, {"--listing", "positions", name});
  EXPECT_EQ(positions.status, 0) << positions.err;
  EXPECT_EQ(positions.out.substr(0, 44), "1\t0.5\t-2.5\t1E-5\n2\n3\t0.333333333333333\t2\t3\n4\n");
  EXPECT_EQ(positions.out, ListingText(scene, false, '.'));

  // After a step, the listing is that of the stepped scene, here its velocities.
  const Outcome velocities = RunTool(folder, {name, "--steps", "1", "--listing", "velocities"});
  Stepper stepper;
  int counter = 0;
  stepper.Step(scene, {}, counter);
  EXPECT_EQ(velocities.status, 0) << velocities.err;
  EXPECT_EQ(velocities.out, ListingText(scene, true, '.'));
  EXPECT_NE(velocities.out, ListingText(scene, false, '.'));
}

// The table holds the start and every third step of the run the window's step gives, measured
// with the run's law switches; a file and the standard output get the same bytes.
TEST(BatchTool, LogIsTheMeasuredRun) {
  TemporaryFolder folder;
  Model scene = WideRandomScene(5);
  const std::string name = WriteScene(folder, scene);
  StepSettings settings;
  settings.Law = {true, true};
  std::string expected = ObservableLogHeader() + ObservableLogRow(0, Measure(scene, settings.Law));
  Stepper stepper;
  for (int counter = 0; counter < 7;) {
    stepper.Step(scene, settings, counter);
    if (counter % 3 == 0) expected += ObservableLogRow(counter, Measure(scene, settings.Law));
  }
  const std::vector<std::string> run = {"--steps", "7", "--contact", "--taoscope", "--log-every", "3", name};
  std::vector<std::string> toFile = run, toOutput = run;
  toFile.insert(toFile.begin(), {"--log", folder.Path("run.tsv")});
  toOutput.insert(toOutput.begin(), {"--log", "-"});
  const Outcome file = RunTool(folder, toFile), output = RunTool(folder, toOutput);
  EXPECT_EQ(file.status, 0) << file.err;
  EXPECT_EQ(ReadBytes(folder.Path("run.tsv")), expected);
  EXPECT_EQ(output.status, 0) << output.err;
  EXPECT_EQ(output.out, expected);
}

TEST(BatchTool, FaultExitsWithOneAndWritesNothing) {
  TemporaryFolder folder;
  Model scene = testing::EmptyScene();
  testing::Place(scene, 4, 0.3L, 0.2L, 0.1L);
  testing::Place(scene, 9, 0.3L, 0.2L, 0.1L);
  const std::string name = WriteScene(folder, scene);
  const Outcome outcome =
      RunTool(folder, {"--steps", "3", "--output", folder.Path("after.ato"), "--xyz", folder.Path("run.xyz"),
                       "--log", folder.Path("run.tsv"), "--listing", "positions", name});
  EXPECT_EQ(outcome.status, 1);
  EXPECT_EQ(outcome.err, "velmora-batch: Floating point division by zero at step 1\n");
  EXPECT_EQ(outcome.out, "");
  EXPECT_EQ(folder.Entries(), std::set<std::string>{"scene.ato"});
}

// Threads the system will not start (memory limited as `ulimit -v` limits it) end the run with
// the count and the reason, never a hang or an abort, and nothing is written.
TEST(BatchTool, ThreadsTheSystemRefusesEndTheRunAndWriteNothing) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "AddressSanitizer reserves far more address space than the limit";
#endif
  TemporaryFolder folder;
  const std::string name = WriteScene(folder, WideRandomScene(2));
  const Outcome outcome =
      RunTool(folder, {"--threads", "200", "--steps", "3", "--output", folder.Path("after.ato"), name},
              AddressSpace(100'000'000));
  EXPECT_EQ(outcome.status, 1);
  EXPECT_EQ(outcome.err,
            "velmora-batch: cannot start 200 threads for a step: Resource temporarily unavailable\n");
  EXPECT_EQ(folder.Entries(), std::set<std::string>{"scene.ato"});
}

TEST(BatchTool, FileErrorsExitWithOne) {
  TemporaryFolder folder;
  const std::string scene = WriteScene(folder, WideRandomScene(8));
  const std::string missing = folder.Path("missing.ato");
  struct ErrorCase {
    std::vector<std::string> arguments;
    std::string message;
  };
  // A frame of more atoms than a scene holds is refused at its count line, before its lines are
  // held, although the last frame is a good one.
  const std::string crowded = folder.Path("crowded.xyz");
  std::string frames = "101\n\n";
  for (int atom = 0; atom < 101; ++atom) frames += "H " + std::to_string(atom) + " 0 0\n";
  WriteBytes(crowded, frames + "1\n\nH 0 0 0\n");
  const ErrorCase cases[] = {
      {{missing}, missing + ": File not found"},
      {{"--output", folder.Path("no/after.ato"), scene}, folder.Path("no/after.ato") + ": File not found"},
      {{folder.Path("no\x1b[2Jpe.ato")}, "'" + folder.Path("no\\x1B[2Jpe.ato") + "': File not found"},
      {{"--from-xyz", crowded}, crowded + ": 101 atoms, but a scene holds at most 100"},
  };
  for (const ErrorCase& c : cases) {
    const Outcome outcome = RunTool(folder, c.arguments);
    EXPECT_EQ(outcome.status, 1) << c.message;
    EXPECT_EQ(outcome.err, "velmora-batch: " + c.message + "\n");
  }
  EXPECT_EQ(folder.Entries(), (std::set<std::string>{"scene.ato", "crowded.xyz"}));
}

TEST(BatchTool, UsageErrorsExitWithTwoAndShowTheUsage) {
  TemporaryFolder folder;
  const std::string scene = WriteScene(folder, WideRandomScene(2));
  struct UsageCase {
    std::vector<std::string> arguments;
    std::string message;
    bool outputClosed = false;  // the tool starts with descriptor 1 closed
  };
  const UsageCase cases[] = {
      {{}, "no scene given"},
      {{scene, scene}, "one scene at a time"},
      {{"--steps", "-1", scene}, "--steps: '-1' is less than 0"},
      {{"--steps", "ten", scene}, "--steps: 'ten' is not a valid integer value"},
      {{"--steps", "99999999999", scene}, "--steps: '99999999999' is not a valid integer value"},
      {{scene, "--steps"}, "--steps needs a value N"},
      {{"--every", "0", scene}, "--every: '0' is less than 1"},
      {{"--threads", "0", scene}, "--threads: '0' is less than 1"},
      {{"--threads", "257", scene}, "--threads: '257' is more than 256"},
      {{"--log-every", "0", scene}, "--log-every: '0' is less than 1"},
      {{"--log", folder.Path("x.ato"), "--output", folder.Path("x.ato"), scene},
       "--output and --log name the same file; one would replace the other"},
      {{"--output", "run1.ato", "--xyz", "./run1.ato", scene},
       "--output and --xyz name the same file; one would replace the other"},
      {{"--log", folder.Path("old.tsv"), "--xyz", folder.Path("linked.xyz"), scene},
       "--xyz and --log name the same file; one would replace the other"},
      {{"--log", "-", "--listing", "positions", scene},
       "--log - and --listing both write to standard output"},
      {{"--output", folder.Path("x.ato"), "--xyz", folder.Path("x.ato"), scene},
       "--output and --xyz name the same file; one would replace the other"},
      {{"--mode", "warm", scene}, "--mode: 'warm' is none of free, hot, cold, current1, current2"},
      {{"--listing", "both", scene}, "--listing: 'both' is none of positions, velocities"},
      {{"--dt", "0,5", scene}, "--dt: '0,5' is not a valid floating point value"},
      {{"--dt", "", scene}, "--dt: '' is not a valid floating point value"},
      {{"--frames", "3", scene}, "unknown option '--frames'"},
      {{"-q", scene}, "unknown option '-q'"},
      // What the user typed is quoted: escape sequences shown, not acted on, and long texts cut.
      {{"--steps", "\x1b]0;owned\x07", scene}, "--steps: '\\x1B]0;owned\\x07' is not a valid integer value"},
      {{"--steps", std::string(100000, '9'), scene},
       "--steps: '" + std::string(200, '9') + "'... is not a valid integer value"},
      {{"--mode",
        "\x9b"
        "31m",
        scene},
       "--mode: '\\x9B31m' is none of free, hot, cold, current1, current2"},
      // A table may not take the place of an input of the run.
      {{"--xyz", scene, scene}, "--xyz names an input of the run; it would replace it"},
      {{"--log", "scene.ato", scene}, "--log names an input of the run; it would replace it"},
      // A table asked for on a closed standard output would go into whatever file took its number.
      {{"--log", "-", "--output", folder.Path("x.ato"), scene},
       "--log -: the standard output is closed",
       true},
      {{"--listing", "positions", scene}, "--listing: the standard output is closed", true},
  };
  WriteBytes(folder.Path("old.tsv"), "OLD\n");
  ASSERT_EQ(::link(folder.Path("old.tsv").c_str(), folder.Path("linked.xyz").c_str()), 0);
  for (const UsageCase& c : cases) {
    const Outcome outcome = RunTool(folder, c.arguments, [&] {
      if (::chdir(folder.Path().c_str()) != 0) ::_exit(127);
      if (c.outputClosed) ::close(STDOUT_FILENO);
    });
    EXPECT_EQ(outcome.status, 2) << c.message;
    EXPECT_EQ(outcome.err.substr(0, outcome.err.find('\n')), "velmora-batch: " + c.message);
    EXPECT_NE(outcome.err.find("\nusage: velmora-batch [options] SCENE.ato\n"), std::string::npos)
        << c.message;
    EXPECT_EQ(outcome.out, "");
  }
  const Outcome help = RunTool(folder, {"--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_EQ(help.out.rfind("usage: velmora-batch [options] SCENE.ato\n", 0), 0u);
  EXPECT_NE(help.out.find("--mode M"), std::string::npos);
  EXPECT_EQ(help.err, "");
  // "--" ends the options: a scene whose name starts with '-' can be run.
  WriteBytes(folder.Path("-odd.ato"), ReadBytes(scene));
  EXPECT_EQ(RunTool(folder, {"--steps", "1", "--", folder.Path("-odd.ato")}).status, 0);
  EXPECT_FALSE(std::filesystem::exists(folder.Path("x.ato")));
}

// ---------------------------------------------------------------------------------------------
// The outputs of one run replace their targets together or not at all.

// One slot: its frames and table rows are short, the document is 6296 bytes.
std::string WriteLoneSlot(const TemporaryFolder& folder) {
  Model scene = testing::EmptyScene();
  testing::Place(scene, 1, 0.5L, -2.5L, 0.25L);
  return WriteScene(folder, scene);
}

// Writing beyond 6000 bytes fails as on a full disk.
void LimitFileSize() {
  ::signal(SIGXFSZ, SIG_IGN);
  const rlimit limit{6000, 6000};
  ::setrlimit(RLIMIT_FSIZE, &limit);
}

TEST(BatchTool, OutputsReplaceTheirTargetsTogetherOrNotAtAll) {
  struct OutputCase {
    const char* name;
    std::vector<std::string> arguments;  // after the outputs t.xyz, l.tsv and x.ato
    std::function<void()> inChild;
    std::string failed;  // what the message names
    bool linked;         // t.xyz has a second hard link, so it is written in place; no x.ato
  };
  const auto fullOutput = [] { ::dup2(::open("/dev/full", O_WRONLY), STDOUT_FILENO); };
  const OutputCase cases[] = {
      {"the document does not fit", {"--steps", "5"}, LimitFileSize, "x.ato: Disk full", false},
      {"the listing does not fit",
       {"--steps", "5", "--listing", "positions"},
       fullOutput,
       "standard output: cannot write the listing",
       false},
      {"a linked trajectory does not fit", {"--steps", "200"}, LimitFileSize, "t.xyz: Disk full", true},
  };
  for (const OutputCase& c : cases) {
    SCOPED_TRACE(c.name);
    TemporaryFolder folder;
    const std::string scene = WriteLoneSlot(folder);
    std::set<std::string> entries = {"scene.ato", "t.xyz", "l.tsv"};
    for (const char* name : {"t.xyz", "l.tsv"}) WriteBytes(folder.Path(name), "OLD\n");
    if (c.linked) {
      ASSERT_EQ(::link(folder.Path("t.xyz").c_str(), folder.Path("t2.xyz").c_str()), 0);
      entries.insert("t2.xyz");
    }
    std::vector<std::string> arguments = c.arguments;
    for (const std::string& a :
         {std::string("--xyz"), folder.Path("t.xyz"), std::string("--log"), folder.Path("l.tsv")})
      arguments.push_back(a);
    if (!c.linked) arguments.insert(arguments.end(), {"--output", folder.Path("x.ato")});
    arguments.push_back(scene);
    const Outcome outcome = RunTool(folder, arguments, c.inChild);
    EXPECT_EQ(outcome.status, 1);
    const std::string failed = c.failed[0] == 's' ? c.failed : folder.Path(c.failed);
    EXPECT_EQ(outcome.err, "velmora-batch: " + failed + "\n");
    EXPECT_EQ(folder.Entries(), entries);
    EXPECT_EQ(ReadBytes(folder.Path("t.xyz")), "OLD\n");
    EXPECT_EQ(ReadBytes(folder.Path("l.tsv")), "OLD\n");
  }
}

// Written in place, a trajectory too large for the disk is refused before its first byte.
TEST(BatchTool, ALinkedTrajectoryThatDoesNotFitTheDiskIsLeftAsItWas) {
  TemporaryFolder folder;
  const std::string scene = WriteLoneSlot(folder);
  const SmallDisk disk(folder.Path("disk"));
  if (!disk.Mounted()) GTEST_SKIP() << "no file system can be mounted here";
  const std::string trajectory = folder.Path("disk/t.xyz");
  WriteBytes(trajectory, "OLD\n");
  ASSERT_EQ(::link(trajectory.c_str(), folder.Path("disk/t2.xyz").c_str()), 0);
  const Outcome outcome = RunTool(folder, {"--steps", "1000", "--xyz", trajectory, scene});
  EXPECT_EQ(outcome.status, 1);
  EXPECT_EQ(outcome.err, "velmora-batch: " + trajectory + ": Disk full\n");
  EXPECT_EQ(ReadBytes(trajectory), "OLD\n");
}

// A long run in a process group of its own, with standard output on `out` and standard error in
// a file, ended by `end`; the outcome when it has ended.
Outcome EndedRun(const TemporaryFolder& folder, std::vector<std::string> arguments, int out,
                 const std::function<void(pid_t)>& end) {
  std::vector<char*> argv = ArgumentVector(arguments);
  const std::string err = folder.Path(".stderr");
  const pid_t child = ::fork();
  if (child == 0) {
    ::setpgid(0, 0);
    ::dup2(out, STDOUT_FILENO);
    ::dup2(::open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600), STDERR_FILENO);
    ::alarm(20);
    ::execv(argv[0], argv.data());
    ::_exit(127);
  }
  end(child);
  int wait = 0;
  ::waitpid(child, &wait, 0);
  Outcome outcome{StatusOf(wait), "", ReadBytes(err)};
  ::unlink(err.c_str());
  return outcome;
}

TEST(BatchTool, AHangUpOrAClosedPipeEndsTheRunAsCtrlCDoes) {
  struct EndCase {
    const char* name;
    int signal;
  };
  for (const EndCase& c :
       {EndCase{"a closed terminal", SIGHUP}, EndCase{"a reader that went away", SIGPIPE}}) {
    SCOPED_TRACE(c.name);
    TemporaryFolder folder;
    const std::string scene = WriteLoneSlot(folder);
    for (const char* name : {"t.xyz", "x.ato"}) WriteBytes(folder.Path(name), "OLD\n");
    int ends[2];
    ASSERT_EQ(::pipe2(ends, O_CLOEXEC), 0);  // the tool holds no end but its standard output
    const Outcome outcome =
        EndedRun(folder,
                 {"--steps", "2000000000", "--log", "-", "--xyz", folder.Path("t.xyz"), "--output",
                  folder.Path("x.ato"), scene},
                 ends[1], [&](pid_t child) {
                   ::close(ends[1]);
                   char row[256];
                   EXPECT_GT(::read(ends[0], row, sizeof row), 0);  // the table is running
                   if (c.signal == SIGHUP) ::kill(-child, SIGHUP);
                   ::close(ends[0]);
                 });
    EXPECT_EQ(outcome.status, 128 + c.signal);
    EXPECT_EQ(outcome.err.rfind("velmora-batch: interrupted after step ", 0), 0u) << outcome.err;
    EXPECT_EQ(folder.Entries(), (std::set<std::string>{"scene.ato", "t.xyz", "x.ato"}));
    EXPECT_EQ(ReadBytes(folder.Path("t.xyz")), "OLD\n");
    EXPECT_EQ(ReadBytes(folder.Path("x.ato")), "OLD\n");
  }
}

// Every other signal that would end the tool at once ends the run as Ctrl+C does: the pending
// files removed, the rows that reached standard output counted, and the tool ended by the signal.
TEST(BatchTool, EverySignalThatEndsTheRunTidiesUpAndCountsTheRowsSent) {
  const rlimit noCore{0, 0};  // SIGQUIT and SIGXCPU would leave a core file
  ::setrlimit(RLIMIT_CORE, &noCore);
  for (const int signal : {SIGQUIT, SIGALRM, SIGUSR1, SIGUSR2, SIGXCPU, SIGTERM}) {
    SCOPED_TRACE(::strsignal(signal));
    TemporaryFolder folder;
    const std::string scene = WriteLoneSlot(folder);
    for (const char* name : {"t.xyz", "x.ato"}) WriteBytes(folder.Path(name), "OLD\n");
    int ends[2];
    ASSERT_EQ(::pipe2(ends, O_CLOEXEC), 0);
    std::string table;
    const Outcome outcome = EndedRun(folder,
                                     {"--steps", "2000000000", "--log", "-", "--xyz", folder.Path("t.xyz"),
                                      "--output", folder.Path("x.ato"), scene},
                                     ends[1], [&](pid_t child) {
                                       ::close(ends[1]);
                                       char piece[4096];
                                       for (ssize_t n = 0; std::count(table.begin(), table.end(), '\n') < 3 &&
                                                           (n = ::read(ends[0], piece, sizeof piece)) > 0;)
                                         table.append(piece, n);
                                       ::kill(child, signal);
                                       for (ssize_t n = 0; (n = ::read(ends[0], piece, sizeof piece)) > 0;)
                                         table.append(piece, n);
                                       ::close(ends[0]);
                                     });
    const long rows = std::count(table.begin(), table.end(), '\n') - 1;  // the header is no row
    EXPECT_EQ(outcome.status, 128 + signal);
    EXPECT_EQ(outcome.err, "velmora-batch: interrupted after step " + std::to_string(rows - 1) + "; " +
                               std::to_string(rows) +
                               " rows of the table went to standard output, no file written\n");
    EXPECT_EQ(folder.Entries(), (std::set<std::string>{"scene.ato", "t.xyz", "x.ato"}));
    EXPECT_EQ(ReadBytes(folder.Path("t.xyz")), "OLD\n");
  }
}

// A file-size limit (ulimit -f) fails the write as a full disk does, whatever the parent did
// with SIGXFSZ, and the run tidies up.
TEST(BatchTool, AFileSizeLimitIsADiskFullNotAKill) {
  for (const char* output : {"--xyz", "--output"}) {
    SCOPED_TRACE(output);
    TemporaryFolder folder;
    const std::string scene = WriteLoneSlot(folder);
    const std::string target = folder.Path("out");
    const Outcome outcome = RunTool(folder, {"--steps", "200", output, target, scene}, [] {
      ::signal(SIGXFSZ, SIG_DFL);
      const rlimit limit{6000, 6000};
      ::setrlimit(RLIMIT_FSIZE, &limit);
    });
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(outcome.err, "velmora-batch: " + target + ": Disk full\n");
    EXPECT_EQ(folder.Entries(), std::set<std::string>{"scene.ato"});
  }
}

// While the run goes, no other user may read what a pending file will hold.
TEST(BatchTool, PendingFilesAreAsPrivateAsTheirTargets) {
  struct ModeCase {
    int target;  // the target's mode; -1: no target yet
    mode_t pending, after;
  };
  ::umask(022);
  for (const ModeCase& c :
       {ModeCase{0600, 0600, 0600}, ModeCase{0640, 0640, 0640}, ModeCase{-1, 0600, 0644}}) {
    SCOPED_TRACE(c.target);
    TemporaryFolder folder;
    const std::string scene = WriteLoneSlot(folder);
    const std::string target = folder.Path("t.xyz");
    if (c.target >= 0) {
      WriteBytes(target, "OLD\n");
      ::chmod(target.c_str(), static_cast<mode_t>(c.target));
    }
    struct stat pending {};
    const int null = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
    EndedRun(folder, {"--steps", "2000000000", "--xyz", target, scene}, null, [&](pid_t child) {
      for (int wait = 0; wait < 500 && pending.st_mode == 0; ++wait, ::usleep(10000))
        for (const std::string& name : folder.Entries())
          if (name.rfind(".velmora-", 0) == 0) ::stat(folder.Path(name).c_str(), &pending);
      ::kill(child, SIGINT);
    });
    ::close(null);
    EXPECT_EQ(pending.st_mode & 07777, c.pending);
    ASSERT_EQ(RunTool(folder, {"--steps", "1", "--xyz", target, scene}, [] { ::umask(022); }).status, 0);
    struct stat after {};
    ::stat(target.c_str(), &after);
    EXPECT_EQ(after.st_mode & 07777, c.after);
  }
}

// Names of one output that the same-file check must see through: a folder reached through a
// bind mount, and a symbolic link to a file not made yet, which stays a link.
TEST(BatchTool, OutputsSpelledOtherwiseAreTheirFiles) {
  TemporaryFolder folder;
  const std::string scene = WriteLoneSlot(folder);
  ASSERT_EQ(::symlink("made.xyz", folder.Path("link.xyz").c_str()), 0);
  ASSERT_EQ(RunTool(folder, {"--steps", "1", "--xyz", folder.Path("link.xyz"), scene}).status, 0);
  struct stat link {};
  ::lstat(folder.Path("link.xyz").c_str(), &link);
  EXPECT_TRUE(S_ISLNK(link.st_mode));
  EXPECT_EQ(ReadBytes(folder.Path("made.xyz")).substr(0, 2), "1\n");

  ::mkdir(folder.Path("a").c_str(), 0755);
  ::mkdir(folder.Path("b").c_str(), 0755);
  if (::mount(folder.Path("a").c_str(), folder.Path("b").c_str(), nullptr, MS_BIND, nullptr) != 0)
    GTEST_SKIP() << "no folder can be bind-mounted here";
  const Outcome outcome =
      RunTool(folder, {"--xyz", folder.Path("a/t.xyz"), "--log", folder.Path("b/t.xyz"), scene});
  ::umount(folder.Path("b").c_str());
  EXPECT_EQ(outcome.status, 2);
  EXPECT_EQ(outcome.err.substr(0, outcome.err.find('\n')),
            "velmora-batch: --xyz and --log name the same file; one would replace the other");
}

// ---------------------------------------------------------------------------------------------
// On a terminal: the progress line, and Ctrl+C.

struct TerminalRun {
  std::string terminal;  // what the tool wrote to standard error, a terminal
  int status;
  std::chrono::steady_clock::duration watched;
};

// Starts a long run with standard error on a pseudo-terminal, reads it for `watch` after the
// first byte arrives (or for `watch` from the start when `quiet`), then sends SIGINT.
TerminalRun RunOnTerminal(std::vector<std::string> arguments, bool quiet, std::chrono::milliseconds watch) {
  std::vector<char*> argv = ArgumentVector(arguments);
  int master = -1, slave = -1;
  if (::openpty(&master, &slave, nullptr, nullptr, nullptr) != 0) return {"openpty failed", -1, {}};
  const pid_t child = ::fork();
  if (child == 0) {
    ::dup2(slave, STDERR_FILENO);
    ::close(master);
    ::execv(argv[0], argv.data());
    ::_exit(127);
  }
  ::close(slave);
  TerminalRun run{"", -1, {}};
  using Clock = std::chrono::steady_clock;
  const Clock::time_point start = Clock::now();
  Clock::time_point end = start + (quiet ? watch : std::chrono::seconds(60));
  bool interrupted = false;
  for (;;) {
    const Clock::time_point now = Clock::now();
    if (!interrupted && now >= end) {
      ::kill(child, SIGINT);
      interrupted = true;
      run.watched = now - start;
    }
    pollfd p{master, POLLIN, 0};
    if (::poll(&p, 1, 20) > 0) {
      char buffer[512];
      const ssize_t count = ::read(master, buffer, sizeof buffer);
      if (count <= 0) break;  // EIO: the tool has ended and its terminal is closed
      if (run.terminal.empty() && !quiet) end = Clock::now() + watch;
      run.terminal.append(buffer, count);
    }
  }
  ::close(master);
  int wait = 0;
  ::waitpid(child, &wait, 0);
  run.status = StatusOf(wait);
  return run;
}

TEST(BatchTool, ProgressLineOnATerminalAFewTimesASecondAndCtrlCWritesNothing) {
  TemporaryFolder folder;
  const std::string scene = WriteScene(folder, WideRandomScene(11));
  const std::vector<std::string> arguments = {
      "--steps", "2000000000",           "--output", folder.Path("after.ato"),
      "--xyz",   folder.Path("run.xyz"), "--log",    folder.Path("run.tsv"),
      scene};
  const TerminalRun run = RunOnTerminal(arguments, false, std::chrono::milliseconds(1300));
  EXPECT_EQ(run.status, 128 + SIGINT);
  // Each refresh rewrites the line in place; the last thing on the line is the interruption.
  const std::regex line(
      "\r[0-9]+ of 2000000000 steps, [0-9.e+]+ steps/s, [0-9]+ (s|min [0-9]+ s|h [0-9]+ min) left\x1b\\[K");
  const auto begin = std::sregex_iterator(run.terminal.begin(), run.terminal.end(), line);
  const long lines = std::distance(begin, std::sregex_iterator());
  // 1.3 s after the first line at 4 lines a second, give or take a scheduling delay.
  EXPECT_GE(lines, 3) << run.terminal;
  EXPECT_LE(lines, 7) << run.terminal;
  EXPECT_NE(run.terminal.find("\r\x1b[Kvelmora-batch: interrupted after step "), std::string::npos)
      << run.terminal;
  EXPECT_NE(run.terminal.find("; nothing written"), std::string::npos);
  EXPECT_EQ(folder.Entries(), std::set<std::string>{"scene.ato"});

  std::vector<std::string> quiet = arguments;
  quiet.insert(quiet.begin(), "--quiet");
  const TerminalRun quietRun = RunOnTerminal(quiet, true, std::chrono::milliseconds(1000));
  EXPECT_EQ(quietRun.status, 128 + SIGINT);
  EXPECT_EQ(quietRun.terminal.rfind("velmora-batch: interrupted after step ", 0), 0u) << quietRun.terminal;
  EXPECT_EQ(folder.Entries(), std::set<std::string>{"scene.ato"});
}

}  // namespace
}  // namespace velmora

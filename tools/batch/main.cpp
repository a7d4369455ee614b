// velmora-batch: runs a scene without the window, for long runs, many runs with different
// switches, and trajectories for the tools of the field. This file holds only the command line;
// the run itself is RunBatch of the core.

#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "model/ProgramError.h"
#include "run/BatchRun.h"
#include "run/Interruption.h"
#include "run/OptionTable.h"
#include "run/ProgramStart.h"
#include "run/RunOptions.h"
#include "run/RunWatch.h"
#include "sim/Stepper.h"

namespace {

using namespace velmora;

constexpr const char* ProgramName = "velmora-batch";

struct CommandLine {
  BatchJob job;
  int threads = DefaultThreadCount();
  bool quiet = false;
  bool help = false;
};

// ---------------------------------------------------------------------------------------------
// Options: the run's rows shared with the other tools, then this tool's own.

constexpr std::pair<const char*, ListingKind> Listings[] = {{"positions", ListingKind::Positions},
                                                            {"velocities", ListingKind::Velocities}};

OptionTable Options(CommandLine& line) {
  OptionTable options = RunOptions(line.job, line.threads);
  BatchJob& job = line.job;
  options.insert(
      options.end(),
      {
          {"--from-xyz", "FILE", "run the last frame of an extended XYZ file instead of a document",
           [&job](const std::string& v) { job.fromXyz = v; }},
          {"--parameters-from", "DOC", "with --from-xyz: dt and parameters of this document (default: File > New's)",
           [&job](const std::string& v) { job.parametersFrom = v; }},
          {"--output", "FILE.ato", "write the scene after the run as a document",
           [&job](const std::string& v) { job.output = v; }},
          {"--listing", "WHAT", "print positions or velocities after the run, one line per slot",
           [&job](const std::string& v) { job.listing = ChoiceValue("--listing", v, Listings); }},
          {"--xyz", "FILE", "write an extended XYZ trajectory: the start, then every K-th step",
           [&job](const std::string& v) { job.trajectory = v; }},
          {"--every", "K", "the trajectory's frame interval in steps (default 1)",
           [&job](const std::string& v) { job.every = CountValue("--every", v, 1); }},
          {"--log", "FILE", "write a table of energies and sizes: the start, then every N-th step ('-': standard output)",
           [&job](const std::string& v) { job.log = v; }},
          {"--log-every", "N", "the table's row interval in steps (default 1)",
           [&job](const std::string& v) { job.logEvery = CountValue("--log-every", v, 1); }},
          {"--quiet", "", "no progress line", [&line](const std::string&) { line.quiet = true; }},
          {"--help", "", "show this text", [&line](const std::string&) { line.help = true; }},
      });
  return options;
}

std::string Usage() {
  CommandLine unused;
  return std::string("usage: ") + ProgramName + " [options] SCENE.ato\n       " + ProgramName +
         " [options] --from-xyz FILE\n\n" +
         "Runs the scene of a document for a number of steps, as the window's Go does.\n\n" +
         OptionsUsage(Options(unused)) +
         "\nExit status: 0 done, 1 a floating-point fault or a file error, 2 a usage error.\n";
}

// Whether two names given on the command line lead to one file (neither needs to exist yet).
bool SameFile(const std::string& a, const std::string& b) {
  if (a.empty() || b.empty()) return false;
  std::error_code ignored;
  return std::filesystem::weakly_canonical(a, ignored) == std::filesystem::weakly_canonical(b, ignored);
}

CommandLine Parse(int argc, char** argv) {
  CommandLine line;
  const std::vector<std::string> scenes = ParseOptions(Options(line), argc, argv);
  if (line.help) return line;
  if (!line.job.fromXyz.empty()) {
    if (!scenes.empty()) throw UsageError("--from-xyz takes the place of the scene");
  } else {
    if (!line.job.parametersFrom.empty()) throw UsageError("--parameters-from needs --from-xyz");
    if (scenes.size() != 1) throw UsageError(scenes.empty() ? "no scene given" : "one scene at a time");
    line.job.scene = scenes.front();
  }
  if (SameFile(line.job.output, line.job.trajectory))
    throw UsageError("--output and --xyz name the same file; the document would replace the trajectory");
  if (SameFile(line.job.log, line.job.output) || SameFile(line.job.log, line.job.trajectory))
    throw UsageError("--log names the file of --output or --xyz; one would replace the other");
  if (line.job.log == "-" && line.job.listing != ListingKind::None)
    throw UsageError("--log - and --listing both write to standard output");
  return line;
}

}  // namespace

int main(int argc, char** argv) {
  CommandLine line;
  if (const std::optional<int> status = ReadCommandLine(ProgramName, Usage(), [&] { return Parse(argc, argv); }, line))
    return *status;

  RunWatch watch(line.job.steps, line.quiet);
  try {
    Stepper stepper(Evaluation::Fast, line.threads);
    const std::string listing = RunBatch(line.job, stepper, watch.Watcher());
    watch.ClearProgress();
    if (std::fwrite(listing.data(), 1, listing.size(), stdout) != listing.size() || std::fflush(stdout) != 0)
      return Fail(ProgramName, "standard output: cannot write the listing");
    return 0;
  } catch (const StepFault& fault) {
    watch.ClearProgress();
    return Fail(ProgramName, std::string(fault.what()) + " at step " + std::to_string(fault.Step()));
  } catch (const RunWatch::Interrupted&) {
    watch.ClearProgress();
    std::fprintf(stderr, "%s: interrupted after step %d; nothing written\n", ProgramName, watch.Done());
    RaiseCaughtInterruption();
    return FailureStatus;
  } catch (const std::exception& error) {
    watch.ClearProgress();
    return Fail(ProgramName, error.what());
  }
}

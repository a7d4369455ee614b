// velmora-batch: runs a scene without the window, for long runs, many runs with different
// switches, and trajectories for the tools of the field. This file holds only the command line;
// the run itself is RunBatch of the core.

#include <cstdio>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "documents/ObservableLogFile.h"
#include "documents/SameFile.h"
#include "model/ProgramError.h"
#include "run/BatchRun.h"
#include "run/Interruption.h"
#include "run/OptionTable.h"
#include "run/ProcessStart.h"
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

// Relaxing to rest and the structure of the scene.
OptionTable StructureOptions(BatchJob& job) {
  StructureSettings& structure = job.structureSettings;
  return {
      {"--relax", "TOLERANCE",
       "relax the scene to rest instead of running it, until no acceleration exceeds TOLERANCE "
       "(--steps: the step limit, default " +
           std::to_string(RelaxStepLimit) + ")",
       [&job](const std::string& v) { job.relax = RealValue("--relax", v); }},
      {"--structure", "",
       "print the structure of the scene after the run: clusters, neighbours, shape, point group",
       [&job](const std::string&) { job.structure = true; }},
      {"--log-structure", "", "add the columns clusters, largest, coordination and point_group to the table",
       [&job](const std::string&) { job.logStructure = true; }},
      {"--cutoff", "D", "neighbours within D (default: the first minimum of the pair-distance histogram)",
       [&structure](const std::string& v) { structure.cutoff = RealValue("--cutoff", v); }},
      {"--bin-width", "W",
       "the pair-distance histogram's bin width (default: a tenth of the closest distance)",
       [&structure](const std::string& v) { structure.binWidth = RealValue("--bin-width", v); }},
      {"--symmetry-tolerance", "T", "the point group's tolerance (default: a tenth of the closest distance)",
       [&structure](const std::string& v) { structure.tolerance = RealValue("--symmetry-tolerance", v); }},
  };
}

OptionTable Options(CommandLine& line) {
  OptionTable options = RunOptions(line.job, line.threads);
  BatchJob& job = line.job;
  const OptionTable structure = StructureOptions(job);
  options.insert(options.end(), structure.begin(), structure.end());
  options.insert(
      options.end(),
      {
          {"--from-xyz", "FILE", "run the last frame of an extended XYZ file instead of a document",
           [&job](const std::string& v) { job.fromXyz = v; }},
          {"--parameters-from", "DOC",
           "with --from-xyz: dt and parameters of this document (default: File > New's)",
           [&job](const std::string& v) { job.parametersFrom = v; }},
          {"--output", "FILE.ato", "write the scene after the run as a document",
           [&job](const std::string& v) { job.output = v; }},
          {"--listing", "WHAT", "print positions or velocities after the run, one line per slot",
           [&job](const std::string& v) { job.listing = ChoiceValue("--listing", v, Listings); }},
          {"--xyz", "FILE", "write an extended XYZ trajectory: the start, then every K-th step",
           [&job](const std::string& v) { job.trajectory = v; }},
          {"--every", "K", "the trajectory's frame interval in steps (default 1)",
           [&job](const std::string& v) { job.every = CountValue("--every", v, 1); }},
          {"--log", "FILE",
           "write a table of energies and sizes: the start, then every N-th step ('-': standard output)",
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

// Every pair of files the run writes must be two files: one would replace the other.
void CheckOutputsDiffer(const BatchJob& job) {
  const std::pair<const char*, std::string> outputs[] = {
      {"--output", job.output},
      {"--xyz", job.trajectory},
      {"--log", job.log == ObservableLogFile::StandardOutput ? std::string() : job.log}};
  for (std::size_t i = 0; i < std::size(outputs); ++i)
    for (std::size_t j = i + 1; j < std::size(outputs); ++j)
      if (SameFile(outputs[i].second, outputs[j].second))
        throw UsageError(std::string(outputs[i].first) + " and " + outputs[j].first +
                         " name the same file; one would replace the other");
  // The document may take the place of its input (a run continued); a table may not.
  const std::string inputs[] = {job.scene, job.fromXyz, job.parametersFrom};
  for (std::size_t i = 1; i < std::size(outputs); ++i)
    for (const std::string& input : inputs)
      if (SameFile(input, outputs[i].second))
        throw UsageError(std::string(outputs[i].first) + " names an input of the run; it would replace it");
}

// A table or listing asked for on a standard output that was closed would go nowhere.
void CheckStandardOutput(const BatchJob& job) {
  if (!StandardOutputWasClosed()) return;
  if (job.log == ObservableLogFile::StandardOutput)
    throw UsageError("--log -: the standard output is closed");
  if (job.listing != ListingKind::None) throw UsageError("--listing: the standard output is closed");
}

// A relaxation and the structure's settings take values that make sense; --log - leaves standard
// output to the table.
void CheckStructureOptions(const BatchJob& job) {
  if (job.relax && !(*job.relax >= 0.0L)) throw UsageError("--relax: the tolerance must not be negative");
  const StepSettings& run = job.settings;
  if (job.relax && (run.Blockade || run.Cool || run.Mode != BoundaryMode::Free))
    throw UsageError(
        "--relax takes the law's switches (--contact, --taoscope), not --blockade, --cool or --mode");
  const StructureSettings& s = job.structureSettings;
  if (!(s.cutoff >= 0.0L) || !(s.binWidth >= 0.0L) || !(s.tolerance >= 0.0L))
    throw UsageError("--cutoff, --bin-width and --symmetry-tolerance take positive lengths");
  if (job.log == ObservableLogFile::StandardOutput && (job.structure || job.relax))
    throw UsageError("--log - and --structure or --relax both write to standard output");
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
  CheckOutputsDiffer(line.job);
  CheckStandardOutput(line.job);
  if (line.job.log == ObservableLogFile::StandardOutput && line.job.listing != ListingKind::None)
    throw UsageError("--log - and --listing both write to standard output");
  CheckStructureOptions(line.job);
  return line;
}

// Ends the program as the caught signal asks, once every output is given up: the targets stay
// as they were.
int Interrupted(const RunWatch& watch) {
  const int rows = ObservableLogFile::StandardOutputRows();
  const std::string written = rows > 0 ? std::to_string(rows) + (rows == 1 ? " row" : " rows") +
                                             " of the table went to standard output, no file written"
                                       : "nothing written";
  std::fprintf(stderr, "%s: interrupted after step %d; %s\n", ProgramName, watch.Done(), written.c_str());
  RaiseCaughtInterruption();
  return FailureStatus;
}

// The listing goes out before the files take their places: standard output that cannot take it
// leaves every file as it was.
void WriteListing(const std::string& listing) {
  if (std::fwrite(listing.data(), 1, listing.size(), stdout) != listing.size() || std::fflush(stdout) != 0)
    throw ProgramError("standard output: cannot write the listing");
}

}  // namespace

int main(int argc, char** argv) {
  StartProcess();
  CommandLine line;
  if (const std::optional<int> status = ReadCommandLine(
          ProgramName, Usage(), [&] { return Parse(argc, argv); }, line))
    return *status;

  RunWatch watch(line.job.relax && !line.job.stepsGiven ? RelaxStepLimit : line.job.steps, line.quiet);
  try {
    Stepper stepper(Evaluation::Fast, line.threads);
    BatchResult result = RunBatch(line.job, stepper, watch.Watcher());
    watch.ClearProgress();
    result.outputs.Commit([&] {
      WriteListing(result.listing);
      watch.ThrowIfInterrupted();
    });
    return 0;
  } catch (const StepFault& fault) {
    watch.ClearProgress();
    return Fail(ProgramName, std::string(fault.what()) + " at step " + std::to_string(fault.Step()));
  } catch (const RunWatch::Interrupted&) {
    watch.ClearProgress();
    return Interrupted(watch);
  } catch (const std::exception& error) {
    watch.ClearProgress();
    // A write that failed because the reader went away (a closed pipe, a hung-up terminal) is
    // the signal's doing.
    if (CaughtInterruption()) return Interrupted(watch);
    return Fail(ProgramName, FailureText(error));
  }
}

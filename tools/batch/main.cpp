// velmora-batch: runs a scene without the window, for long runs, many runs with different
// switches, and trajectories for the tools of the field. This file holds only the command line;
// the run itself is RunBatch of the core.

#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <iterator>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "model/ProgramError.h"
#include "sim/BatchRun.h"
#include "sim/Stepper.h"
#include "text/NumberText.h"
#include "text/ProgressMeter.h"

namespace {

using namespace velmora;

constexpr const char* ProgramName = "velmora-batch";
constexpr int UsageStatus = 2;
constexpr int FailureStatus = 1;

struct CommandLine {
  BatchJob job;
  int threads = DefaultThreadCount();
  bool quiet = false;
  bool help = false;
};

class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// ---------------------------------------------------------------------------------------------
// Option values

int Count(std::string_view option, const std::string& text, int least) {
  int value = 0;
  try {
    value = ParseInteger(text);
  } catch (const ConversionError& error) {
    throw UsageError(std::string(option) + ": " + error.what());
  }
  if (value < least)
    throw UsageError(std::string(option) + ": '" + text + "' is less than " + std::to_string(least));
  return value;
}

real Real(std::string_view option, const std::string& text) {
  try {
    return ParseReal(text, '.');
  } catch (const ConversionError& error) {
    throw UsageError(std::string(option) + ": " + error.what());
  }
}

// One of the names of a table of (name, value) pairs.
template <class Value, std::size_t Size>
Value Choice(std::string_view option, const std::string& text,
             const std::pair<const char*, Value> (&choices)[Size]) {
  std::string names;
  for (const auto& [name, value] : choices) {
    if (text == name) return value;
    names += names.empty() ? name : std::string(", ") + name;
  }
  throw UsageError(std::string(option) + ": '" + text + "' is none of " + names);
}

constexpr std::pair<const char*, BoundaryMode> Modes[] = {{"free", BoundaryMode::Free},
                                                          {"hot", BoundaryMode::HotContact},
                                                          {"cold", BoundaryMode::ColdContact},
                                                          {"current1", BoundaryMode::ElecCurrent1},
                                                          {"current2", BoundaryMode::ElecCurrent2}};

constexpr std::pair<const char*, ListingKind> Listings[] = {{"positions", ListingKind::Positions},
                                                            {"velocities", ListingKind::Velocities}};

// ---------------------------------------------------------------------------------------------
// Options: one row each, read by the parser and the usage text alike.

struct Option {
  const char* name;
  const char* value;  // the value's name in the usage; nullptr for a switch
  const char* help;
  void (*apply)(CommandLine& line, const std::string& value);
};

const Option Options[] = {
    {"--steps", "N", "integration steps to run (default 0)",
     [](CommandLine& l, const std::string& v) { l.job.steps = Count("--steps", v, 0); }},
    {"--blockade", nullptr, "the Blockade schedule",
     [](CommandLine& l, const std::string&) { l.job.settings.Blockade = true; }},
    {"--cool", nullptr, "damping factor 0.95",
     [](CommandLine& l, const std::string&) { l.job.settings.Cool = true; }},
    {"--contact", nullptr, "the exponential contact part in place of the G shell",
     [](CommandLine& l, const std::string&) { l.job.settings.Law.Functions3X1 = true; }},
    {"--taoscope", nullptr, "the Taoscope sign rule (default: Gravoscope)",
     [](CommandLine& l, const std::string&) { l.job.settings.Law.Taoscope = true; }},
    {"--mode", "M", "free (default), hot, cold, current1 or current2",
     [](CommandLine& l, const std::string& v) { l.job.settings.Mode = Choice("--mode", v, Modes); }},
    {"--dt", "VALUE", "replace the scene's time step ('.' as decimal separator)",
     [](CommandLine& l, const std::string& v) { l.job.dt = Real("--dt", v); }},
    {"--output", "FILE.ato", "write the scene after the run as a document",
     [](CommandLine& l, const std::string& v) { l.job.output = v; }},
    {"--listing", "WHAT", "print positions or velocities after the run, one line per slot",
     [](CommandLine& l, const std::string& v) { l.job.listing = Choice("--listing", v, Listings); }},
    {"--xyz", "FILE", "write an extended XYZ trajectory: the start, then every K-th step",
     [](CommandLine& l, const std::string& v) { l.job.trajectory = v; }},
    {"--every", "K", "the trajectory's frame interval in steps (default 1)",
     [](CommandLine& l, const std::string& v) { l.job.every = Count("--every", v, 1); }},
    {"--log", "FILE", "write a table of energies and sizes: the start, then every N-th step ('-': standard output)",
     [](CommandLine& l, const std::string& v) { l.job.log = v; }},
    {"--log-every", "N", "the table's row interval in steps (default 1)",
     [](CommandLine& l, const std::string& v) { l.job.logEvery = Count("--log-every", v, 1); }},
    {"--threads", "N", "threads for a step (default: all cores); every count gives the same bits",
     [](CommandLine& l, const std::string& v) { l.threads = Count("--threads", v, 1); }},
    {"--quiet", nullptr, "no progress line", [](CommandLine& l, const std::string&) { l.quiet = true; }},
    {"--help", nullptr, "show this text", [](CommandLine& l, const std::string&) { l.help = true; }},
};

std::string Usage() {
  std::string text = std::string("usage: ") + ProgramName + " [options] SCENE.ato\n\n" +
                     "Runs the scene of a document for a number of steps, as the window's Go does.\n\n";
  constexpr std::size_t Column = 22;
  for (const Option& option : Options) {
    std::string head =
        std::string("  ") + option.name + (option.value ? std::string(" ") + option.value : "");
    head.resize(std::max(head.size() + 1, Column), ' ');
    text += head + option.help + "\n";
  }
  return text + "\nExit status: 0 done, 1 a floating-point fault or a file error, 2 a usage error.\n";
}

// Whether two names given on the command line lead to one file (neither needs to exist yet).
bool SameFile(const std::string& a, const std::string& b) {
  if (a.empty() || b.empty()) return false;
  std::error_code ignored;
  return std::filesystem::weakly_canonical(a, ignored) == std::filesystem::weakly_canonical(b, ignored);
}

CommandLine Parse(int argc, char** argv) {
  CommandLine line;
  std::vector<std::string> scenes;
  bool optionsEnd = false;
  for (int i = 1; i < argc; ++i) {
    const std::string argument = argv[i];
    if (optionsEnd || argument.size() < 2 || argument[0] != '-') {
      scenes.push_back(argument);
      continue;
    }
    if (argument == "--") {
      optionsEnd = true;
      continue;
    }
    const auto option = std::find_if(std::begin(Options), std::end(Options),
                                     [&](const Option& o) { return argument == o.name; });
    if (option == std::end(Options)) throw UsageError("unknown option '" + argument + "'");
    std::string value;
    if (option->value) {
      if (++i == argc) throw UsageError(argument + " needs a value " + option->value);
      value = argv[i];
    }
    option->apply(line, value);
  }
  if (line.help) return line;
  if (scenes.size() != 1) throw UsageError(scenes.empty() ? "no scene given" : "one scene at a time");
  line.job.scene = scenes.front();
  if (SameFile(line.job.output, line.job.trajectory))
    throw UsageError("--output and --xyz name the same file; the document would replace the trajectory");
  if (SameFile(line.job.log, line.job.output) || SameFile(line.job.log, line.job.trajectory))
    throw UsageError("--log names the file of --output or --xyz; one would replace the other");
  if (line.job.log == "-" && line.job.listing != ListingKind::None)
    throw UsageError("--log - and --listing both write to standard output");
  return line;
}

// ---------------------------------------------------------------------------------------------
// Progress and interruption

// Ctrl+C or a termination request ends the run between two steps, so that the pending
// trajectory file is removed; the signal is then raised again to end the program as it asks.
volatile std::sig_atomic_t interruption = 0;

void Interrupt(int signal) { interruption = signal; }

void CatchInterruptions() {
  struct sigaction action {};
  action.sa_handler = Interrupt;
  action.sa_flags = SA_RESETHAND;  // a second Ctrl+C ends the program at once
  sigemptyset(&action.sa_mask);
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);
}

struct Interrupted {};

// The progress line on a terminal: rewritten in place, cleared when the run ends.
class ProgressLine {
 public:
  explicit ProgressLine(int total) : meter_(total, ProgressMeter::Clock::now()) {}
  void Update(int done) {
    if (const auto line = meter_.Update(done, ProgressMeter::Clock::now()))
      std::fprintf(stderr, "\r%s\x1b[K", line->c_str());
  }
  void Clear() {
    if (meter_.Shown()) std::fputs("\r\x1b[K", stderr);
  }

 private:
  ProgressMeter meter_;
};

int Fail(const std::string& message) {
  std::fprintf(stderr, "%s: %s\n", ProgramName, message.c_str());
  return FailureStatus;
}

}  // namespace

int main(int argc, char** argv) {
  CommandLine line;
  try {
    line = Parse(argc, argv);
  } catch (const UsageError& error) {
    std::fprintf(stderr, "%s: %s\n\n%s", ProgramName, error.what(), Usage().c_str());
    return UsageStatus;
  }
  if (line.help) {
    std::fputs(Usage().c_str(), stdout);
    return 0;
  }

  CatchInterruptions();
  std::optional<ProgressLine> progress;
  if (!line.quiet && ::isatty(STDERR_FILENO)) progress.emplace(line.job.steps);
  int done = 0;
  const StepWatcher watch = [&](int steps) {
    done = steps;
    if (interruption) throw Interrupted{};
    if (progress) progress->Update(steps);
  };
  const auto clearProgress = [&] {
    if (progress) progress->Clear();
  };

  try {
    Stepper stepper(Evaluation::Fast, line.threads);
    const std::string listing = RunBatch(line.job, stepper, watch);
    clearProgress();
    if (std::fwrite(listing.data(), 1, listing.size(), stdout) != listing.size() || std::fflush(stdout) != 0)
      return Fail("standard output: cannot write the listing");
    return 0;
  } catch (const StepFault& fault) {
    clearProgress();
    return Fail(std::string(fault.what()) + " at step " + std::to_string(fault.Step()));
  } catch (const Interrupted&) {
    clearProgress();
    std::fprintf(stderr, "%s: interrupted after step %d; nothing written\n", ProgramName, done);
    std::raise(interruption);
    return FailureStatus;
  } catch (const std::exception& error) {
    clearProgress();
    return Fail(error.what());
  }
}

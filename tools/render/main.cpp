// velmora-render: pictures and movies of a scene drawn as the window draws it, without a
// display. One picture (PNG or SVG) of the scene, after a run when --steps is given; or the
// frames of a run, the start and every K-th step, into a folder of PNG images or a movie made
// by ffmpeg. The run is velmora-batch's, with the same options; this file holds only the
// command line.

#include <QGuiApplication>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "documents/IoErrors.h"
#include "measure/Selection.h"
#include "model/ProgramError.h"
#include "picture/FrameFolder.h"
#include "picture/MoviePipe.h"
#include "picture/OffscreenGui.h"
#include "picture/PictureFile.h"
#include "picture/PictureSink.h"
#include "picture/PictureView.h"
#include "run/BatchRun.h"
#include "run/Interruption.h"
#include "run/OptionTable.h"
#include "run/ProcessStart.h"
#include "run/ProgramStart.h"
#include "run/RunOptions.h"
#include "run/RunWatch.h"
#include "sim/Stepper.h"
#include "text/QuotedText.h"
#include "view/SceneProjection.h"
#include "view/TrailRecord.h"

namespace {

using namespace velmora;

constexpr const char* ProgramName = "velmora-render";
constexpr int LargestSide = 16384;

enum class OutputKind { Picture, Folder, Movie };

struct CommandLine {
  BatchJob job;
  int threads = DefaultThreadCount();
  std::string output;
  OutputKind kind = OutputKind::Picture;
  QSize size = StartCanvasSize;
  bool numbers = false;
  SceneLook look;
  int trails = 0;  // steps of the trails; none when 0
  int every = 1;   // a frame after every `every`-th step (the run's own watcher may see every step)
  std::array<real, 3> turn{};  // degrees about the view's x, y and z axes
  std::optional<real> zoom;
  int fps = 25;
  bool overwrite = false;
  bool quiet = false;
  bool help = false;
};

// ---------------------------------------------------------------------------------------------
// Options: the run's rows shared with velmora-batch, then this tool's own.

std::vector<std::string> Split(const std::string& text, char separator) {
  std::vector<std::string> parts;
  std::istringstream stream(text);
  for (std::string part; std::getline(stream, part, separator);) parts.push_back(part);
  if (!text.empty() && text.back() == separator) parts.emplace_back();
  return parts;
}

QSize Size(const std::string& text) {
  const std::vector<std::string> sides = Split(text, 'x');
  if (sides.size() != 2) throw UsageError("--size: " + Quoted(text) + " is not WIDTHxHEIGHT");
  const int width = CountValue("--size", sides[0], 1);
  const int height = CountValue("--size", sides[1], 1);
  if (width > LargestSide || height > LargestSide)
    throw UsageError("--size: " + Quoted(text) + " has a side above " + std::to_string(LargestSide));
  return {width, height};
}

// The look's names on the command line.
constexpr std::pair<const char*, ParticleStyle> StyleNames[] = {{"dots", ParticleStyle::Dots},
                                                                {"spheres", ParticleStyle::Spheres}};
constexpr std::pair<const char*, ColourBy> ColourNames[] = {{"group", ColourBy::Group},
                                                            {"speed", ColourBy::Speed},
                                                            {"kinetic", ColourBy::Kinetic},
                                                            {"potential", ColourBy::Potential},
                                                            {"cluster", ColourBy::Cluster},
                                                            {"coordination", ColourBy::Coordination},
                                                            {"neighbour-class", ColourBy::NeighbourClass}};

std::vector<int> Slots(const std::string& text) {
  std::vector<int> chosen;
  for (const std::string& part : Split(text, ',')) {
    const int slot = CountValue("--select", part, 1);
    if (slot > SlotCount)
      throw UsageError("--select: slot " + part + " is not in 1.." + std::to_string(SlotCount));
    if (std::find(chosen.begin(), chosen.end(), slot) == chosen.end()) chosen.push_back(slot);
  }
  if (chosen.size() > static_cast<std::size_t>(Selection::Most))
    throw UsageError("--select: " + Quoted(text) + " names more than " + std::to_string(Selection::Most) +
                     " slots");
  return chosen;
}

real Radius(const std::string& text) {
  const real radius = RealValue("--radius", text);
  if (!IsSphereRadius(radius))
    throw UsageError("--radius: " + Quoted(text) + " is not above 0 and at most 1000");
  return radius;
}

void Turn(CommandLine& line, const std::string& text) {
  const std::vector<std::string> angles = Split(text, ',');
  if (angles.size() != 3) throw UsageError("--turn: " + Quoted(text) + " is not three angles X,Y,Z");
  for (int axis = 0; axis < 3; ++axis) line.turn[axis] = RealValue("--turn", angles[axis]);
}

OptionTable Options(CommandLine& line) {
  OptionTable options = RunOptions(line.job, line.threads);
  options.insert(
      options.end(),
      {
          {"--output", "OUT",
           "a picture (.png, .svg), a folder of frames (ending in /) or a movie (.mp4, .webm, .gif)",
           [&line](const std::string& v) { line.output = v; }},
          {"--every", "K", "a frame before the first step and after every K-th step (default 1)",
           [&line](const std::string& v) { line.every = CountValue("--every", v, 1); }},
          {"--fps", "N", "frames a second of a movie (default 25)",
           [&line](const std::string& v) { line.fps = CountValue("--fps", v, 1); }},
          {"--size", "WxH", "the drawing area in pixels (default: the window's, 846x289)",
           [&line](const std::string& v) { line.size = Size(v); }},
          {"--numbers", "", "the slot numbers beside the dots",
           [&line](const std::string&) { line.numbers = true; }},
          {"--look", "dots|spheres", "the particles as the scope's dots (default) or as shaded spheres",
           [&line](const std::string& v) { line.look.Style = ChoiceValue("--look", v, StyleNames); }},
          {"--radius", "R", "the spheres' radius in model units (default 0.08)",
           [&line](const std::string& v) { line.look.SphereRadius = Radius(v); }},
          {"--colour-by", "Q",
           "group (default), speed, kinetic, potential (a colour bar), cluster, coordination, "
           "neighbour-class",
           [&line](const std::string& v) { line.look.Colour = ChoiceValue("--colour-by", v, ColourNames); }},
          {"--trails", "K", "each particle's path over its last K steps, fading",
           [&line](const std::string& v) { line.trails = CountValue("--trails", v, 1); }},
          {"--select", "I,J,..", "ring up to four slots, as the window marks a selection",
           [&line](const std::string& v) { line.look.Selected = Slots(v); }},
          {"--turn", "X,Y,Z", "turn the view by these angles in degrees about its axes",
           [&line](const std::string& v) { Turn(line, v); }},
          {"--zoom", "Z", "the view's zoom (default 120)",
           [&line](const std::string& v) { line.zoom = RealValue("--zoom", v); }},
          {"--overwrite", "", "remove the frames of another run from the folder first",
           [&line](const std::string&) { line.overwrite = true; }},
          {"--quiet", "", "no progress line", [&line](const std::string&) { line.quiet = true; }},
          {"--help", "", "show this text", [&line](const std::string&) { line.help = true; }},
      });
  return options;
}

std::string Usage() {
  CommandLine unused;
  return std::string("usage: ") + ProgramName + " [options] --output OUT SCENE.ato\n\n" +
         "Draws the scene of a document as the window draws it: one picture after the run, or a\n" +
         "frame of the run before the first step and after every K-th step.\n\n" +
         OptionsUsage(Options(unused)) +
         "\nExit status: 0 done, 1 a floating-point fault or a file error (frames so far are kept),\n"
         "2 a usage error or no ffmpeg for a movie.\n";
}

OutputKind KindOf(const std::string& output) {
  if (PictureFormatOf(output)) return OutputKind::Picture;
  if (MovieFormatOf(output)) return OutputKind::Movie;
  std::error_code ignored;
  if (output.back() == '/' || std::filesystem::is_directory(output, ignored)) return OutputKind::Folder;
  throw UsageError("--output: " + Quoted(output) +
                   " is no picture (.png, .svg), movie (.mp4, .webm, .gif) or folder (ending in /)");
}

CommandLine Parse(int argc, char** argv) {
  CommandLine line;
  const std::vector<std::string> scenes = ParseOptions(Options(line), argc, argv);
  if (line.help) return line;
  if (scenes.size() != 1) throw UsageError(scenes.empty() ? "no scene given" : "one scene at a time");
  line.job.scene = scenes.front();
  if (line.output.empty()) throw UsageError("no --output given");
  line.kind = KindOf(line.output);
  // A picture shows the scene after the run: the only frame asked for is the last.
  if (line.kind == OutputKind::Picture) line.every = std::max(line.job.steps, 1);
  // Trails are recorded at every step; the frames are still drawn every `every` steps.
  line.job.every = line.trails > 0 ? 1 : line.every;
  return line;
}

// ---------------------------------------------------------------------------------------------
// Drawing

// The sink of the output asked for, opened before the run, so that a folder that is missing or
// may not be written is reported at once and not after hours of steps.
std::unique_ptr<FrameSink> OpenSink(const CommandLine& line, const std::string& encoder,
                                    const std::string& probe) {
  switch (line.kind) {
    case OutputKind::Picture:
      return std::make_unique<PictureSink>(line.output, *PictureFormatOf(line.output));
    case OutputKind::Folder:
      return std::make_unique<FrameFolder>(line.output, line.overwrite);
    case OutputKind::Movie:
      break;
  }
  std::unique_ptr<FrameSink> movie;
  OnFile(line.output, [&] {
    movie = std::make_unique<MoviePipe>(encoder, probe, line.output, *MovieFormatOf(line.output), line.size,
                                        line.fps);
  });
  return movie;
}

int Interrupted(const RunWatch& watch, const std::string& kept) {
  std::fprintf(stderr, "%s: interrupted after step %d; %s\n", ProgramName, watch.Done(), kept.c_str());
  RaiseCaughtInterruption();
  return FailureStatus;
}

}  // namespace

int main(int argc, char** argv) {
  StartProcess();
  CommandLine line;
  if (const std::optional<int> status = ReadCommandLine(
          ProgramName, Usage(), [&] { return Parse(argc, argv); }, line))
    return *status;
  std::optional<std::string> encoder, probe;
  if (line.kind == OutputKind::Movie &&
      (!(encoder = MoviePipe::FindEncoder()) || !(probe = MoviePipe::FindProbe(*encoder)))) {
    std::fprintf(
        stderr,
        "%s: a movie needs ffmpeg and ffprobe, and %s is not on the PATH (a folder takes PNG frames without "
        "them)\n",
        ProgramName, encoder ? "ffprobe" : "ffmpeg");
    return UsageStatus;
  }

  qputenv("QT_QPA_PLATFORM", "offscreen");
  qInstallMessageHandler(QuietQtNotes);
  int qtArgc = 1;
  QGuiApplication application(qtArgc, argv);

  RunWatch watch(line.job.steps, line.quiet);

  ViewState view = PictureView(line.size, line.turn, line.zoom);
  SceneLook look = line.look;
  look.What = Redraw::Particles;
  look.Taoscope = line.job.settings.Law.Taoscope;
  look.ShowNumbers = line.numbers;
  look.Functions3X1 = line.job.settings.Law.Functions3X1;
  std::optional<TrailRecord> trails;
  std::unique_ptr<FrameSink> sink;
  line.job.frames = [&](const Model& model, int steps) {
    if (trails && steps > 0) trails->Add(model);
    if (steps % line.every != 0) return;
    ProjectParticles(view, model);
    sink->Add(PictureSource{model, view, look, line.size, trails ? &*trails : nullptr});
  };
  // Ends an output the run could not complete, and says what was kept; its pending files go with
  // the sink, before a caught signal is raised again.
  const auto abandon = [&] {
    watch.ClearProgress();
    const std::string kept = sink->Abandon();
    sink.reset();
    return kept;
  };

  try {
    // The step's threads start first: a count the system refuses leaves nothing behind.
    Stepper stepper(Evaluation::Fast, line.threads);
    // A run of S steps leaves at most S steps of trails to draw.
    if (line.trails > 0) trails.emplace(std::min(line.trails, std::max(line.job.steps, 1)));
    sink = OpenSink(line, encoder.value_or(std::string()), probe.value_or(std::string()));
    RunBatch(line.job, stepper, watch.Watcher()).outputs.Commit();
    watch.ClearProgress();
  } catch (const StepFault& fault) {
    return Fail(ProgramName,
                std::string(fault.what()) + " at step " + std::to_string(fault.Step()) + "; " + abandon());
  } catch (const RunWatch::Interrupted&) {
    return Interrupted(watch, abandon());
  } catch (const std::exception& error) {
    watch.ClearProgress();
    if (!sink) return Fail(ProgramName, FailureText(error));
    const std::string kept = abandon();
    if (CaughtInterruption()) return Interrupted(watch, kept);
    return Fail(ProgramName, FailureText(error) + "; " + kept);
  }
  try {
    sink->Finish();
    return 0;
  } catch (const std::exception& error) {
    return Fail(ProgramName, FailureText(error));
  }
}

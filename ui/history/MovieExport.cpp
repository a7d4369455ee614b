#include "ui/history/MovieExport.h"

#include <QProgressDialog>
#include <QScopeGuard>
#include <exception>
#include <optional>
#include <string>

#include "model/ProgramError.h"
#include "picture/MoviePipe.h"
#include "picture/OutputFormat.h"
#include "ui/common/DialogProvider.h"
#include "ui/common/FileNames.h"
#include "ui/history/HistoryBar.h"

namespace velmora {

namespace {

// ffmpeg and ffprobe, or the error that says which one is missing.
std::pair<std::string, std::string> MovieTools() {
  const std::optional<std::string> encoder = MoviePipe::FindEncoder();
  const std::optional<std::string> probe = encoder ? MoviePipe::FindProbe(*encoder) : std::nullopt;
  if (!probe)
    throw ProgramError(std::string("A movie needs ffmpeg and ffprobe, and ") +
                       (encoder ? "ffprobe" : "ffmpeg") + " is not on the PATH.");
  return {*encoder, *probe};
}

}  // namespace

void ExportMovie(QWidget* parent, HistoryBar& bar, const std::function<PictureSource()>& picture) {
  DialogProvider& dialogs = DialogProvider::Instance();
  if (bar.Count() == 0) {
    dialogs.ShowInformation(parent,
                            QStringLiteral("No steps are kept: run the scene or open a trajectory first."));
    return;
  }
  const auto [encoder, probe] = MovieTools();
  QString filter;
  const std::optional<QString> name =
      dialogs.ExportFileName(parent, QStringLiteral("Export Movie"),
                             {QStringLiteral("MP4 movie (*.mp4)"), QStringLiteral("WebM movie (*.webm)"),
                              QStringLiteral("GIF animation (*.gif)")},
                             filter);
  if (!name) return;
  const std::string target = FileName(*name);
  const std::optional<MovieFormat> format = MovieFormatOf(target);
  if (!format) throw ProgramError(target + ": a movie's name ends in .mp4, .webm or .gif");

  const int shown = bar.Shown();
  const bool keptStepShown = bar.ShowsKeptStep();
  // Also when a frame fails: a frame that cannot be shown again gives the scene back instead.
  const auto back = qScopeGuard([&] {
    try {
      if (keptStepShown) bar.Show(shown);
    } catch (const std::exception&) {
      bar.ReturnToScene();
    }
    if (!keptStepShown) bar.ReturnToScene();
  });
  QProgressDialog progress(QStringLiteral("Exporting the movie..."), QStringLiteral("Cancel"), 0, bar.Count(),
                           parent);
  progress.setObjectName(QStringLiteral("MovieProgress"));
  progress.setWindowModality(Qt::WindowModal);
  progress.setMinimumDuration(0);
  MoviePipe movie(encoder, probe, target, *format, picture().Area, bar.StepsPerSecond());
  for (int k = 0; k < bar.Count(); ++k) {
    progress.setValue(k);
    if (progress.wasCanceled()) {
      const std::string kept = movie.Abandon();
      dialogs.ShowInformation(
          parent, QStringLiteral("The movie was cancelled; %1.").arg(QString::fromStdString(kept)));
      return;
    }
    bar.Show(k);
    movie.Add(picture());
  }
  movie.Finish();
  progress.setValue(bar.Count());
}

}  // namespace velmora

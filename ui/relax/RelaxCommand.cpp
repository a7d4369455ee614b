#include "ui/relax/RelaxCommand.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMainWindow>
#include <QMenu>
#include <QScopeGuard>
#include <QShortcutEvent>
#include <QStatusBar>
#include <QToolButton>
#include <cmath>

#include "model/ProgramError.h"
#include "relax/FireRelaxer.h"
#include "text/NumberText.h"
#include "ui/common/DialogProvider.h"
#include "ui/common/ErrorReport.h"
#include "ui/history/SceneUndo.h"
#include "ui/main/SceneCanvas.h"

namespace velmora {

namespace {

// Ends a relaxation from its watcher when "Stop" was clicked.
struct Stopped {};

// How long the last line stays in the status bar.
constexpr int ResultMilliseconds = 30000;

bool IsEscape(QEvent* event) {
  if (event->type() == QEvent::KeyPress || event->type() == QEvent::ShortcutOverride)
    return static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape;
  return event->type() == QEvent::Shortcut &&
         static_cast<QShortcutEvent*>(event)->key() == QKeySequence(Qt::Key_Escape);
}

bool IsUserInput(QEvent::Type type) {
  switch (type) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::Drop:
    case QEvent::Close:
      return true;
    default:
      return false;
  }
}

}  // namespace

RelaxCommand::RelaxCommand(QMainWindow& window, Model& model, SceneUndo& undo, Window settings)
    : QObject(&window), window_(window), model_(model), undo_(undo), settings_(std::move(settings)) {}

void RelaxCommand::CreateMenu(QMenu& tools) {
  QAction* relax = tools.addAction(QStringLiteral("Relax..."));
  relax->setObjectName(QStringLiteral("Relax1"));
  relax->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_R));
  window_.addAction(relax);
  connect(relax, &QAction::triggered, this, [this] { Guarded([this] { RelaxClick(); }); });
  // As high as the status bar's texts, so that the bar, and the picture above it, keep their size.
  Stop = new QToolButton(window_.statusBar());
  Stop->setText(QStringLiteral("Stop"));
  Stop->setObjectName(QStringLiteral("RelaxStop"));
  Stop->setFixedHeight(QFontMetrics(window_.statusBar()->font()).height());
  Stop->hide();
  window_.statusBar()->addPermanentWidget(Stop);
  connect(Stop, &QToolButton::clicked, this, [this] { stopRequested_ = true; });
}

QString RelaxCommand::Number(real value) const {
  return QString::fromStdString(FormatReal(value, settings_.separator));
}

void RelaxCommand::RelaxClick() {
  if (relaxing_) return;
  if (settings_.running() || model_.SpiralShown) {
    window_.statusBar()->showMessage(
        QString::fromLatin1(settings_.running() ? "Stop the run to relax the scene"
                                                : "Relax takes a scene of particles"),
        ResultMilliseconds);
    return;
  }
  const std::optional<QStringList> answers =
      DialogProvider::Instance().AskTexts(&window_, QStringLiteral("Relax"),
                                          {QStringLiteral("Largest acceleration left (tolerance):"),
                                           QStringLiteral("Step limit (1 to %1):").arg(MostSteps)},
                                          {Number(tolerance_), QString::number(stepLimit_)});
  if (!answers || answers->size() != 2) return;
  const real tolerance = ParseReal((*answers)[0].toStdString(), settings_.separator);
  if (!(tolerance > 0.0L) || !std::isfinite(tolerance))
    throw ProgramError("The tolerance must be a number above 0");
  const int steps = ParseInteger((*answers)[1].toStdString());
  if (steps < 1 || steps > MostSteps)
    throw ProgramError("The step limit must be 1 to " + std::to_string(MostSteps));
  tolerance_ = tolerance;
  stepLimit_ = steps;
  Run(tolerance, steps);
}

// The relaxation inside this handler, the events of the window pumped between steps; user input
// reaches only "Stop".
void RelaxCommand::Run(real tolerance, int stepLimit) {
  SceneUndo::Session entry(undo_);
  entry.name = "Relax";
  relaxing_ = true;
  stopRequested_ = false;
  undo_.SetRunning(true);
  qApp->installEventFilter(this);
  Stop->show();
  const auto leave = qScopeGuard([this] {
    qApp->removeEventFilter(this);
    Stop->hide();
    relaxing_ = false;
    undo_.SetRunning(false);
    emit Finished();
  });
  FastLaw fast(settings_.threads);
  int steps = 0;
  real largest = 0.0L;
  QElapsedTimer frame;
  frame.start();
  QString ending = QStringLiteral("Relaxed");
  try {
    const RelaxResult result =
        Relax(model_, LawField(fast, settings_.law()), tolerance, stepLimit, [&](int done, real a) {
          steps = done;
          largest = a;
          if (stopAfterSteps_ > 0 && done >= stopAfterSteps_) stopRequested_ = true;
          if (frame.elapsed() >= SceneCanvas::FrameMilliseconds) {
            frame.start();
            Watch(done, a);
          }
          if (stopRequested_) throw Stopped{};
        });
    steps = result.steps;
    largest = result.largestAcceleration;
    if (!result.converged) ending = QStringLiteral("Step limit reached");
  } catch (const Stopped&) {
    ComeToRest(model_);
    ending = QStringLiteral("Stopped");
  }
  result_ = QStringLiteral("%1 after %2 steps: largest acceleration %3")
                .arg(ending)
                .arg(steps)
                .arg(Number(largest));
  window_.statusBar()->showMessage(result_, ResultMilliseconds);
}

void RelaxCommand::Watch(int steps, real largest) {
  window_.statusBar()->showMessage(
      QStringLiteral("Relaxing: step %1, largest acceleration %2").arg(steps).arg(Number(largest)));
  emit Stepped();
  QCoreApplication::processEvents();
}

// While relaxing: a click on "Stop" passes, Escape stops, every other input waits. The window
// system's events reach the windows first, which hand them on to their widgets: those are held
// at the widget, and shortcuts at their actions.
bool RelaxCommand::eventFilter(QObject* watched, QEvent* event) {
  if (!relaxing_ || !IsUserInput(event->type())) return false;
  if (IsEscape(event)) stopRequested_ = true;
  if (watched == Stop) return false;
  return watched->isWidgetType() || event->type() == QEvent::Shortcut;
}

}  // namespace velmora

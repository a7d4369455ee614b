#include "ui/main/SceneInstruments.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QClipboard>
#include <QFileInfo>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QTimer>
#include <cmath>
#include <cstdlib>

#include "documents/SavedComparison.h"
#include "measure/Picking.h"
#include "measure/Readout.h"
#include "model/ProgramError.h"
#include "text/NumberText.h"
#include "ui/common/DialogProvider.h"
#include "ui/common/ErrorReport.h"
#include "ui/main/SceneCanvas.h"
#include "ui/main/ViewButton.h"
#include "view/ViewCommands.h"

namespace velmora {

namespace {

// A press and release this close together are a click: they pick a particle (and still make
// the drag's tiny change of the view).
constexpr int ClickTolerance = 2;
// The status bar follows a run once per display frame (SceneCanvas::FrameMilliseconds); the
// document's file is compared less often.
constexpr int DocumentCheckMilliseconds = 500;
constexpr int RateMilliseconds = 1000;
constexpr int IdleMilliseconds = 250;
// How long a notice stays in the status bar.
constexpr int NoticeMilliseconds = 4000;
// A trail's frame holds every slot's position: 10000 of them take about 50 MB.
constexpr int MostTrailSteps = 10000;

QLabel* StatusLabel(QStatusBar* bar, const char* name, int stretch) {
  auto* label = new QLabel(bar);
  label->setObjectName(QString::fromLatin1(name));
  bar->addWidget(label, stretch);
  return label;
}

}  // namespace

SceneInstruments::SceneInstruments(QMainWindow& window, Model& model, ViewState& view, SceneCanvas& canvas,
                                   std::function<LawSettings()> law, char separator)
    : QObject(&window),
      window_(window),
      model_(model),
      view_(view),
      canvas_(canvas),
      law_(std::move(law)),
      separator_(separator) {}

void SceneInstruments::CreateMenus(QMenu& viewMenu) {
  QMenu* edit = new QMenu(QStringLiteral("&Edit"), &window_);
  edit->setObjectName(QStringLiteral("EditMenu"));
  window_.menuBar()->insertMenu(viewMenu.menuAction(), edit);
  QAction* copy = edit->addAction(QStringLiteral("Copy Selection"));
  copy->setObjectName(QStringLiteral("CopySelection"));
  copy->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C));
  window_.addAction(copy);
  connect(copy, &QAction::triggered, this, [this] { Guarded([this] { CopySelection(); }); });
  QAction* clear = new QAction(QStringLiteral("Clear Selection"), this);
  clear->setObjectName(QStringLiteral("ClearSelection"));
  clear->setShortcut(QKeySequence(Qt::Key_Escape));
  edit->addAction(clear);
  window_.addAction(clear);
  connect(clear, &QAction::triggered, this, [this] { Guarded([this] { ClearSelection(); }); });

  const auto choice = [this](QMenu* menu, const char* name, const QString& text, bool checked, auto apply) {
    QAction* action = menu->addAction(text);
    action->setObjectName(QString::fromLatin1(name));
    action->setCheckable(true);
    action->setChecked(checked);
    connect(action, &QAction::triggered, this, [this, apply] {
      Guarded([this, apply] {
        apply();
        emit RedrawNeeded();
      });
    });
    return action;
  };
  viewMenu.addSeparator();
  QMenu* look = viewMenu.addMenu(QStringLiteral("Look"));
  look->setObjectName(QStringLiteral("Look"));
  auto* looks = new QActionGroup(look);
  looks->addAction(
      choice(look, "LookDots", QStringLiteral("Dots"), true, [this] { style_ = ParticleStyle::Dots; }));
  looks->addAction(choice(look, "LookSpheres", QStringLiteral("Spheres"), false,
                          [this] { style_ = ParticleStyle::Spheres; }));
  QAction* radius = viewMenu.addAction(QStringLiteral("Sphere Radius..."));
  radius->setObjectName(QStringLiteral("SphereRadius"));
  connect(radius, &QAction::triggered, this, [this] { Guarded([this] { ChooseSphereRadius(); }); });
  QMenu* colourBy = viewMenu.addMenu(QStringLiteral("Colour By"));
  colourBy->setObjectName(QStringLiteral("ColourBy"));
  auto* colours = new QActionGroup(colourBy);
  const std::pair<const char*, ColourBy> quantities[] = {
      {"ColourByGroup", ColourBy::Group},
      {"ColourBySpeed", ColourBy::Speed},
      {"ColourByKinetic", ColourBy::Kinetic},
      {"ColourByPotential", ColourBy::Potential},
      {"ColourByCluster", ColourBy::Cluster},
      {"ColourByCoordination", ColourBy::Coordination},
      {"ColourByNeighbourClass", ColourBy::NeighbourClass}};
  for (const auto& [name, quantity] : quantities)
    colours->addAction(choice(colourBy, name, QString::fromLatin1(ColourByName(quantity)),
                              quantity == ColourBy::Group, [this, q = quantity] {
                                colour_ = q;
                                if (heldRange_) HoldColourRange();
                              }));
  QAction* hold = choice(&viewMenu, "HoldColourRange", QStringLiteral("Hold Colour Range"), false, [this] {
    if (heldRange_)
      heldRange_.reset();
    else
      HoldColourRange();
  });
  hold->setToolTip(QStringLiteral("Keep the colour bar's range of this moment"));
  QAction* trails = choice(&viewMenu, "Trails", QStringLiteral("Trails"), false, [this] {
    trailsOn_ = !trailsOn_;
    trails_.Clear();
  });
  trails->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_T));
  window_.addAction(trails);
  QAction* trailSteps = viewMenu.addAction(QStringLiteral("Trail Steps..."));
  trailSteps->setObjectName(QStringLiteral("TrailSteps"));
  connect(trailSteps, &QAction::triggered, this, [this] { Guarded([this] { ChooseTrailSteps(); }); });
}

void SceneInstruments::CreateStatusBar() {
  const int before = window_.height();
  QStatusBar* bar = window_.statusBar();
  bar->setObjectName(QStringLiteral("StatusBar"));
  stepLabel_ = StatusLabel(bar, "StatusStep", 0);
  rateLabel_ = StatusLabel(bar, "StatusRate", 0);
  documentLabel_ = StatusLabel(bar, "StatusDocument", 0);
  selectionLabel_ = StatusLabel(bar, "StatusSelection", 1);
  window_.resize(window_.width(), before + bar->sizeHint().height());
  // Between runs nothing else updates it: a save, an edit or a document read shows within this.
  auto* idle = new QTimer(this);
  connect(idle, &QTimer::timeout, this, [this] { Guarded([this] { UpdateStatus(); }); });
  idle->start(IdleMilliseconds);
  Refresh();
}

QString SceneInstruments::StatusText() const {
  return stepLabel_->text() + QLatin1Char('\t') + rateLabel_->text() + QLatin1Char('\t') +
         documentLabel_->text() + QLatin1Char('\t') + selectionLabel_->text();
}

real SceneInstruments::PickRadius() const {
  if (style_ == ParticleStyle::Dots) return DotRadius;
  return std::fabs(sphereRadius_ * view_.Zoom / 2.0L);
}

void SceneInstruments::Draw(Redraw redraw, SceneLook look) {
  if (redraw == Redraw::None) return;
  look.Style = style_;
  look.SphereRadius = sphereRadius_;
  look.Colour = colour_;
  look.Structure = structure_;
  look.Functions3X1 = law_().Functions3X1;
  look.Selected = selection_.Slots();
  look.HeldRange = heldRange_;
  look.Separator = separator_;
  const TrailRecord* trails = trailsOn_ && redraw == Redraw::Particles ? &trails_ : nullptr;
  if (!drag_ || drag_->now == drag_->pressed) {
    canvas_.Draw(model_, view_, look, trails);
    return;
  }
  // The release's change made on copies: the picture follows the pointer, the view stays.
  dragView_ = view_;
  if (model_.SpiralShown) dragModel_ = model_;
  Model& shown = model_.SpiralShown ? dragModel_ : model_;
  look.What = MouseRelease(dragView_, shown, ViewButton(drag_->button), drag_->now.x(), drag_->now.y());
  canvas_.Draw(shown, dragView_, look, trails);
}

void SceneInstruments::Press(Qt::MouseButton button, QPoint position) {
  const int slot =
      model_.SpiralShown ? 0 : PickParticle(model_, view_, position.x(), position.y(), PickRadius());
  drag_ = Drag{button, position, slot, position};
}

void SceneInstruments::Move(QPoint position) {
  if (!drag_) return;
  drag_->now = position;
  emit RedrawNeeded();
}

void SceneInstruments::Release(Qt::MouseButton button, QPoint position, Qt::KeyboardModifiers modifiers) {
  if (!drag_ || drag_->button != button) {
    drag_.reset();
    return;
  }
  const Drag drag = *drag_;
  drag_.reset();
  const QPoint moved = position - drag.pressed;
  if (button != Qt::LeftButton || std::abs(moved.x()) > ClickTolerance ||
      std::abs(moved.y()) > ClickTolerance)
    return;
  // Ctrl adds to the selection or takes from it; a Ctrl+click that misses keeps it as it is.
  if (modifiers & Qt::ControlModifier) {
    const bool full = selection_.Slots().size() == Selection::Most && !selection_.Contains(drag.slot);
    if (drag.slot != 0 && full)
      window_.statusBar()->showMessage(
          QStringLiteral("At most %1 particles are measured").arg(Selection::Most), NoticeMilliseconds);
    selection_.Toggle(drag.slot);
  } else {
    selection_.Pick(drag.slot);
  }
  UpdateStatus();
}

void SceneInstruments::ClearSelection() {
  selection_.Clear();
  UpdateStatus();
  emit RedrawNeeded();
}

// With nothing selected the clipboard keeps what it holds.
void SceneInstruments::CopySelection() {
  selection_.KeepPresent(model_);
  if (selection_.Empty()) {
    window_.statusBar()->showMessage(QStringLiteral("Nothing is selected"), NoticeMilliseconds);
    return;
  }
  const std::string text = CopyText(ReadSelection(model_, law_(), selection_.Slots()));
  QApplication::clipboard()->setText(QString::fromStdString(text));
}

void SceneInstruments::ChooseSphereRadius() {
  const std::optional<QString> text = DialogProvider::Instance().AskText(
      &window_, QStringLiteral("Sphere Radius"), QStringLiteral("Radius in model units:"),
      QString::fromStdString(FormatReal(sphereRadius_, separator_)));
  if (!text) return;
  const real radius = ParseReal(text->toStdString(), separator_);
  if (!IsSphereRadius(radius)) throw ProgramError("The sphere radius must be above 0 and at most 1000");
  sphereRadius_ = radius;
  emit RedrawNeeded();
}

void SceneInstruments::ChooseTrailSteps() {
  const std::optional<QString> text = DialogProvider::Instance().AskText(
      &window_, QStringLiteral("Trail Steps"),
      QStringLiteral("Steps of each trail (1 to %1):").arg(MostTrailSteps), QString::number(trails_.Steps()));
  if (!text) return;
  const int steps = ParseInteger(text->toStdString());
  if (steps < 1 || steps > MostTrailSteps)
    throw ProgramError("The trail steps must be 1 to " + std::to_string(MostTrailSteps));
  trails_.SetSteps(steps);
  emit RedrawNeeded();
}

void SceneInstruments::StepDone() {
  if (trailsOn_) trails_.Add(model_, &view_);
  if (!shown_.isValid() || shown_.elapsed() >= SceneCanvas::FrameMilliseconds) UpdateStatus();
}

// The range of the moment, of the quantity now chosen.
void SceneInstruments::HoldColourRange() {
  heldRange_ = PresentRange(model_, ParticleValues(model_, law_(), colour_));
}

void SceneInstruments::SetStructure(const StructureSettings& settings) {
  structure_ = settings;
  UpdateStatus();
  emit RedrawNeeded();
}

void SceneInstruments::SceneReplaced() {
  trails_.Clear();
  selection_.Clear();
  Refresh();
  emit RedrawNeeded();
}

void SceneInstruments::Refresh() {
  rateSince_.invalidate();
  documentChecked_.invalidate();
  UpdateStatus();
}

void SceneInstruments::UpdateStatus() {
  if (!stepLabel_) return;
  shown_.start();
  stepLabel_->setText(QStringLiteral("Step %1").arg(model_.StepCount));
  if (!rateSince_.isValid() || model_.StepCount < rateFromStep_) {
    rateSince_.start();
    rateFromStep_ = model_.StepCount;
  } else if (rateSince_.elapsed() >= RateMilliseconds) {
    const double perSecond =
        (model_.StepCount - rateFromStep_) * 1000.0 / static_cast<double>(rateSince_.elapsed());
    rateLabel_->setText(QStringLiteral("%1 steps/s").arg(std::lround(perSecond)));
    rateSince_.start();
    rateFromStep_ = model_.StepCount;
  }
  if (!documentChecked_.isValid() || documentChecked_.elapsed() >= DocumentCheckMilliseconds)
    UpdateDocument();
  selection_.KeepPresent(model_);
  selectionLabel_->setText(QString::fromStdString(
      ReadoutText(ReadSelection(model_, law_(), selection_.Slots(), &structure_), separator_)));
}

void SceneInstruments::UpdateDocument() {
  documentChecked_.start();
  if (model_.SpiralShown || model_.DocFileName.empty()) {
    documentLabel_->clear();
    return;
  }
  const QString name = QFileInfo(QString::fromStdString(model_.DocFileName)).fileName();
  documentLabel_->setText(DiffersFromDocument(model_, model_.DocFileName) ? name + QStringLiteral(" *")
                                                                          : name);
}

}  // namespace velmora

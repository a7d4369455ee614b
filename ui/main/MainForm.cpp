#include "ui/main/MainForm.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QFocusEvent>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>
#include <QSlider>
#include <QStyle>
#include <QTabWidget>
#include <QTableWidget>
#include <QTimer>
#include <QToolButton>
#include <QWindow>
#include <algorithm>
#include <filesystem>
#include <utility>

#include "documents/CommentFile.h"
#include "documents/DocumentFile.h"
#include "documents/StartFile.h"
#include "figures/FigureBuilder.h"
#include "history/UndoHistory.h"
#include "text/Listing.h"
#include "ui/common/ControlLook.h"
#include "ui/common/DialogProvider.h"
#include "ui/common/ErrorReport.h"
#include "ui/common/FileNames.h"
#include "ui/common/NumberFields.h"
#include "ui/editor/EditDlg.h"
#include "ui/history/HistoryBar.h"
#include "ui/history/SceneUndo.h"
#include "ui/main/Lamp.h"
#include "ui/main/LocaleSeparator.h"
#include "ui/main/MemoText.h"
#include "ui/main/ModelFields.h"
#include "ui/main/SceneCanvas.h"
#include "ui/main/SceneInstruments.h"
#include "ui/main/ViewButton.h"
#include "ui/main/WindowPlacement.h"
#include "ui/observables/ObservablesWindow.h"

namespace velmora {

namespace {

constexpr const char* SpiralTitle = "ThetraSpiral";
constexpr const char* EasySquareTitle = "The easy square";
// The "0" button's width at rest, and the room its caption needs beside the text.
constexpr int Null00MinimumWidth = 17;
constexpr int Null00TextMargin = 6;

// Ctrl+arrow: the hidden menu's picture shifts. A field or the comment memo would take them as
// moves of its text cursor; the window gives them to the menu wherever the focus is.
bool IsPictureShift(const QKeyEvent& key) {
  const int code = key.key();
  const bool arrow =
      code == Qt::Key_Left || code == Qt::Key_Right || code == Qt::Key_Up || code == Qt::Key_Down;
  return arrow && (key.modifiers() & ~Qt::KeypadModifier) == Qt::ControlModifier;
}

}  // namespace

TMainForm::TMainForm(Model& model, ViewState& view, const std::optional<std::string>& startDocument,
                     QWidget* parent)
    : QMainWindow(parent),
      model_(model),
      view_(view),
      separator_(LocaleDecimalSeparator()),
      run_(model, {[this] { return CurrentStepSettings(); }, [this](int counter) { StepDone(counter); },
                   [this](bool running) { Canvas->SetRunning(running); }, [this] { GoClick(); }}) {
  createControls();
  createMenus();
  createInstruments();
  connectHandlers();
  Guarded([&] { FormCreate(startDocument); });
  Timer->start();
}

// The window's parts go before the window itself; their focus changes are no longer its affair.
TMainForm::~TMainForm() { disconnect(qApp, nullptr, this, nullptr); }

bool TMainForm::TaoscopeSelected() const { return Taoscope->isChecked(); }

const QImage& TMainForm::CanvasImage() const { return Canvas->Image(); }

QString TMainForm::ListingCell(int column, int row) const {
  if (column == 0 && row == 0) return {};
  if (row == 0) return DaonsTable->horizontalHeaderItem(column - 1)->text();
  if (column == 0) return DaonsTable->verticalHeaderItem(row - 1)->text();
  return DaonsTable->item(row - 1, column - 1)->text();
}

// ---------------------------------------------------------------------------------------------
// Start-up

void TMainForm::FormCreate(const std::optional<std::string>& startDocument) {
  SetCentre();
  view_.Zoom = StartZoom;
  view_.TurnTeta = view_.TurnPsi = view_.TurnPhi = 0.0L;
  model_.SpiralShown = true;
  model_.N = SlotCount;
  view_.FigureKind = TetrahedronSpiral;
  MatrixFromTurn(view_);

  bool documentLoaded = false;
  const std::string last = ReadOrCreateStartFile();
  // A document named on the command line comes first. One that breaks off is reported, as is a
  // remembered document that does; start-up then goes on with the defaults, so that the window
  // opens ready to use.
  Guarded([&] {
    if (startDocument && OpenNamedDocument(*startDocument)) {
      documentLoaded = true;
    } else if (last.empty()) {
      BuildFigure(model_, view_.FigureKind);
      model_.DocFileName = SpiralTitle;
    } else {
      documentLoaded = LoadStartDocument(last);
    }
  });

  view_.PanStep = StartPanStep;
  view_.ZoomStep = StartZoomStep;
  view_.AngleStep = StartAngleStep;
  FillListing();
  model_.Stopped = true;
  // A document loaded at start keeps its own time step; otherwise the program's default.
  if (!documentLoaded) model_.dt = 0.001L;
  FillParameterFields();
}

// The remembered document's name, empty at a first start, when an empty start file is made.
// A start file that can be neither read nor made is reported, and the program starts as it
// does the first time, with the spiral.
std::string TMainForm::ReadOrCreateStartFile() {
  try {
    if (const std::optional<std::string> last = ReadStartFile()) return model_.LastDocFileName = *last;
    WriteStartFile({});
  } catch (const std::exception& error) {
    ReportError(error);
  }
  return {};
}

// The remembered document is opened as Open does, but one that cannot be read is no stop: the
// easy square stands in for it, under the remembered name. True when the document was loaded.
bool TMainForm::LoadStartDocument(const std::string& name) {
  model_.SpiralShown = false;
  Go->setEnabled(true);
  model_.DocFileName = name;
  ShowDocumentName();
  if (!ReadRememberedDocument(name)) {
    BuildFigure(model_, view_.FigureKind);
    FName->setText(QString::fromLatin1(EasySquareTitle));
    return false;
  }
  ApplySnapshot(model_);
  ApplyLoadedComment();
  return true;
}

// A remembered document that cannot be opened is passed over in silence; one that breaks off is
// reported. Save writes under the remembered name only what was read from it, or when no file
// of that name is there to be lost.
bool TMainForm::ReadRememberedDocument(const std::string& name) {
  bool read = false;
  Guarded([&] { read = TryReadDocumentFile(model_, name); });
  std::error_code ignored;
  ownDocument_ =
      read || std::filesystem::symlink_status(name, ignored).type() == std::filesystem::file_type::not_found;
  return read;
}

// A document named on the command line: one that cannot be read is reported, and start-up goes
// on as without it. True when the document was opened.
bool TMainForm::OpenNamedDocument(const std::string& name) {
  try {
    ReadDocumentFile(model_, name);
  } catch (const std::exception& error) {
    ReportError(error);
    return false;
  }
  OpenDocument(name);
  return true;
}

void TMainForm::ShowDocumentName() { look::SetFieldText(FName, ShownFileName(model_.DocFileName)); }

// LoadComment: the comment file's text replaces the memo's, and a document without a comment
// file has an empty comment, so that no comment passes from one document to the next. What is
// loaded is no change of the user's.
void TMainForm::ApplyLoadedComment() {
  const std::optional<std::string> text = LoadComment(model_);
  const QString memo = text ? commentEncoding_.Decode(WithLineEnds(*text, "\n")) : QString();
  if (memo != MemoText(*Comment)) SetMemoText(*Comment, memo);
  commentChanged_ = false;
}

// ---------------------------------------------------------------------------------------------
// Scene drawing

void TMainForm::SetCentre() { velmora::SetCentre(view_, frameGeometry().width(), Pan->y()); }

void TMainForm::Paint(Redraw redraw) {
  SceneLook look;
  look.What = redraw;
  look.Taoscope = TaoscopeSelected();
  look.ShowNumbers = showNumbers_;
  look.Covered = SwitchesOnCanvas();
  instruments_->Draw(redraw, look);
}

// The top strip's switches stand on the drawing area, whose pixels are the client area's.
std::vector<QRect> TMainForm::SwitchesOnCanvas() const {
  const QWidget* const switches[] = {Blockade,   Functions3X1, RadioGroup3,  RadioButton3,
                                     HotContact, ColdContact,  ElecCurrent1, ElecCurrent2};
  std::vector<QRect> places;
  for (const QWidget* control : switches)
    if (!control->isHidden()) places.push_back(control->geometry());
  return places;
}

void TMainForm::DrawParticles() { Paint(ProjectParticles(view_, model_)); }

void TMainForm::DrawFigure() { Paint(TurnFigureAndProject(view_, model_)); }

void TMainForm::RedrawScene() { Paint(velmora::RedrawScene(view_, model_)); }

// Without turning a spinning figure once more.
void TMainForm::DrawAsItStands() {
  Paint(model_.SpiralShown ? Redraw::Figure : ProjectParticles(view_, model_));
}

// ---------------------------------------------------------------------------------------------
// Window events

// FormPaint answers the window system's requests for a picture: the expose events of the
// window (its first showing, uncovering, restoring, resizing). The canvas's own updates after a
// drawing routine only copy the image and never come here.
void TMainForm::FormPaint() {
  SetCentre();
  if (model_.SpiralShown) {
    DrawFigure();
    return;
  }
  // The name field follows, so that it shows the document that Save writes; a scene of no
  // document keeps its title.
  if (ownDocument_ && model_.DocFileName != model_.LastDocFileName) {
    model_.DocFileName = model_.LastDocFileName;
    ShowDocumentName();
  }
  DrawParticles();
  FillListing();
}

void TMainForm::FormResize() {
  LayOutClientArea();
  SetCentre();
  const int left = Panel1->x();
  FName->resize(left - 2, FName->height());
  PageControl->resize(left - 5, PageControl->height());
  Comment->resize(left - 2, PageControl->height() - 29);
  DaonsTable->resize(left - 7, DaonsTable->height());
  const int columnWidth = (left - 35) / 6;
  DaonsTable->horizontalHeader()->setDefaultSectionSize(columnWidth);
  DaonsTable->verticalHeader()->setFixedWidth(columnWidth);
  RedrawScene();
}

// Pan stays on the bottom edge and Panel1 on its right edge; the drawing area is what is left
// above the panel. The history bar lies over the area's bottom strip, as the switches lie over its
// top strip: the picture, and every picture or movie exported from it, keeps the area's size.
void TMainForm::LayOutClientArea() {
  const int panHeight = Pan->height();
  Pan->setGeometry(0, Client->height() - panHeight, Client->width(), panHeight);
  Panel1->move(Pan->width() - Panel1->width() - 1, Panel1->y());
  Canvas->setGeometry(0, 0, Client->width(), Pan->y());
  Canvas->SetAreaSize(Canvas->size());
  if (!historyBar_) return;
  const int barHeight = historyBar_->sizeHint().height();
  historyBar_->setGeometry(0, Pan->y() - barHeight, Client->width(), barHeight);
  historyBar_->raise();
}

void TMainForm::FormMouseDown(Qt::MouseButton button, QPoint position) {
  instruments_->Press(button, position);
  MousePress(view_, ViewButton(button), position.x(), position.y());
}

void TMainForm::FormMouseUp(Qt::MouseButton button, QPoint position) {
  instruments_->Release(button, position, QGuiApplication::keyboardModifiers());
  Paint(MouseRelease(view_, model_, ViewButton(button), position.x(), position.y()));
}

void TMainForm::TimerTimer() { Paint(TimerTick(view_, model_)); }

void TMainForm::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  Guarded([this] { FormResize(); });
}

void TMainForm::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (windowHandle()) windowHandle()->installEventFilter(this);
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  if (watched == windowHandle()) {
    if (type == QEvent::Expose && windowHandle()->isExposed()) Guarded([this] { FormPaint(); });
    return false;
  }
  if (type == QEvent::ShortcutOverride && IsPictureShift(*static_cast<QKeyEvent*>(event))) {
    event->ignore();  // not taken by the field: the shortcut answers
    return true;
  }
  if (type == QEvent::MouseButtonDblClick) {
    if (watched == LTime) Guarded([this] { LTimeDblClick(); });
    if (IsPartOfListing(watched)) Guarded([this] { DaonsTableDblClick(); });
    return false;
  }
  if (type == QEvent::FocusOut) {
    // Leaving a control means the focus going to another control of the window; a box popping
    // up or another window coming to the front is no leaving (it would ask again and again).
    const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
    if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason) return false;
    // Alt alone lends the keyboard to the menu bar; the control is left only when the focus goes
    // on from there to another control of the window (FocusChanged).
    if (reason == Qt::MenuBarFocusReason) {
      lentToMenuBar_ = watched;
      return false;
    }
    LeaveControl(watched);
  }
  return false;
}

void TMainForm::FocusChanged(QWidget* now) {
  if (!lentToMenuBar_ || !now || now == menuBar() || now->window() != this) return;
  QObject* lent = std::exchange(lentToMenuBar_, nullptr);
  if (now != lent) LeaveControl(lent);
}

void TMainForm::LeaveControl(const QObject* control) {
  if (fields_->Holds(control)) fields_->Left(control);
  if (control == Comment) Guarded([this] { CommentExit(); });
}

void TMainForm::RunCommand(const std::function<void()>& command) {
  Guarded([&] {
    if (fields_->StorePending()) command();
  });
}

bool TMainForm::IsPartOfListing(const QObject* object) const {
  return object == DaonsTable->viewport() || object == DaonsTable->horizontalHeader() ||
         object == DaonsTable->verticalHeader();
}

// ---------------------------------------------------------------------------------------------
// The run

// The step's switches as the window shows them at its start.
StepSettings TMainForm::CurrentStepSettings() const {
  StepSettings settings;
  settings.Blockade = Blockade->isChecked();
  settings.Cool = Cool->isChecked();
  if (HotContact->isChecked())
    settings.Mode = BoundaryMode::HotContact;
  else if (ColdContact->isChecked())
    settings.Mode = BoundaryMode::ColdContact;
  else if (ElecCurrent1->isChecked())
    settings.Mode = BoundaryMode::ElecCurrent1;
  else if (ElecCurrent2->isChecked())
    settings.Mode = BoundaryMode::ElecCurrent2;
  else
    settings.Mode = BoundaryMode::Free;
  settings.Law.Functions3X1 = Functions3X1->isChecked();
  settings.Law.Taoscope = TaoscopeSelected();
  return settings;
}

void TMainForm::ShowIdle() {
  Go->setIcon(style()->standardIcon(QStyle::SP_DialogOkButton));
  Go->setText(QStringLiteral("Go"));
  ShapeRed->SetBrush(look::Maroon);
  ShapeLime->SetBrush(look::Lime);
}

void TMainForm::ShowRunning() {
  Go->setIcon(style()->standardIcon(QStyle::SP_DialogCancelButton));
  Go->setText(QStringLiteral("Stop"));
  ShapeRed->SetBrush(look::Red);
  ShapeLime->SetBrush(look::Green);
}

// "Go" starts a run inside this handler; "Stop", clicked while the run pumps its messages,
// only marks the run stopped, and the loop below returns after its current step.
void TMainForm::GoClick() {
  if (!model_.Stopped) {
    ShowIdle();
    model_.Stopped = true;
    SetImagesEnabled(true);
    Null00->setEnabled(true);
    return;
  }
  ShowRunning();
  model_.Stopped = false;
  SetImagesEnabled(false);
  Null00->setEnabled(false);
  SetHistoryEnabled(false);
  ShowNull00Text(QStringLiteral("0"));
  look::SetTextColour(Null00, look::Maroon);
  // The run, from here to its end, is one entry of Edit > Undo, which is closed meanwhile.
  SceneUndo::Session entry(*undo_);
  const int first = model_.StepCount;
  undo_->SetRunning(true);
  const auto ending = qScopeGuard([&] {
    entry.name =
        RunEntryName(static_cast<std::uint32_t>(model_.StepCount) - static_cast<std::uint32_t>(first));
    undo_->SetRunning(run_.InProgress());
    if (run_.InProgress()) return;
    SetHistoryEnabled(true);
    historyBar_->RunEnded();
    ShowHistoryAfterRun();
  });
  // A value that is not a number ends the run before its first step, as a fault of a step would.
  ThrowIfNotANumber(model_);
  run_.Run();
}

// What the window shows after each step of a run.
void TMainForm::StepDone(int counter) {
  if (model_.ShowTime) LTime->setText(QString::number(counter));
  DrawParticles();
  instruments_->StepDone();
  if (ShowList->isChecked()) FillListing();
  if (observablesWindow_ && observablesWindow_->isVisible()) observablesWindow_->StepDone();
}

// The history bar, File > Open Trajectory... and Export Movie... are closed during a run: they
// would put other steps into the scene the run is stepping.
void TMainForm::SetHistoryEnabled(bool enabled) {
  historyBar_->setEnabled(enabled);
  OpenTrajectory1->setEnabled(enabled);
  ExportMovie1->setEnabled(enabled);
}

// View > Show Images is closed during a run, its shortcut (F5) included: a figure must not
// replace the scene the run is drawing.
void TMainForm::SetImagesEnabled(bool enabled) {
  Images->setEnabled(enabled);
  Daons1->setEnabled(enabled);
  Spiral1->setEnabled(enabled);
}

// A request to end the program that came during a run is carried out once the run is over and
// its handler has returned.
void TMainForm::EndIfExitRequested() {
  if (run_.CloseDue()) close();
}

// Closing stores what was typed into the fields and asks the comment's question with Cancel;
// refused text, Cancel or a comment that could not be written keeps the window open.
void TMainForm::closeEvent(QCloseEvent* event) {
  if (!run_.MayClose()) {
    event->ignore();
    return;
  }
  bool ready = false;
  RunCommand([&] { ready = CommentLeaves(); });
  if (!ready) {
    event->ignore();
    return;
  }
  QMainWindow::closeEvent(event);
}

// File > New: the editor, modally. During a run the run waits inside this handler until the
// editor closes. "OK" brings the window back to the particle scene as the editor left it; closed
// any other way, the window shows what the editor stored.
void TMainForm::New1Click() {
  if (!editDlg_) return;
  // What the editor stores is one entry: "New" when it closes with OK.
  SceneUndo::Session entry(*undo_);
  entry.name = "Editor Changes";
  if (editDlg_->exec() != QDialog::Accepted) {
    if (editDlg_->StoredSomething()) RefreshFromModel();
    return;
  }
  // A scene the editor did not save is no document's: Save asks for its name.
  ownDocument_ = editDlg_->WroteDocument();
  entry.name = "New";
  model_.SpiralShown = false;
  Go->setEnabled(true);
  Null00->setEnabled(true);
  ShowDocumentName();
  model_.StepCount = 0;
  LTime->setText(QStringLiteral("0"));
  RefreshFromModel();
}

void TMainForm::RefreshFromModel() {
  SceneReplaced();
  RedrawScene();
  FillListing();
  FillParameterFields();
}

void TMainForm::SceneRestored() {
  LTime->setText(QString::number(model_.StepCount));
  RefreshFromModel();
  SceneReplaced();
}

void TMainForm::Exit1Click() { close(); }

// The button grows to its text and keeps its place, over the turn buttons beside it until its
// caption is "0" again.
void TMainForm::ShowNull00Text(const QString& text) {
  Null00->setText(text);
  const int needed = Null00->fontMetrics().horizontalAdvance(text) + Null00TextMargin;
  Null00->resize(std::max(Null00MinimumWidth, needed), Null00->height());
  Null00->raise();
}

void TMainForm::SceneReplaced() {
  instruments_->SceneReplaced();
  if (observablesWindow_ && observablesWindow_->isVisible()) observablesWindow_->Restart();
}

void TMainForm::Null00Click() {
  if (model_.SpiralShown || !model_.Stopped) return;
  undo_->Command("Zero Velocities", [this] { ZeroVelocities(model_); });
  ShowNull00Text(QStringLiteral("Yes Null"));
  look::SetTextColour(Null00, look::Maroon);
  SceneReplaced();
  FillListing();
  if (const std::optional<QString> name = DialogProvider::Instance().SaveFileName(this))
    SaveAsSequence(*name);
}

// ---------------------------------------------------------------------------------------------
// View commands

void TMainForm::Rotate(RotationButton button) { Paint(PressRotationButton(view_, model_, button)); }

void TMainForm::DaoStopClick() { Paint(StopTurning(view_, model_)); }

void TMainForm::DaoBackClick() { Paint(ZoomOut(view_, model_)); }

void TMainForm::DaoForvardClick() { Paint(ZoomIn(view_, model_)); }

void TMainForm::ShiftClick(ShiftDirection direction) { Paint(Shift(view_, model_, direction)); }

void TMainForm::MoveToCenterClick() { Paint(velmora::MoveToCenter(view_, model_)); }

// In figure mode the figure's turn lives in its points: it is built again in its first position.
void TMainForm::ResetViewClick() {
  if (model_.SpiralShown) BuildFigure(model_, view_.FigureKind);
  Paint(velmora::ResetView(view_, model_));
}

void TMainForm::FitClick() { Paint(velmora::Fit(view_, model_, Canvas->width(), Canvas->height())); }

void TMainForm::WheelTurned(int steps) { Paint(Wheel(view_, model_, steps)); }

// The observables window opens beside this one and stays open while the run goes on; each
// opening starts its record anew with the scene as it stands.
void TMainForm::Observables1Click() {
  if (!observablesWindow_) {
    observablesWindow_ = new ObservablesWindow(
        model_, [this] { return CurrentStepSettings().Law; }, separator_, this);
    MoveBeside(*observablesWindow_, *this);
  }
  if (!observablesWindow_->isVisible()) observablesWindow_->Restart();
  observablesWindow_->show();
  observablesWindow_->raise();
}

void TMainForm::History1Click() {
  historyBar_->setVisible(History1->isChecked());
  historyClosed_ = !History1->isChecked();
}

// A run that kept steps opens the bar, unless the user has closed it before.
void TMainForm::ShowHistoryAfterRun() {
  if (historyClosed_ || History1->isChecked() || historyBar_->Count() < 2) return;
  History1->trigger();
}

void TMainForm::KeptStepShown() {
  LTime->setText(QString::number(model_.StepCount));
  if (TrailRecord* trails = instruments_->ShownTrails()) historyBar_->RetraceTrails(*trails);
  DrawParticles();
  FillListing();
  FillParameterFields();
  instruments_->Refresh();
  if (observablesWindow_)
    observablesWindow_->MarkStep(historyBar_->ShowsKeptStep() ? std::optional<int>(model_.StepCount)
                                                              : std::nullopt);
}

void TMainForm::TrackBarChange(int position) { SetStepsFromTrackBar(view_, position); }

void TMainForm::ShowSpinClick() { view_.SpinOn = ShowSpin->isChecked(); }

void TMainForm::ShowNumbersOfPointsClick() {
  showNumbers_ = ShowNumbersOfPoints->isChecked();
  RedrawScene();
}

// ---------------------------------------------------------------------------------------------
// Listing and fields

void TMainForm::FillListing() {
  static const char* const positionHeaders[] = {"X", "Y", "Z"};
  static const char* const velocityHeaders[] = {"u(x)", "u(y)", "u(z)"};
  const char* const* headers = model_.ListVelocities ? velocityHeaders : positionHeaders;
  for (int column = 0; column < 3; ++column)
    DaonsTable->horizontalHeaderItem(column)->setText(QString::fromLatin1(headers[column]));
  for (int n = 1; n <= model_.N; ++n) DaonsTable->verticalHeaderItem(n - 1)->setText(QString::number(n));
  for (int n = 1; n <= model_.N; ++n) {
    const auto cells = ListingCells(model_, n, model_.ListVelocities, separator_);
    for (int column = 0; column < 3; ++column) {
      QTableWidgetItem* cell = DaonsTable->item(n - 1, column);
      const QString text = QString::fromStdString(cells[column]);
      cell->setText(text);
      cell->setToolTip(text);
    }
  }
}

void TMainForm::FillParameterFields() { fields_->Fill(); }

void TMainForm::DaonsTableDblClick() {
  model_.ListVelocities = !model_.ListVelocities;
  FillListing();
}

void TMainForm::LTimeDblClick() { model_.ShowTime = !model_.ShowTime; }

}  // namespace velmora

#pragma once
// The main window: the drawing area of the scope view, the switches above it, the bottom panel
// with the listing, the comment, the document name and the control panel, and the main menu.
// Its handlers carry the names of the events they answer (GoClick, Open1Click, FormPaint, ...)
// and its controls the names users of accessibility tools and the window tests find them by.
//
// The model and the view state belong to the program (one instance each); the window reads and
// changes them directly, as every other window does. Switches that are controls (check boxes,
// radio buttons) are read from the controls at the moment of use.

#include <QMainWindow>
#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "model/Model.h"
#include "sim/StepSettings.h"
#include "ui/main/CommentEncoding.h"
#include "ui/main/RunController.h"
#include "view/SceneProjection.h"
#include "view/ViewCommands.h"
#include "view/ViewState.h"

class QAction;
class QCheckBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QSlider;
class QTabWidget;
class QTableWidget;
class QTimer;
class QToolButton;

namespace velmora {

class Lamp;
class SceneCanvas;
class SceneInstruments;
class SceneUndo;
class TAboutBox;
class TEditDlg;
class HelpWindow;
class HistoryBar;
class ModelFields;
class ObservablesWindow;

class TMainForm : public QMainWindow {
  Q_OBJECT

 public:
  // Assembles the window and runs the start-up (FormCreate): every default, the start file, the
  // last document or a figure. A document named on the command line is opened as File > Open
  // opens it, in place of the last document. Nothing is drawn before the window is first shown.
  TMainForm(Model& model, ViewState& view, const std::optional<std::string>& startDocument = std::nullopt,
            QWidget* parent = nullptr);
  ~TMainForm() override;

  // The scope switch on the bottom panel: Taoscope colours by parity and uses its sign rule.
  bool TaoscopeSelected() const;

  // The About box, created by the program after this window.
  void SetAboutBox(TAboutBox* aboutBox) { aboutBox_ = aboutBox; }
  // The editor dialog that File > New shows, created by the program after this window.
  void SetEditDlg(TEditDlg* editDlg) { editDlg_ = editDlg; }

  // Test and benchmark hook: a run stops itself after this many steps, as a click on "Stop"
  // after the last of them would; 0 lets it run until stopped.
  void SetStopAfterSteps(int steps) { run_.SetStopAfterSteps(steps); }
  // The drawing area as it was last painted.
  const QImage& CanvasImage() const;
  // The listing by the grid's own coordinates: column 0 holds the slot numbers, row 0 the headers.
  QString ListingCell(int column, int row) const;
  bool CommentChanged() const { return commentChanged_; }
  bool RunInProgress() const { return run_.InProgress(); }
  // The run and its ring of kept steps.
  RunController& Run() { return run_; }
  // The help window once a help entry has been chosen.
  HelpWindow* Help() const { return helpWindow_; }
  // The observables window once View > Observables has been chosen.
  ObservablesWindow* Observables() const { return observablesWindow_; }
  // Picking, the look of the picture and the status bar.
  SceneInstruments* Instruments() const { return instruments_; }
  // Edit > Undo and Redo.
  SceneUndo* Undo() const { return undo_; }
  // View > History: the bar over the run's kept steps.
  HistoryBar* History() const { return historyBar_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  // Assembly (MainFormLayout.cpp).
  void createControls();
  void createTopStrip(QWidget* client);
  void createBottomPanel(QWidget* client);
  void createControlPanel();
  void createParameterFields();
  void createViewButtons();
  void createMenus();
  void createInstruments();
  void createStructureCommands();
  void connectHandlers();
  void LayOutClientArea();
  bool IsPartOfListing(const QObject* object) const;
  void FocusChanged(QWidget* now);
  void LeaveControl(const QObject* control);
  // Runs a command that reads or writes the model once what was typed into the fields is stored;
  // refused text stops it.
  void RunCommand(const std::function<void()>& command);

  // Start-up.
  void FormCreate(const std::optional<std::string>& startDocument);
  std::string ReadOrCreateStartFile();
  bool LoadStartDocument(const std::string& name);
  bool ReadRememberedDocument(const std::string& name);
  bool OpenNamedDocument(const std::string& name);

  // Scene drawing.
  void DrawParticles();
  void DrawFigure();
  void RedrawScene();
  void DrawAsItStands();
  void Paint(Redraw redraw);
  std::vector<QRect> SwitchesOnCanvas() const;
  void SetCentre();

  // Window events.
  void FormPaint();
  void FormResize();
  void FormMouseDown(Qt::MouseButton button, QPoint position);
  void FormMouseUp(Qt::MouseButton button, QPoint position);
  void TimerTimer();

  // The run.
  void GoClick();
  void StepDone(int counter);
  StepSettings CurrentStepSettings() const;
  void ShowIdle();
  void ShowRunning();
  void SetImagesEnabled(bool enabled);
  void SetHistoryEnabled(bool enabled);
  void ShowHistoryAfterRun();
  void EndIfExitRequested();
  void Null00Click();

  // View commands.
  void Rotate(RotationButton button);
  void DaoStopClick();
  void DaoBackClick();
  void DaoForvardClick();
  void ShiftClick(ShiftDirection direction);
  void MoveToCenterClick();
  void ResetViewClick();
  void FitClick();
  void WheelTurned(int steps);
  void TrackBarChange(int position);
  void ShowSpinClick();
  void ShowNumbersOfPointsClick();
  void Observables1Click();
  void History1Click();
  void KeptStepShown();

  // Listing and fields.
  void FillListing();
  void FillParameterFields();
  void DaonsTableDblClick();
  void LTimeDblClick();

  // Documents and figures.
  void New1Click();
  void Open1Click();
  void OpenTrajectory1Click();
  void OpenDocument(const std::string& name);
  bool CanOpenDocument() const;
  void DocumentDropped(const QString& name);
  void FillRecentMenu();
  void RecentDocumentClick(const std::string& name);
  void ClearListClick();
  void Save1Click();
  void Saveas1Click();
  void SaveAsSequence(const QString& name);
  void ExportPicture1Click();
  void ExportMovie1Click();
  void Spiral1Click();
  void Daons1Click();
  void ShowImagesOfTaons();
  void ShowDocumentName();
  // Makes `name` the document's name for the steps that read or write it; should one of them
  // fail, the name goes back to the one Save wrote before, and the name field shows it.
  void TakeDocumentName(const std::string& name, const std::function<void()>& steps);
  // After the editor, which may have stored particles, the time step or parameters whatever
  // way it was closed.
  void RefreshFromModel();
  // Undo or Redo put another scene in place.
  void SceneRestored();
  void SetDocumentControlsEnabled(bool enabled);
  // Another scene took the place of the one shown, or the editor changed it.
  void SceneReplaced();
  void ShowNull00Text(const QString& text);
  void ApplyLoadedComment();

  // Comment, help, About, Exit.
  void CommentChange();
  void CommentExit();
  bool CommentLeaves();
  void WriteComment();
  void Help1Click();
  void RusHelpClick();
  void PolHelpClick();
  void ShowHelp(const QString& helpFile);
  void About1Click();
  void Exit1Click();

  Model& model_;
  ViewState& view_;
  // The locale's decimal separator, for every number shown or read.
  char separator_;
  bool showNumbers_ = false;
  // The user changed the comment memo since it was loaded, saved or last asked about.
  bool commentChanged_ = false;
  // DocFileName names a document of the user's that Save writes without a question: one read or
  // written here, or a remembered name with no file. Otherwise (a figure's title, a document
  // that could not be read, a new scene) Save asks for a name as Save As does.
  bool ownDocument_ = false;
  // How the memo's text was read from its comment file, and so how it is saved.
  CommentEncoding commentEncoding_;
  // The control whose focus Alt lent to the menu bar, until the focus goes on.
  QObject* lentToMenuBar_ = nullptr;
  RunController run_;
  TAboutBox* aboutBox_ = nullptr;
  TEditDlg* editDlg_ = nullptr;
  HelpWindow* helpWindow_ = nullptr;
  ObservablesWindow* observablesWindow_ = nullptr;
  SceneInstruments* instruments_ = nullptr;
  SceneUndo* undo_ = nullptr;
  HistoryBar* historyBar_ = nullptr;
  // View > History was closed by the user: a run's end no longer opens it.
  bool historyClosed_ = false;

  // Controls, under the window's own names.
  QWidget* Client = nullptr;
  SceneCanvas* Canvas = nullptr;
  QFrame* Bevel = nullptr;
  QCheckBox* Blockade = nullptr;
  QCheckBox* Functions3X1 = nullptr;
  QGroupBox* RadioGroup3 = nullptr;
  QRadioButton* RadioButton3 = nullptr;
  QRadioButton* HotContact = nullptr;
  QRadioButton* ColdContact = nullptr;
  QRadioButton* ElecCurrent1 = nullptr;
  QRadioButton* ElecCurrent2 = nullptr;
  QFrame* Pan = nullptr;
  QTabWidget* PageControl = nullptr;
  QTableWidget* DaonsTable = nullptr;
  QPlainTextEdit* Comment = nullptr;
  QLineEdit* FName = nullptr;
  QGroupBox* RadioGroup2 = nullptr;
  QRadioButton* Gravoscope = nullptr;
  QRadioButton* Taoscope = nullptr;
  QFrame* Panel1 = nullptr;
  QCheckBox* ShowList = nullptr;
  QLabel* Label1 = nullptr;
  QLabel* LTime = nullptr;
  QLabel* DtLabel = nullptr;
  QLineEdit* EditDT = nullptr;
  QCheckBox* Cool = nullptr;
  QSlider* TrackBar = nullptr;
  QToolButton* Null00 = nullptr;
  QPushButton* Go = nullptr;
  Lamp* ShapeLime = nullptr;
  Lamp* ShapeRed = nullptr;
  QToolButton* DaoTeta = nullptr;
  QToolButton* DaoTeta1 = nullptr;
  QToolButton* DaoPhi = nullptr;
  QToolButton* DaoPhi1 = nullptr;
  QToolButton* DaoPsi = nullptr;
  QToolButton* DaoPsi1 = nullptr;
  QToolButton* DaoStop = nullptr;
  QToolButton* DaoBack = nullptr;
  QToolButton* DaoForvard = nullptr;
  // EditA1 .. EditG3 in record order (A1, B1, C1, D1, F1, G1, A2, ...).
  std::array<QLineEdit*, ParameterCount> ParameterFields{};
  // The dt field and the parameter fields as fields of the model.
  ModelFields* fields_ = nullptr;
  QLineEdit* Edit1 = nullptr;
  QLineEdit* Edit2 = nullptr;
  QLineEdit* Edit3 = nullptr;
  QTimer* Timer = nullptr;

  QAction* New1 = nullptr;
  QAction* Open1 = nullptr;
  QAction* OpenTrajectory1 = nullptr;
  QMenu* RecentDocuments = nullptr;
  QAction* Save1 = nullptr;
  QAction* Saveas1 = nullptr;
  QAction* ExportPicture1 = nullptr;
  QAction* ExportMovie1 = nullptr;
  QAction* Exit1 = nullptr;
  QMenu* Images = nullptr;
  QAction* Daons1 = nullptr;
  QAction* Spiral1 = nullptr;
  QAction* ShowSpin = nullptr;
  QAction* ShowNumbersOfPoints = nullptr;
  QAction* MoveToCenter = nullptr;
  QAction* ResetView = nullptr;
  QAction* Fit = nullptr;
  QAction* Observables1 = nullptr;
  QAction* History1 = nullptr;
  QMenu* Manager1 = nullptr;
  QAction* Left1 = nullptr;
  QAction* Right1 = nullptr;
  QAction* Up1 = nullptr;
  QAction* Down1 = nullptr;
  QAction* Help1 = nullptr;
  QAction* RusHelp = nullptr;
  QAction* PolHelp = nullptr;
  QAction* About1 = nullptr;
};

}  // namespace velmora

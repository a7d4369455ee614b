// The main window's assembly: every control with its name, text, colours and place, the menu
// with its shortcuts, and the connections of the handlers. Places are in pixels relative to the
// parent, as the window is laid out; the resize rule (FormResize) changes only a few widths.

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QFrame>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSlider>
#include <QStyle>
#include <QTabWidget>
#include <QTableWidget>
#include <QTimer>
#include <QToolButton>
#include <algorithm>

#include "picture/ScenePainter.h"
#include "ui/common/ControlLook.h"
#include "ui/common/ErrorReport.h"
#include "ui/common/NumericKeyFilter.h"
#include "ui/common/ProgramIcon.h"
#include "ui/history/HistoryBar.h"
#include "ui/history/SceneUndo.h"
#include "ui/main/ArrowIcon.h"
#include "ui/main/DocumentDrop.h"
#include "ui/main/Lamp.h"
#include "ui/main/MainForm.h"
#include "ui/main/ModelFields.h"
#include "ui/main/SceneCanvas.h"
#include "ui/main/SceneInstruments.h"
#include "ui/main/WideWhileEditing.h"
#include "ui/relax/RelaxCommand.h"
#include "ui/structure/StructureCommands.h"

namespace velmora {

namespace {

// The window's client area below the menu bar, and the bottom panel's fixed parts.
constexpr int ClientWidth = 846;
constexpr int ClientHeight = 471;
constexpr int PanHeight = 182;
constexpr int Panel1Width = 243;
constexpr int ListingColumns = 3;  // X, Y, Z after the fixed column of slot numbers
constexpr int ListingRows = SlotCount;
constexpr int ListingColumnWidth = 80;
constexpr int ListingRowHeight = 18;
constexpr int TimerInterval = 300;

using look::Blue;
using look::Green;
using look::Lime;
using look::Maroon;
using look::Red;
using look::Yellow;
const QColor Fuchsia(255, 0, 255);
const QColor Silver(192, 192, 192);

template <class W>
W* Make(QWidget* parent, const char* name, int left, int top, int width, int height) {
  W* widget = new W(parent);
  widget->setObjectName(QString::fromLatin1(name));
  widget->setGeometry(left, top, width, height);
  return widget;
}

void Embolden(QWidget* widget, int pixelSize) {
  QFont font = widget->font();
  font.setBold(true);
  font.setPixelSize(pixelSize);
  widget->setFont(font);
}

}  // namespace

void TMainForm::createControls() {
  setWindowTitle(QStringLiteral("Velmora"));
  setWindowIcon(ProgramIcon());
  // The window's face, which the scene's labels use too.
  setFont(ScenePainter::WindowFace());

  Client = new QWidget(this);
  Client->setObjectName(QStringLiteral("Client"));
  setCentralWidget(Client);

  Canvas = Make<SceneCanvas>(Client, "Canvas", 0, 0, ClientWidth, ClientHeight - PanHeight);
  Bevel = Make<QFrame>(Client, "Bevel", 0, 0, 4, 4);
  Bevel->hide();
  createTopStrip(Client);
  // The smallest window leaves the colour bar room below the switches.
  int switchesBottom = 0;
  for (const QRect& place : SwitchesOnCanvas()) switchesBottom = std::max(switchesBottom, place.bottom() + 1);
  Client->setMinimumSize(Panel1Width + 120, PanHeight + switchesBottom + ScenePainter::ColourBarHeight());
  createBottomPanel(Client);
  createControlPanel();
  createParameterFields();
  createViewButtons();

  Timer = new QTimer(this);
  Timer->setObjectName(QStringLiteral("Timer"));
  Timer->setInterval(TimerInterval);

  resize(ClientWidth, ClientHeight);
  const QRect screen = QApplication::primaryScreen()->availableGeometry();
  move(screen.center() - rect().center());
}

void TMainForm::createTopStrip(QWidget* client) {
  Blockade = Make<QCheckBox>(client, "Blockade", 0, 0, 593, 17);
  Blockade->setText(QStringLiteral(
      "* Blockade Y, Z in positions - 71 -:- 75  and  Blockade X, Y, Z in positions - 76 -:- 80 *"));
  look::SetColours(Blockade, Fuchsia, look::Black);

  Functions3X1 = Make<QCheckBox>(client, "Functions3X1", 0, 16, 593, 25);
  Functions3X1->setText(QStringLiteral(
      "Change the part of function - parameters G1, G2 and G3 in a exponential part of function"));
  look::SetColours(Functions3X1, Fuchsia, Yellow);

  RadioGroup3 = Make<QGroupBox>(client, "RadioGroup3", 136, 40, 225, 17);
  RadioButton3 = Make<QRadioButton>(client, "RadioButton3", 0, 40, 113, 33);
  RadioButton3->setText(QStringLiteral("AtomStand "));
  look::SetColours(RadioButton3, Lime, Blue);
  HotContact = Make<QRadioButton>(client, "HotContact", 112, 40, 185, 17);
  HotContact->setText(QStringLiteral("\"Hot\" contact potential"));
  look::SetColours(HotContact, Red, look::Black);
  ColdContact = Make<QRadioButton>(client, "ColdContact", 112, 56, 185, 17);
  ColdContact->setText(QStringLiteral("\"Cold\" contact potential"));
  look::SetColours(ColdContact, Blue, look::White);
  ElecCurrent1 = Make<QRadioButton>(client, "ElecCurrent1", 296, 40, 145, 17);
  ElecCurrent1->setText(QStringLiteral("ElCurrent(1)=>=>"));
  look::SetColours(ElecCurrent1, Maroon, Yellow);
  ElecCurrent2 = Make<QRadioButton>(client, "ElecCurrent2", 296, 56, 145, 17);
  ElecCurrent2->setText(QStringLiteral("ElCurrent(2)=><="));
  look::SetColours(ElecCurrent2, Green, Yellow);

  auto* modes = new QButtonGroup(this);
  for (QRadioButton* mode : {RadioButton3, HotContact, ColdContact, ElecCurrent1, ElecCurrent2})
    modes->addButton(mode);
  RadioButton3->setChecked(true);
}

void TMainForm::createBottomPanel(QWidget* client) {
  Pan = Make<QFrame>(client, "Pan", 0, ClientHeight - PanHeight, ClientWidth, PanHeight);
  Pan->setFrameStyle(QFrame::Panel | QFrame::Raised);
  Pan->setAutoFillBackground(true);

  PageControl = Make<QTabWidget>(Pan, "PageControl", 2, 0, 349, 152);
  auto* listingPage = new QWidget;
  listingPage->setObjectName(QStringLiteral("Listing"));
  auto* commentPage = new QWidget;
  commentPage->setObjectName(QStringLiteral("Commentary"));
  PageControl->addTab(listingPage, QStringLiteral("Listing"));
  PageControl->addTab(commentPage, QStringLiteral("Commentary"));
  PageControl->setCurrentIndex(0);
  // Narrow tabs: the scope switch stands right of them in the tab row.
  PageControl->setStyleSheet(QStringLiteral("QTabBar::tab { padding: 2px 5px; }"));

  // Row 0 and column 0 of the grid are fixed: they are the table's two headers here.
  DaonsTable = Make<QTableWidget>(listingPage, "DaonsTable", 0, -2, 349, 125);
  DaonsTable->setColumnCount(ListingColumns);
  DaonsTable->setRowCount(ListingRows);
  DaonsTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
  // A number wider than its column loses digits from its middle, where "…" marks the cut, so
  // that its sign, leading digits and exponent stay; its tooltip shows it whole.
  DaonsTable->setTextElideMode(Qt::ElideMiddle);
  DaonsTable->setWordWrap(false);
  DaonsTable->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  DaonsTable->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  DaonsTable->horizontalHeader()->setMinimumSectionSize(0);
  DaonsTable->horizontalHeader()->setDefaultSectionSize(ListingColumnWidth);
  DaonsTable->horizontalHeader()->setFixedHeight(ListingRowHeight);
  DaonsTable->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  DaonsTable->verticalHeader()->setMinimumSectionSize(0);
  DaonsTable->verticalHeader()->setDefaultSectionSize(ListingRowHeight);
  DaonsTable->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  DaonsTable->verticalHeader()->setFixedWidth(ListingColumnWidth);
  DaonsTable->verticalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  DaonsTable->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  for (int column = 0; column < ListingColumns; ++column) {
    DaonsTable->setHorizontalHeaderItem(column, new QTableWidgetItem);
    for (int row = 0; row < ListingRows; ++row) DaonsTable->setItem(row, column, new QTableWidgetItem);
  }
  for (int row = 0; row < ListingRows; ++row) DaonsTable->setVerticalHeaderItem(row, new QTableWidgetItem);

  Comment = Make<QPlainTextEdit>(commentPage, "Comment", 0, 0, 341, 123);
  Comment->setPlainText(QStringLiteral("No Comment"));

  FName = Make<QLineEdit>(Pan, "FName", 0, 153, 353, 21);
  FName->setText(QStringLiteral("File Name"));
  look::SetColours(FName, Silver, Blue);
  Embolden(FName, 11);

  RadioGroup2 = Make<QGroupBox>(Pan, "RadioGroup2", 120, 0, 209, 17);
  Gravoscope = Make<QRadioButton>(Pan, "Gravoscope", 120, 0, 129, 17);
  Gravoscope->setText(QStringLiteral("Gravoscope"));
  Taoscope = Make<QRadioButton>(Pan, "Taoscope", 248, 0, 113, 17);
  Taoscope->setText(QStringLiteral("Taoscope"));
  for (QRadioButton* scope : {Gravoscope, Taoscope}) {
    look::SetColours(scope, palette().color(QPalette::Window), Blue);
    Embolden(scope, 19);
  }
  auto* scopes = new QButtonGroup(this);
  scopes->addButton(Gravoscope);
  scopes->addButton(Taoscope);
  Gravoscope->setChecked(true);

  Panel1 = Make<QFrame>(Pan, "Panel1", ClientWidth - Panel1Width - 1, 1, Panel1Width, PanHeight - 2);
  Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
  // The control panel's face: bold Times New Roman 13 pixels high (Liberation Serif on Linux
  // desktops, metric-compatible with it).
  QFont panelFace(QStringLiteral("Times New Roman"));
  panelFace.setBold(true);
  panelFace.setPixelSize(13);
  Panel1->setFont(panelFace);
}

void TMainForm::createControlPanel() {
  ShowList = Make<QCheckBox>(Panel1, "ShowList", 16, 0, 97, 17);
  ShowList->setText(QStringLiteral("Show Listing"));

  Label1 = Make<QLabel>(Panel1, "Label1", 0, 16, 32, 15);
  Label1->setText(QStringLiteral("Time:"));
  // The label grows with the step count up to the parameter grid's labels.
  LTime = Make<QLabel>(Panel1, "LTime", 32, 16, 80, 16);
  LTime->setText(QStringLiteral("0"));

  DtLabel = Make<QLabel>(Panel1, "DtLabel", 0, 36, 17, 15);
  DtLabel->setText(QStringLiteral("dt="));
  EditDT = Make<QLineEdit>(Panel1, "EditDT", 16, 32, 49, 23);
  EditDT->setText(QStringLiteral("0"));

  Cool = Make<QCheckBox>(Panel1, "Cool", 64, 32, 49, 17);
  Cool->setText(QStringLiteral("Cool"));
  look::SetColours(Cool, look::Black, look::White);

  TrackBar = Make<QSlider>(Panel1, "TrackBar", 0, 56, 121, 25);
  TrackBar->setOrientation(Qt::Horizontal);
  TrackBar->setRange(TrackBarMinimum, TrackBarMaximum);
  TrackBar->setValue(TrackBarStart);
  TrackBar->setPageStep(2);
  TrackBar->setTickPosition(QSlider::TicksBelow);
  TrackBar->setTickInterval(1);
  TrackBar->setToolTip(QStringLiteral("Amplitude"));

  Null00 = Make<QToolButton>(Panel1, "Null00", 0, 104, 17, 23);
  Null00->setText(QStringLiteral("0"));
  Null00->setToolTip(QStringLiteral("Make null of velocity"));
  Null00->setFocusPolicy(Qt::NoFocus);

  Go = Make<QPushButton>(Panel1, "Go", 3, 152, 86, 25);
  Go->setEnabled(false);

  ShapeRed = new Lamp(Panel1, Maroon);
  ShapeRed->setObjectName(QStringLiteral("ShapeRed"));
  ShapeRed->setGeometry(96, 136, 17, 17);
  ShapeLime = new Lamp(Panel1, Lime);
  ShapeLime->setObjectName(QStringLiteral("ShapeLime"));
  ShapeLime->setGeometry(94, 160, 19, 17);
  ShowIdle();
}

void TMainForm::createParameterFields() {
  constexpr int ColumnLeft[GroupCount] = {136, 176, 216};
  constexpr int RowStep = 24;
  const QColor groupColour[GroupCount] = {Lime, Yellow, Red};
  static const char* const rowLetters[ParametersPerGroup] = {"A", "B", "C", "D", "F", "G"};
  for (int index = 0; index < ParameterCount; ++index) {
    const int group = index / ParametersPerGroup;
    const int row = index % ParametersPerGroup;
    const QString name = QString::fromLatin1(ParameterNames[index]);
    QLineEdit* field = Make<QLineEdit>(Panel1, ("Edit" + name).toLatin1().constData(), ColumnLeft[group],
                                       row * RowStep, 25, 23);
    look::SetColours(field, groupColour[group], look::Black);
    ParameterFields[index] = field;
    // "A1" .. "G1" left of the first column; "2" or "3" left of every field of the others.
    const QString caption =
        group == 0 ? QString::fromLatin1(rowLetters[row]) + QLatin1Char('1') : QString::number(group + 1);
    const int labelWidth = group == 0 ? 18 : 10;
    QLabel* label = Make<QLabel>(Panel1, ("Label" + name).toLatin1().constData(),
                                 ColumnLeft[group] - labelWidth, row * RowStep + 4, labelWidth, 15);
    label->setText(caption);
  }
  // The fields' initial texts, overwritten by the start-up's FillParameterFields.
  static const char* const initial[ParametersPerGroup] = {"1", "1", "2", "3", "4", "5"};
  for (int index = 0; index < ParameterCount; ++index)
    ParameterFields[index]->setText(QString::fromLatin1(initial[index % ParametersPerGroup]));

  // The groups' slot ranges under the columns, shown and never read.
  const struct {
    QLineEdit** field;
    const char* name;
    int left, width;
    const char* text;
  } ranges[GroupCount] = {{&Edit1, "Edit1", 136, 33, "1-50"},
                          {&Edit2, "Edit2", 168, 33, "51-75"},
                          {&Edit3, "Edit3", 200, 41, "76-100"}};
  for (int group = 0; group < GroupCount; ++group) {
    QLineEdit* field =
        Make<QLineEdit>(Panel1, ranges[group].name, ranges[group].left, 152, ranges[group].width, 22);
    field->setText(QString::fromLatin1(ranges[group].text));
    look::SetColours(field, groupColour[group], look::Black);
    *ranges[group].field = field;
  }
}

void TMainForm::createViewButtons() {
  struct ButtonPlace {
    QToolButton** button;
    const char* name;
    int left, top, width;
    int degrees;  // the arrow's direction; -1 for none
    ArrowStyle style;
  };
  // The turn buttons show outlined arrows: up and down for teta, left and right for phi, the
  // diagonals for psi; the zoom buttons solid diagonals; the stop button in the middle none.
  const ButtonPlace places[] = {
      {&DaoTeta, "DaoTeta", 44, 83, 23, 90, ArrowStyle::Outline},
      {&DaoTeta1, "DaoTeta1", 44, 131, 23, 270, ArrowStyle::Outline},
      {&DaoPhi, "DaoPhi", 20, 107, 23, 180, ArrowStyle::Outline},
      {&DaoPhi1, "DaoPhi1", 68, 107, 23, 0, ArrowStyle::Outline},
      {&DaoPsi, "DaoPsi", 68, 83, 23, 45, ArrowStyle::Outline},
      {&DaoPsi1, "DaoPsi1", 68, 131, 23, 225, ArrowStyle::Outline},
      {&DaoStop, "DaoStop", 44, 107, 23, -1, ArrowStyle::Outline},
      {&DaoBack, "DaoBack", 4, 83, 37, 45, ArrowStyle::Solid},
      {&DaoForvard, "DaoForvard", 4, 131, 37, 225, ArrowStyle::Solid},
  };
  for (const ButtonPlace& place : places) {
    QToolButton* button = Make<QToolButton>(Panel1, place.name, place.left, place.top, place.width, 22);
    button->setFocusPolicy(Qt::NoFocus);
    if (place.degrees >= 0) {
      button->setIcon(ArrowIcon(place.degrees, place.style, 18));
      button->setIconSize(QSize(18, 18));
    }
    *place.button = button;
  }
}

void TMainForm::createMenus() {
  const auto item = [this](QMenu* menu, QAction*& action, const char* name, const QString& text,
                           const QKeySequence& shortcut) {
    action = menu->addAction(text);
    action->setObjectName(QString::fromLatin1(name));
    action->setShortcut(shortcut);
    // Shortcuts answer wherever the focus is in the window, also for the hidden menu.
    addAction(action);
  };

  QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
  file->setObjectName(QStringLiteral("File1"));
  item(file, New1, "New1", QStringLiteral("New"), QKeySequence(Qt::Key_F2));
  item(file, Open1, "Open1", QStringLiteral("Open"), QKeySequence(Qt::Key_F3));
  item(file, OpenTrajectory1, "OpenTrajectory1", QStringLiteral("Open Trajectory..."), QKeySequence());
  RecentDocuments = file->addMenu(QStringLiteral("&Recent Documents"));
  RecentDocuments->setObjectName(QStringLiteral("RecentDocuments"));
  item(file, Save1, "Save1", QStringLiteral("Save"), QKeySequence(Qt::CTRL | Qt::Key_S));
  item(file, Saveas1, "Saveas1", QStringLiteral("Save As ..."), QKeySequence());
  item(file, ExportPicture1, "ExportPicture1", QStringLiteral("Export Picture..."),
       QKeySequence(Qt::CTRL | Qt::Key_E));
  item(file, ExportMovie1, "ExportMovie1", QStringLiteral("Export Movie..."), QKeySequence());
  file->addSeparator();
  item(file, Exit1, "Exit1", QStringLiteral("Exit"), QKeySequence(Qt::ALT | Qt::Key_X));

  QMenu* view = menuBar()->addMenu(QStringLiteral("&View"));
  view->setObjectName(QStringLiteral("View1"));
  Images = view->addMenu(QStringLiteral("Show &Images"));
  Images->setObjectName(QStringLiteral("Images"));
  item(Images, Daons1, "Daons1", QStringLiteral("Taons"), QKeySequence(Qt::Key_F5));
  item(Images, Spiral1, "Spiral1", QStringLiteral("Spiral"), QKeySequence());
  item(view, ShowSpin, "ShowSpin", QStringLiteral("ShowSpin"), QKeySequence(Qt::Key_F6));
  ShowSpin->setCheckable(true);
  item(view, ShowNumbersOfPoints, "ShowNumbersOfPoints", QStringLiteral("Show Numbers of Points"),
       QKeySequence(Qt::Key_F7));
  ShowNumbersOfPoints->setCheckable(true);
  item(view, MoveToCenter, "MoveToCenter", QStringLiteral("Move to center"), QKeySequence(Qt::Key_F8));
  item(view, ResetView, "ResetView", QStringLiteral("Reset View"), QKeySequence());
  item(view, Fit, "Fit", QStringLiteral("Fit"), QKeySequence());
  item(view, Observables1, "Observables1", QStringLiteral("Observables"), QKeySequence(Qt::Key_F9));
  item(view, History1, "History1", QStringLiteral("History"), QKeySequence());
  History1->setCheckable(true);

  Manager1 = menuBar()->addMenu(QStringLiteral("Manager"));
  Manager1->setObjectName(QStringLiteral("Manager1"));
  item(Manager1, Left1, "Left1", QStringLiteral("Left"), QKeySequence(Qt::CTRL | Qt::Key_Left));
  item(Manager1, Right1, "Right1", QStringLiteral("Right"), QKeySequence(Qt::CTRL | Qt::Key_Right));
  item(Manager1, Up1, "Up1", QStringLiteral("Up"), QKeySequence(Qt::CTRL | Qt::Key_Up));
  item(Manager1, Down1, "Down1", QStringLiteral("Down"), QKeySequence(Qt::CTRL | Qt::Key_Down));
  Manager1->menuAction()->setVisible(false);

  QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
  help->setObjectName(QStringLiteral("Help"));
  item(help, Help1, "Help1", QStringLiteral("English Help"), QKeySequence(Qt::Key_F1));
  item(help, RusHelp, "RusHelp", QStringLiteral("Russian Help"), QKeySequence(Qt::CTRL | Qt::Key_F1));
  item(help, PolHelp, "PolHelp", QStringLiteral("Poland Help"), QKeySequence(Qt::SHIFT | Qt::Key_F1));
  item(help, About1, "About1", QStringLiteral("About"), QKeySequence());

  // The window's client area keeps its fixed size below the menu bar.
  resize(width(), height() + menuBar()->sizeHint().height());
}

void TMainForm::createInstruments() {
  instruments_ = new SceneInstruments(
      *this, model_, view_, *Canvas, [this] { return CurrentStepSettings().Law; }, separator_);
  instruments_->CreateMenus(*menuBar()->findChild<QMenu*>(QStringLiteral("View1")));
  undo_ = new SceneUndo(model_, findChild<QMenu*>(QStringLiteral("EditMenu")), this);
  historyBar_ = new HistoryBar(model_, run_.Ring(), *undo_, Client);
  historyBar_->hide();
  instruments_->CreateStatusBar();
  createStructureCommands();
  connect(Canvas, &SceneCanvas::MouseMoved, instruments_,
          [this](QPoint position) { Guarded([&] { instruments_->Move(position); }); });
  // The figure as it stands, or the drag's view of it.
  connect(instruments_, &SceneInstruments::RedrawNeeded, this,
          [this] { Guarded([this] { DrawAsItStands(); }); });
}

// View > Structure, Edit > Copy Structure and Tools > Relax...; a relaxation draws the scene as it
// moves and ends with a new scene, as Undo's is.
void TMainForm::createStructureCommands() {
  auto* structure = new StructureCommands(*this, model_, *instruments_, separator_);
  structure->CreateMenus(*menuBar()->findChild<QMenu*>(QStringLiteral("View1")),
                         *findChild<QMenu*>(QStringLiteral("EditMenu")));
  auto* tools = new QMenu(QStringLiteral("&Tools"), this);
  tools->setObjectName(QStringLiteral("Tools1"));
  menuBar()->insertMenu(menuBar()->findChild<QMenu*>(QStringLiteral("Help"))->menuAction(), tools);
  auto* relax = new RelaxCommand(*this, model_, *undo_,
                                 {[this] { return CurrentStepSettings().Law; },
                                  [this] { return RunInProgress(); }, run_.Threads(), separator_});
  relax->CreateMenu(*tools);
  connect(relax, &RelaxCommand::Stepped, this, [this] { Guarded([this] { DrawParticles(); }); });
  connect(relax, &RelaxCommand::Finished, this, [this] { Guarded([this] { SceneRestored(); }); });
}

void TMainForm::connectHandlers() {
  connect(undo_, &SceneUndo::Restored, this, [this] { Guarded([this] { SceneRestored(); }); });
  connect(historyBar_, &HistoryBar::SceneShown, this, [this] { Guarded([this] { KeptStepShown(); }); });
  // Every handler runs through the one error report.
  const auto handle = [this](auto member) {
    return [this, member] { Guarded([this, member] { (this->*member)(); }); };
  };
  // Commands that read or write the model first store what was typed into the fields.
  const auto command = [this](auto member) {
    return [this, member] { RunCommand([this, member] { (this->*member)(); }); };
  };

  connect(Go, &QPushButton::clicked, this, [this] {
    RunCommand([this] { GoClick(); });
    EndIfExitRequested();
  });
  connect(Null00, &QToolButton::clicked, this, command(&TMainForm::Null00Click));
  connect(DaoStop, &QToolButton::clicked, this, handle(&TMainForm::DaoStopClick));
  connect(DaoBack, &QToolButton::clicked, this, handle(&TMainForm::DaoBackClick));
  connect(DaoForvard, &QToolButton::clicked, this, handle(&TMainForm::DaoForvardClick));
  const std::pair<QToolButton*, RotationButton> rotations[] = {
      {DaoTeta, RotationButton::DaoTeta}, {DaoTeta1, RotationButton::DaoTeta1},
      {DaoPhi, RotationButton::DaoPhi},   {DaoPhi1, RotationButton::DaoPhi1},
      {DaoPsi, RotationButton::DaoPsi},   {DaoPsi1, RotationButton::DaoPsi1}};
  for (const auto& [button, kind] : rotations)
    connect(button, &QToolButton::clicked, this,
            [this, kind = kind] { Guarded([this, kind] { Rotate(kind); }); });
  connect(TrackBar, &QSlider::valueChanged, this,
          [this](int position) { Guarded([this, position] { TrackBarChange(position); }); });
  connect(Canvas, &SceneCanvas::MousePressed, this, [this](Qt::MouseButton button, QPoint position) {
    Guarded([&] { FormMouseDown(button, position); });
  });
  connect(Canvas, &SceneCanvas::MouseReleased, this, [this](Qt::MouseButton button, QPoint position) {
    Guarded([&] { FormMouseUp(button, position); });
  });
  connect(Timer, &QTimer::timeout, this, handle(&TMainForm::TimerTimer));
  connect(Comment, &QPlainTextEdit::textChanged, this, handle(&TMainForm::CommentChange));

  connect(New1, &QAction::triggered, this, command(&TMainForm::New1Click));
  connect(Open1, &QAction::triggered, this, command(&TMainForm::Open1Click));
  connect(OpenTrajectory1, &QAction::triggered, this, command(&TMainForm::OpenTrajectory1Click));
  connect(RecentDocuments, &QMenu::aboutToShow, this, handle(&TMainForm::FillRecentMenu));
  connect(Save1, &QAction::triggered, this, command(&TMainForm::Save1Click));
  connect(Saveas1, &QAction::triggered, this, command(&TMainForm::Saveas1Click));
  connect(ExportPicture1, &QAction::triggered, this, command(&TMainForm::ExportPicture1Click));
  connect(ExportMovie1, &QAction::triggered, this, command(&TMainForm::ExportMovie1Click));
  connect(Exit1, &QAction::triggered, this, handle(&TMainForm::Exit1Click));
  connect(Daons1, &QAction::triggered, this, command(&TMainForm::Daons1Click));
  connect(Spiral1, &QAction::triggered, this, command(&TMainForm::Spiral1Click));
  connect(Help1, &QAction::triggered, this, handle(&TMainForm::Help1Click));
  connect(RusHelp, &QAction::triggered, this, handle(&TMainForm::RusHelpClick));
  connect(PolHelp, &QAction::triggered, this, handle(&TMainForm::PolHelpClick));
  connect(About1, &QAction::triggered, this, handle(&TMainForm::About1Click));
  connect(ShowSpin, &QAction::triggered, this, handle(&TMainForm::ShowSpinClick));
  connect(ShowNumbersOfPoints, &QAction::triggered, this, handle(&TMainForm::ShowNumbersOfPointsClick));
  connect(MoveToCenter, &QAction::triggered, this, handle(&TMainForm::MoveToCenterClick));
  connect(ResetView, &QAction::triggered, this, handle(&TMainForm::ResetViewClick));
  connect(Fit, &QAction::triggered, this, handle(&TMainForm::FitClick));
  connect(Canvas, &SceneCanvas::Wheeled, this,
          [this](int steps) { Guarded([this, steps] { WheelTurned(steps); }); });
  // The scope and the law's contact part change the colours by potential and by parity.
  for (QAbstractButton* changesLook :
       {static_cast<QAbstractButton*>(Taoscope), static_cast<QAbstractButton*>(Functions3X1)})
    connect(changesLook, &QAbstractButton::toggled, this, [this] { Guarded([this] { DrawAsItStands(); }); });
  connect(Observables1, &QAction::triggered, this, handle(&TMainForm::Observables1Click));
  connect(History1, &QAction::toggled, this, handle(&TMainForm::History1Click));
  const std::pair<QAction*, ShiftDirection> shifts[] = {{Left1, ShiftDirection::Left},
                                                        {Right1, ShiftDirection::Right},
                                                        {Up1, ShiftDirection::Up},
                                                        {Down1, ShiftDirection::Down}};
  for (const auto& [action, direction] : shifts)
    connect(action, &QAction::triggered, this,
            [this, direction = direction] { Guarded([this, direction] { ShiftClick(direction); }); });

  // Double clicks anywhere on the grid, key filters and leave events of the fields.
  for (QObject* part :
       {static_cast<QObject*>(DaonsTable->viewport()), static_cast<QObject*>(DaonsTable->horizontalHeader()),
        static_cast<QObject*>(DaonsTable->verticalHeader())})
    part->installEventFilter(this);
  LTime->installEventFilter(this);
  // The leave events of the model's fields, and the picture shifts in every field.
  for (QLineEdit* field : Client->findChildren<QLineEdit*>()) field->installEventFilter(this);
  // The key filter on the dt field and on EditA1, EditB1, EditC1 and EditD1; the other
  // parameter fields take any character, and their conversion decides.
  auto* keyFilter = new NumericKeyFilter(this);
  keyFilter->Attach(EditDT);
  constexpr int FilteredParameterFields = 4;
  for (int index = 0; index < FilteredParameterFields; ++index) keyFilter->Attach(ParameterFields[index]);
  // The time step converts whenever its field is left; a parameter only when it was edited, so
  // that passing through its field keeps every digit of its value.
  fields_ = new ModelFields(separator_, this);
  // Each value stored is an entry of Edit > Undo named after its field: "dt", "A1", ...
  fields_->SetAround([this](const QLineEdit* field, const std::function<void()>& store) {
    const QString name = field->objectName().mid(4);
    undo_->Command((name == QStringLiteral("DT") ? QStringLiteral("dt") : name).toStdString(), store);
  });
  fields_->Add(
      EditDT, [this]() -> real& { return model_.dt; }, ModelFields::Leave::Always);
  auto* widening = new WideWhileEditing(this);
  for (int index = 0; index < ParameterCount; ++index) {
    fields_->Add(
        ParameterFields[index], [this, index]() -> real& { return Parameter(model_, index); },
        ModelFields::Leave::WhenEdited);
    widening->Attach(ParameterFields[index]);
  }
  Comment->installEventFilter(this);
  new DocumentDrop(
      this, [this] { return CanOpenDocument(); },
      [this](const QString& name) { RunCommand([this, &name] { DocumentDropped(name); }); });
  connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) { FocusChanged(now); });
}

}  // namespace velmora

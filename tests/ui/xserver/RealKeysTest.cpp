// Keys and clicks as a user gives them, through a real X server: xdotool types into the windows
// on a virtual X server (run by xvfb-run) and the test reads what the windows then hold. An X
// server reports Delete with the text U+007F, and without a compositor it asks a window to draw
// again whatever a closing context menu or file dialog had covered.

#include <sys/stat.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProcess>
#include <QScreen>
#include <QSlider>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <algorithm>

#include "documents/XyzTrajectory.h"
#include "measure/Readout.h"
#include "tests/ui/MainFormHarness.h"
#include "ui/editor/EditDlg.h"

namespace velmora::testing {

class RealKeysTest : public QObject, MainFormHarness {
  Q_OBJECT

 private slots:
  void initTestCase();
  void init() { Init(); }
  void cleanup();

  void deleteInTheDtField();
  void editorKeepsAPasteStoresItAndTakesEnterOnItsFocusedButton();
  void aClickedRunLeavesItsLastStepOnTheScreen();
  void typedFieldsAreStoredByReturnAndBeforeCtrlS();
  void aFailedSaveAsFromTheMenuKeepsTheNameSaveWrites();
  void anEditorYesThenEscapeShowsTheStoredParticle();
  void aClickedParticlesReadoutReachesTheClipboard();
  void ctrlSOnASceneOfNoDocumentAsksForAName();
  void aCommentThatCouldNotBeWrittenIsAskedAgainAtAltX();
  void saveAsFromTheMenuAsksBeforeReplacing();
  void aFifoDocumentLeavesTheWindowAnswering();
  void aDocumentDraggedFromAnotherProgramIsTakenAsACopy();
  void aRunRewoundWithTheSliderIsResumed();
  void aTrajectoryIsOpenedPlayedAndExported();

 private:
  // Runs xdotool with these arguments; its key presses and clicks arrive as the X server's events.
  static void Xdo(const QStringList& arguments);
  static void ClickOn(QWidget* widget, int button);
  static void ClickAt(QWidget* widget, const QRect& area);
  // Clicks an entry of a menu of the menu bar.
  void ChooseFromMenu(const char* menu, const char* entry);
  // The window as the X server shows it, kept as <name>.png in $VELMORA_SCREENSHOTS when it is set.
  void Screenshot(const char* name);
  // Clicks into the field and types `keys` over its whole text.
  void TypeInto(const char* field, const QStringList& keys);

  std::unique_ptr<TEditDlg> editor_;
};

void RealKeysTest::initTestCase() {
  QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb"));
  InitTestCase();
}

void RealKeysTest::cleanup() {
  editor_.reset();
  Cleanup();
}

void RealKeysTest::Xdo(const QStringList& arguments) {
  QProcess xdotool;
  xdotool.start(QStringLiteral("xdotool"), arguments);
  QVERIFY2(xdotool.waitForFinished(10000), "xdotool did not finish");
  QVERIFY2(xdotool.exitStatus() == QProcess::NormalExit && xdotool.exitCode() == 0,
           xdotool.readAllStandardError().constData());
}

void RealKeysTest::ClickOn(QWidget* widget, int button) {
  const QPoint at = widget->mapToGlobal(widget->rect().center());
  Xdo({"mousemove", "--sync", QString::number(at.x()), QString::number(at.y()), "click",
       QString::number(button)});
}

void RealKeysTest::ClickAt(QWidget* widget, const QRect& area) {
  const QPoint at = widget->mapToGlobal(area.center());
  Xdo({"mousemove", "--sync", QString::number(at.x()), QString::number(at.y()), "click", "1"});
}

void RealKeysTest::ChooseFromMenu(const char* menu, const char* entry) {
  auto* items = form_->findChild<QMenu*>(QString::fromLatin1(menu));
  ClickAt(form_->menuBar(), form_->menuBar()->actionGeometry(items->menuAction()));
  QTRY_VERIFY(items->isVisible());
  ClickAt(items, items->actionGeometry(Find<QAction>(entry)));
  QTRY_VERIFY(!items->isVisible());
}

void RealKeysTest::Screenshot(const char* name) {
  const QString folder = qEnvironmentVariable("VELMORA_SCREENSHOTS");
  QTest::qWait(200);
  if (!folder.isEmpty())
    form_->screen()
        ->grabWindow(form_->winId())
        .save(QDir(folder).filePath(QString::fromLatin1(name) + ".png"));
}

void RealKeysTest::TypeInto(const char* field, const QStringList& keys) {
  QLineEdit* edit = Find<QLineEdit>(field);
  ClickOn(edit, 1);
  QTRY_VERIFY(edit->hasFocus());
  Xdo(QStringList{"key", "--delay", "30", "End", "shift+Home"} + keys);
}

void RealKeysTest::deleteInTheDtField() {
  Start();
  Activate();
  QLineEdit* dt = Find<QLineEdit>("EditDT");
  QCOMPARE(dt->text(), QStringLiteral("0.001"));
  dt->setFocus();
  Xdo({"key", "--delay", "50", "Home", "Delete", "Delete", "a", "ctrl+v"});
  QTRY_COMPARE(dt->text(), QStringLiteral("001"));
  QTest::qWait(200);
  QCOMPARE(dt->text(), QStringLiteral("001"));  // no letter, no paste by key
}

// A paste through a field's context menu survives the menu's closing; "&Yes", clicked, then takes
// Enter and stores the pasted value, and the dialog stays open without asking for a file.
void RealKeysTest::editorKeepsAPasteStoresItAndTakesEnterOnItsFocusedButton() {
  Start();
  editor_ = std::make_unique<TEditDlg>(
      *model_, [] { return false; }, '.', form_.get());
  editor_->show();
  editor_->activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(editor_.get()));
  auto* x = editor_->findChild<QLineEdit*>(QStringLiteral("EditX"));
  auto* y = editor_->findChild<QLineEdit*>(QStringLiteral("EditY"));
  QGuiApplication::clipboard()->setText(QStringLiteral("2.5"));
  x->clear();
  ClickOn(x, 3);
  QTRY_VERIFY(qobject_cast<QMenu*>(QApplication::activePopupWidget()));
  Xdo({"key", "p"});  // the menu's "&Paste"
  QTRY_VERIFY(!QApplication::activePopupWidget());
  QTest::qWait(300);  // the uncovered dialog is drawn again
  QCOMPARE(x->text(), QStringLiteral("2.5"));

  y->setFocus();
  y->setText(QStringLiteral("0.001"));
  Xdo({"key", "--delay", "50", "Home", "Delete"});
  QTRY_COMPARE(y->text(), QStringLiteral(".001"));

  ClickOn(editor_->findChild<QPushButton*>(QStringLiteral("Submit")), 1);
  QTRY_VERIFY(SameBits(model_->X[1], 2.5L));
  x->setText(QStringLiteral("3"));
  Xdo({"key", "Return"});
  QTRY_VERIFY(SameBits(model_->X[1], 3.0L));
  QVERIFY(editor_->isVisible());
  QVERIFY(DialogProvider::Instance().Shown().empty());
}

// The canvas hands the X server a picture once per display frame; the run's last step must reach
// it even when the run ends within a frame. Read back from the X server, between the switches
// that cover the canvas's top and the history bar that covers its bottom.
void RealKeysTest::aClickedRunLeavesItsLastStepOnTheScreen() {
  StartWithDocument(Scene(), QStringLiteral("scene.ato"));
  Activate();
  QWidget* canvas = Find<QWidget>("Canvas");
  const QRect below(0, 100, canvas->width(), Find<QWidget>("HistoryBar")->y() - 100);
  const QImage before = form_->CanvasImage().copy(below);
  form_->SetStopAfterSteps(40);
  ClickOn(Find<QPushButton>("Go"), 1);
  QTRY_COMPARE(model_->StepCount, 40);
  QVERIFY(form_->CanvasImage().copy(below) != before);  // the dots have moved
  const QPoint corner = canvas->mapTo(form_.get(), below.topLeft());
  const auto shown = [&] {
    const QImage screen = form_->screen()->grabWindow(form_->winId()).toImage();
    return screen.copy(QRect(corner, below.size())).convertToFormat(QImage::Format_RGB32);
  };
  QTRY_COMPARE(shown(), form_->CanvasImage().copy(below));
}

// dt typed and saved with Ctrl+S without leaving the field; a parameter taken by Return, shown
// whole while typed; refused text kept selected until Escape brings back the value in force.
void RealKeysTest::typedFieldsAreStoredByReturnAndBeforeCtrlS() {
  StartWithDocument(Scene(), QStringLiteral("scene.ato"));
  Activate();
  TypeInto("EditDT", {"0", "period", "5", "ctrl+s"});
  Model saved;
  saved.N = SlotCount;
  QTRY_VERIFY(
      (ReadDocumentFile(saved, StdPath("scene.ato")), ApplySnapshot(saved), SameBits(saved.dt, 0.5L)));
  TypeInto("EditB2", {"1", "period", "2", "5", "5", "5", "5", "5"});
  QLineEdit* b2 = Find<QLineEdit>("EditB2");
  QTRY_COMPARE(b2->text(), QStringLiteral("1.255555"));
  QVERIFY(b2->width() > b2->fontMetrics().horizontalAdvance(b2->text()));
  Xdo({"key", "Return"});
  QTRY_VERIFY(SameBits(model_->B2, 1.255555L));
  TypeInto("EditC2", {"1", "minus", "2", "Return"});
  QTRY_COMPARE(ErrorTexts(), QStringList{QStringLiteral("'1-2' is not a valid floating point value.")});
  QLineEdit* c2 = Find<QLineEdit>("EditC2");
  QTRY_VERIFY(c2->hasFocus());
  QCOMPARE(c2->selectedText(), QStringLiteral("1-2"));
  Xdo({"key", "Escape"});
  QTRY_COMPARE(c2->text(), QStringLiteral("5"));
}

// File > Save As ... by the mouse, into a folder that does not exist: the name field keeps the
// document that Ctrl+S then writes.
void RealKeysTest::aFailedSaveAsFromTheMenuKeepsTheNameSaveWrites() {
  StartWithDocument(Scene(), QStringLiteral("a.ato"));
  Activate();
  DialogProvider::Instance().SetNextFileName(FilePath(QStringLiteral("nosuch/b.ato")));
  auto* file = form_->findChild<QMenu*>(QStringLiteral("File1"));
  ClickAt(form_->menuBar(), form_->menuBar()->actionGeometry(file->menuAction()));
  QTRY_VERIFY(file->isVisible());
  ClickAt(file, file->actionGeometry(Find<QAction>("Saveas1")));
  QTRY_COMPARE(ErrorTexts(), QStringList{QStringLiteral("File not found.")});
  QCOMPARE(Text("FName"), FilePath(QStringLiteral("a.ato")));
  QVERIFY(QFile::remove(FilePath(QStringLiteral("a.ato"))));
  Xdo({"key", "ctrl+s"});
  QTRY_VERIFY(QFileInfo::exists(FilePath(QStringLiteral("a.ato"))));
  QVERIFY(!QFileInfo::exists(FilePath(QStringLiteral("nosuch/b.ato"))));
}

// F2, a new X for particle 1 typed and stored with Alt+Y, then Escape (Cancel): the listing, the
// picture and the run's working copy show the stored particle.
void RealKeysTest::anEditorYesThenEscapeShowsTheStoredParticle() {
  StartWithDocument(Scene(), QStringLiteral("scene.ato"));
  editor_ = std::make_unique<TEditDlg>(
      *model_, [] { return false; }, '.', form_.get());
  form_->SetEditDlg(editor_.get());
  Activate();
  // F2 shows the editor modally: the keys go to it from a timer that runs inside its loop.
  bool typed = false;
  QTimer watch;
  connect(&watch, &QTimer::timeout, this, [&] {
    if (!editor_->isVisible() || QApplication::activeWindow() != editor_.get()) return;
    watch.stop();
    // However the steps end, the editor closes, so that a failure cannot hold the test.
    const std::unique_ptr<TEditDlg, void (*)(TEditDlg*)> closer(editor_.get(),
                                                                [](TEditDlg* editor) { editor->reject(); });
    auto* x = editor_->findChild<QLineEdit*>(QStringLiteral("EditX"));
    ClickOn(x, 1);
    QTRY_VERIFY(x->hasFocus());
    Xdo({"key", "--delay", "30", "End", "shift+Home", "0", "period", "5", "alt+y"});
    QTRY_VERIFY(SameBits(model_->X[1], 0.5L));
    Xdo({"key", "Escape"});
    QTRY_VERIFY(!editor_->isVisible());
    typed = true;
  });
  watch.start(50);
  Xdo({"key", "F2"});
  QTRY_VERIFY(typed && !editor_->isVisible());
  QVERIFY(SameBits(model_->NewX[1], 0.5L));
  QCOMPARE(form_->ListingCell(1, 1), QStringLiteral("0.5"));
  QCOMPARE(view_->ScreenX[1], view_->CentreX + 30);
  QCOMPARE(PixelOfSlot(1), qRgb(0, 255, 0));
  // Ctrl+Z takes the editor's stored change back (the window active again, as a window manager
  // would make it once the dialog is gone).
  QCOMPARE(Find<QAction>("Undo1")->text(), QStringLiteral("&Undo Editor Changes"));
  Activate();
  Xdo({"key", "ctrl+z"});
  QTRY_VERIFY(SameBits(model_->X[1], 1.0L));
  QCOMPARE(form_->ListingCell(1, 1), QStringLiteral("1"));
}

// A click on slot 1's dot selects it; Ctrl+Shift+C puts its readout on the X server's clipboard,
// which another program (xclip) then reads while this one serves it. Escape clears the selection.
void RealKeysTest::aClickedParticlesReadoutReachesTheClipboard() {
  StartWithDocument(Scene(), QStringLiteral("scene.ato"));
  Activate();
  QWidget* canvas = Find<QWidget>("Canvas");
  QLabel* selection = Find<QLabel>("StatusSelection");
  // Three pixels beside the dot: within reach, and no drag long enough to turn the view away.
  const QPoint at = canvas->mapToGlobal(QPoint(view_->ScreenX[1] + 4, view_->ScreenY[1]));
  Xdo({"mousemove", "--sync", QString::number(at.x()), QString::number(at.y()), "click", "1"});
  QTRY_VERIFY(selection->text().startsWith(QStringLiteral("Slot 1, group 1: x = 1, y = 0, z = 0, v = 0.25")));
  Xdo({"key", "ctrl+shift+c"});
  const QString expected = QString::fromStdString(CopyText(ReadSelection(*model_, {}, {1})));
  QString copied;
  for (int attempt = 0; attempt < 20 && copied != expected; ++attempt) {
    QProcess xclip;
    xclip.start(QStringLiteral("xclip"), {"-o", "-selection", "clipboard"});
    QTRY_VERIFY_WITH_TIMEOUT(xclip.state() == QProcess::NotRunning,
                             10000);  // serving the clipboard meanwhile
    copied = QString::fromUtf8(xclip.readAllStandardOutput());
    if (copied != expected) QTest::qWait(100);
  }
  QCOMPARE(copied, expected);
  Xdo({"key", "Escape"});
  QTRY_VERIFY(selection->text().isEmpty());
}

// Ctrl+S on the easy square that stands in for a damaged remembered document, and on the easy
// square of no document (F5): the save dialog, and neither the damaged file nor one named after
// the figure written.
void RealKeysTest::ctrlSOnASceneOfNoDocumentAsksForAName() {
  WriteScene(Scene(), QStringLiteral("cut.ato"));
  QVERIFY(QFile::resize(FilePath("cut.ato"), 6000));
  WriteStartFile(StdPath("cut.ato"));
  Start();
  Activate();
  QCOMPARE(Text("FName"), QStringLiteral("The easy square"));
  const auto saveDialogs = [] {
    return std::count_if(DialogProvider::Instance().Shown().begin(), DialogProvider::Instance().Shown().end(),
                         [](const ShownDialog& d) { return d.Kind == DialogKind::SaveFile; });
  };
  Xdo({"key", "ctrl+s"});
  QTRY_COMPARE(saveDialogs(), 1);
  QCOMPARE(QFileInfo(FilePath("cut.ato")).size(), 6000);
  WriteStartFile({});
  Xdo({"key", "--delay", "100", "F5", "ctrl+s"});
  QTRY_COMPARE(saveDialogs(), 2);
  QCOMPARE(Text("FName"), QStringLiteral("This is a stabil structur of taons"));
  QVERIFY(!QFileInfo::exists(QStringLiteral("This is a stabil structur of taons")));
}

// Text typed into the memo whose comment file cannot be written: Alt+X asks, the write fails and
// the window stays; Alt+X asks again, Cancel keeps the window; No closes it.
void RealKeysTest::aCommentThatCouldNotBeWrittenIsAskedAgainAtAltX() {
  StartWithDocument(Scene(), QStringLiteral("ro.ato"));
  QVERIFY(QDir().mkpath(FilePath("ro.txt")));
  Activate();
  Find<QTabWidget>("PageControl")->setCurrentIndex(1);
  auto* comment = Find<QPlainTextEdit>("Comment");
  ClickOn(comment, 1);
  QTRY_VERIFY(comment->hasFocus());
  Xdo({"key", "--delay", "30", "k", "e", "p", "t"});
  QTRY_VERIFY(comment->toPlainText().contains(QStringLiteral("kept")));
  DialogProvider& dialogs = DialogProvider::Instance();
  dialogs.SetNextAnswer(true);
  Xdo({"key", "alt+x"});
  QTRY_COMPARE(ErrorTexts(), QStringList{QStringLiteral("File access denied.")});
  QVERIFY(form_->isVisible() && form_->CommentChanged());
  dialogs.SetNextCancel();
  Xdo({"key", "alt+x"});
  QTRY_COMPARE(dialogs.Shown().back().Kind, DialogKind::Confirmation);
  QTest::qWait(200);
  QVERIFY(form_->isVisible() && form_->CommentChanged());
  dialogs.SetNextAnswer(false);
  Xdo({"key", "alt+x"});
  QTRY_VERIFY(!form_->isVisible());
}

// File > Save As ... by the mouse onto a document that is there: the question comes, No keeps
// the file and shows the dialog again.
void RealKeysTest::saveAsFromTheMenuAsksBeforeReplacing() {
  WriteScene(OtherScene(), QStringLiteral("b.ato"));
  StartWithDocument(Scene(), QStringLiteral("a.ato"));
  Activate();
  const QByteArray b = [&] {
    QFile file(FilePath("b.ato"));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }();
  DialogProvider::Instance().SetNextFileName(FilePath("b.ato"));
  DialogProvider::Instance().SetNextAnswer(false);
  auto* file = form_->findChild<QMenu*>(QStringLiteral("File1"));
  ClickAt(form_->menuBar(), form_->menuBar()->actionGeometry(file->menuAction()));
  QTRY_VERIFY(file->isVisible());
  ClickAt(file, file->actionGeometry(Find<QAction>("Saveas1")));
  // The file dialog, the question, and the file dialog again (cancelled).
  QTRY_COMPARE(DialogProvider::Instance().Shown().size(), std::size_t{3});
  QCOMPARE(DialogProvider::Instance().Shown()[1].Kind, DialogKind::Confirmation);
  QFile kept(FilePath("b.ato"));
  QVERIFY(kept.open(QIODevice::ReadOnly));
  QCOMPARE(kept.readAll(), b);
  QCOMPARE(Text("FName"), FilePath(QStringLiteral("a.ato")));
}

// A remembered document that is a FIFO: past the status bar's comparisons the window still
// answers keys (F7 shows the points' numbers).
void RealKeysTest::aFifoDocumentLeavesTheWindowAnswering() {
  QCOMPARE(::mkfifo(StdPath("fifo.ato").c_str(), 0666), 0);
  WriteStartFile(StdPath("fifo.ato"));
  Start();
  Activate();
  QTest::qWait(1200);
  Xdo({"key", "F7"});
  QTRY_VERIFY(Find<QAction>("ShowNumbersOfPoints")->isChecked());
  Xdo({"key", "alt+f"});
  auto* file = form_->findChild<QMenu*>(QStringLiteral("File1"));
  QTRY_VERIFY(file->isVisible());
  Xdo({"key", "Escape"});
  QTRY_VERIFY(!file->isVisible());
}

// A document dragged from another program that proposes a move, as a file manager with Shift
// does, and dropped on the picture: the window tells the source it took a copy, so the file
// stays where it was. The window answers the drag's messages meanwhile, so xdotool runs
// beside the test's event loop.
void RealKeysTest::aDocumentDraggedFromAnotherProgramIsTakenAsACopy() {
  WriteScene(OtherScene(), QStringLiteral("dragged.ato"));
  StartWithDocument(Scene(), QStringLiteral("a.ato"));
  Activate();
  QProcess source;
  source.start(QStringLiteral(DRAG_SOURCE_PATH), {FilePath("dragged.ato")});
  QVERIFY(source.waitForStarted());
  QTRY_VERIFY_WITH_TIMEOUT(source.canReadLine(), 10000);
  const QList<QByteArray> middle = source.readLine().trimmed().split(' ');
  const QPoint from(middle.value(0).toInt(), middle.value(1).toInt());
  const QPoint to = Find<QWidget>("Canvas")->mapToGlobal(QPoint(100, 100));
  QStringList moves{"mousemove", "--sync", QString::number(from.x()), QString::number(from.y()),
                    "mousedown", "1"};
  constexpr int Moves = 10;
  for (int k = 1; k <= Moves; ++k)
    moves << "mousemove" << QString::number(from.x() + (to.x() - from.x()) * k / Moves)
          << QString::number(from.y() + (to.y() - from.y()) * k / Moves) << "sleep"
          << "0.1";
  moves << "sleep"
        << "0.3"
        << "mouseup"
        << "1";
  QProcess xdotool;
  xdotool.start(QStringLiteral("xdotool"), moves);
  QTRY_VERIFY_WITH_TIMEOUT(xdotool.state() == QProcess::NotRunning, 10000);
  QCOMPARE(xdotool.exitCode(), 0);
  QTRY_VERIFY_WITH_TIMEOUT(source.state() == QProcess::NotRunning, 10000);
  QCOMPARE(source.readAll().trimmed(), QByteArray("copy"));
  QVERIFY(QFile::exists(FilePath("dragged.ato")));
}

// A run by Go opens the history bar, the slider moved by its keys, Resume from Here and Go
// again: the run repeats the first run's states.
void RealKeysTest::aRunRewoundWithTheSliderIsResumed() {
  StartWithDocument(Scene(), QStringLiteral("scene.ato"));
  Activate();
  form_->SetStopAfterSteps(10);
  ClickOn(Find<QPushButton>("Go"), 1);
  QTRY_COMPARE(model_->StepCount, 10);
  QTRY_VERIFY(Find<QWidget>("HistoryBar")->isVisible());
  const SceneState last = model_->Scene();
  auto* slider = Find<QSlider>("HistorySlider");
  ClickOn(slider, 1);
  Xdo({"key", "--delay", "30", "Home", "Right", "Right", "Right"});
  QTRY_COMPARE(slider->value(), 3);
  QTRY_COMPARE(model_->StepCount, 3);
  Screenshot("history-step-3");
  ClickOn(Find<QPushButton>("HistoryResume"), 1);
  QTRY_COMPARE(Find<QAction>("Undo1")->text(), QStringLiteral("&Undo Resume from Step 3"));
  form_->SetStopAfterSteps(7);
  ClickOn(Find<QPushButton>("Go"), 1);
  QTRY_COMPARE(model_->StepCount, 10);
  QTRY_VERIFY(!form_->RunInProgress());
  QVERIFY(model_->Scene() == last);
  Screenshot("history-resumed");
}

// File > Open Trajectory... and Export Movie... by the mouse, Play clicked.
void RealKeysTest::aTrajectoryIsOpenedPlayedAndExported() {
  StartWithDocument(Scene(), QStringLiteral("scene.ato"));
  Activate();
  Model moving = Scene();
  std::string text;
  for (int frame = 0; frame < 12; ++frame) {
    AppendXyzFrame(text, moving, moving.StepCount);
    CoreRun(moving, 20);
  }
  QFile file(FilePath(QStringLiteral("run.xyz")));
  QVERIFY(file.open(QIODevice::WriteOnly));
  file.write(text.data(), static_cast<qint64>(text.size()));
  file.close();
  DialogProvider::Instance().SetNextFileName(file.fileName());
  ChooseFromMenu("File1", "OpenTrajectory1");
  auto* slider = Find<QSlider>("HistorySlider");
  QTRY_COMPARE(slider->maximum(), 11);
  Screenshot("trajectory-first");
  ClickOn(Find<QToolButton>("HistoryPlay"), 1);
  QTRY_COMPARE(slider->value(), 11);
  QTRY_COMPARE(model_->StepCount, 220);
  Screenshot("trajectory-played");
  const QString movie = FilePath(QStringLiteral("run.mp4"));
  DialogProvider::Instance().SetNextFileName(movie);
  ChooseFromMenu("File1", "ExportMovie1");
  QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(movie).size() > 0, 30000);
  QCOMPARE(ErrorTexts(), QStringList());
  QCOMPARE(slider->value(), 11);
}

}  // namespace velmora::testing

QTEST_MAIN(velmora::testing::RealKeysTest)
#include "RealKeysTest.moc"

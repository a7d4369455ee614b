// The main window's File commands, the Show Images commands, the comment question, the help
// entries and the About box, on the offscreen platform with the dialogs in test mode.

#include <QAction>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTextBrowser>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

#include "documents/CommentFile.h"
#include "sim/Stepper.h"
#include "tests/core/TemporaryFolder.h"
#include "tests/ui/MainFormHarness.h"
#include "ui/about/AboutBox.h"
#include "ui/help/HelpWindow.h"

using namespace velmora;
using namespace velmora::testing;

class MainFormDocumentsTest : public QObject, private MainFormHarness {
  Q_OBJECT

 private slots:
  void initTestCase() { InitTestCase(); }
  void init() { Init(); }
  void cleanup() { Cleanup(); }

  void openLoadsModelListingFieldsCommentAndStartFile();
  void openFailuresLeaveTheModelButNotTheMode_data();
  void openFailuresLeaveTheModelButNotTheMode();
  void saveWritesTheSameFileAndKeepsTheStartFile();
  void saveAsNamesTheNewDocument();
  void savingDoesNothingInFigureMode();
  void saveAsksForTheNameOfASceneOfNoDocument();
  void saveDialogsAskBeforeReplacingAFile();
  void aCommentThatCouldNotBeWrittenIsAskedAboutAgain();
  void openDuringARunGoesOnFromTheNewScene();
  void spiralShowsTheFigureAndKeepsTheScene();
  void taonsReloadsTheRememberedDocumentOnly();
  void taonsWithoutADocumentBuildsTheEasySquare();
  void taonsWithoutAStartFileSaysSo();
  void commentQuestionOnLeavingAfterAChange();
  void helpEntriesOpenTheirOwnFiles();
  void helpPagesLinkToPagesThatExist();
  void aMissingHelpFileIsReportedInTheHelpWindow();
  void aboutBoxShowsNameVersionAndClosesWithOK();

 private:
  void Leave(QWidget* from, QWidget* to) {
    from->setFocus();
    to->setFocus();
  }
  const std::vector<ShownDialog>& Shown() const { return DialogProvider::Instance().Shown(); }
};

void MainFormDocumentsTest::openLoadsModelListingFieldsCommentAndStartFile() {
  Start();
  Model scene = OtherScene();
  WriteDocumentFile(scene, StdPath("b.ato"));
  WriteCommentFile(StdPath("b.txt"), "about b\r\n");
  DialogProvider::Instance().SetNextFileName(FilePath("b.ato"));
  QTest::keyClick(form_.get(), Qt::Key_F3);
  QVERIFY(!model_->SpiralShown);
  QVERIFY(Find<QPushButton>("Go")->isEnabled());
  QCOMPARE(Text("FName"), FilePath("b.ato"));
  QVERIFY(SameArrays(model_->X, scene.X) && SameArrays(model_->U, scene.U));
  QVERIFY(SameArrays(model_->ShownX, scene.X) && SameArrays(model_->NewU, scene.U));
  QVERIFY(!model_->Present[2] && model_->Present[9]);
  QCOMPARE(Text("EditDT"), QStringLiteral("0.0005"));
  QCOMPARE(Text("EditB2"), QStringLiteral("3.5"));
  QCOMPARE(form_->ListingCell(1, 9), QStringLiteral("0.5"));
  QCOMPARE(form_->ListingCell(1, 2), QString());
  QCOMPARE(Find<QPlainTextEdit>("Comment")->toPlainText(), QStringLiteral("about b\n"));
  QCOMPARE(ReadStartFile(), std::optional<std::string>(StdPath("b.ato")));
  QCOMPARE(model_->StepCount, 0);
  QCOMPARE(Find<QLabel>("LTime")->text(), QStringLiteral("0"));
  QVERIFY(Shown().size() == 1 && Shown()[0].Kind == DialogKind::OpenFile);
  // The document's particles are on the canvas.
  QCOMPARE(PixelOfSlot(9), qRgb(0, 255, 0));
}

void MainFormDocumentsTest::openFailuresLeaveTheModelButNotTheMode_data() {
  QTest::addColumn<int>("size");
  QTest::addColumn<QString>("message");
  QTest::newRow("one byte short") << int(SnapshotSize - 1) << QStringLiteral("Read beyond end of file.");
  QTest::newRow("empty") << 0 << QStringLiteral("Read beyond end of file.");
  QTest::newRow("missing") << -1 << QStringLiteral("File not found.");
}

void MainFormDocumentsTest::openFailuresLeaveTheModelButNotTheMode() {
  QFETCH(int, size);
  QFETCH(QString, message);
  Start();  // the spiral
  const Model before = *model_;
  const QString name = QStringLiteral("short%1.ato").arg(size);
  if (size >= 0) WriteBytes(FilePath(name).toStdString(), std::string(std::size_t(size), '\x7f'));
  DialogProvider::Instance().SetNextFileName(FilePath(name));
  Find<QAction>("Open1")->trigger();
  QCOMPARE(Shown().back().Kind, DialogKind::Error);
  QCOMPARE(Shown().back().Text, message);
  QVERIFY(!model_->SpiralShown);  // already left figure mode
  QVERIFY(Find<QPushButton>("Go")->isEnabled());
  QCOMPARE(model_->DocFileName, before.DocFileName);  // what Save writes, and shows
  QCOMPARE(Text("FName"), QString::fromStdString(before.DocFileName));
  QVERIFY(SameArrays(model_->X, before.X) && model_->Present == before.Present);
  QVERIFY(SameBits(model_->dt, before.dt));
  QCOMPARE(ReadStartFile(), std::optional<std::string>(""));
}

void MainFormDocumentsTest::saveWritesTheSameFileAndKeepsTheStartFile() {
  StartWithDocument(Scene(), "a.ato");
  const std::string original = ReadBytes(StdPath("a.ato"));
  QCOMPARE(original.size(), SnapshotSize);
  WriteStartFile(StdPath("elsewhere.ato"));
  QVERIFY(QFile::remove(FilePath("a.ato")));  // so that the save shows
  Activate();
  QTest::keyClick(form_.get(), Qt::Key_S, Qt::ControlModifier);
  QVERIFY(Shown().empty());  // no question, no dialog
  QCOMPARE(ReadBytes(StdPath("a.ato")), original);
  QCOMPARE(ReadStartFile(), std::optional<std::string>(StdPath("elsewhere.ato")));
  // A change is saved.
  Run(2);
  Find<QAction>("Save1")->trigger();
  Model reread;
  ReadDocumentFile(reread, StdPath("a.ato"));
  reread.N = SlotCount;
  ApplySnapshot(reread);
  QVERIFY(SameArrays(reread.X, model_->X));
}

void MainFormDocumentsTest::saveAsNamesTheNewDocument() {
  StartWithDocument(Scene(), "a.ato");
  DialogProvider::Instance().SetNextFileName(FilePath("copy.ato"));
  Find<QAction>("Saveas1")->trigger();
  QCOMPARE(ReadBytes(StdPath("copy.ato")), ReadBytes(StdPath("a.ato")));
  QCOMPARE(Text("FName"), FilePath("copy.ato"));
  QCOMPARE(model_->DocFileName, StdPath("copy.ato"));
  QCOMPARE(ReadStartFile(), std::optional<std::string>(StdPath("copy.ato")));
  QVERIFY(!QFileInfo::exists(FilePath("copy.txt")));  // the comment is written from the memo only
  // Cancelled: nothing happens.
  DialogProvider::Instance().SetNextFileName(std::nullopt);
  Find<QAction>("Saveas1")->trigger();
  QCOMPARE(ReadStartFile(), std::optional<std::string>(StdPath("copy.ato")));
}

void MainFormDocumentsTest::savingDoesNothingInFigureMode() {
  Start();
  QVERIFY(model_->SpiralShown);
  DialogProvider::Instance().SetNextFileName(FilePath("never.ato"));
  Find<QAction>("Save1")->trigger();
  Find<QAction>("Saveas1")->trigger();
  QVERIFY(Shown().empty());
  QVERIFY(!QFileInfo::exists(FilePath("never.ato")));
  QVERIFY(!QFileInfo::exists(QStringLiteral("ThetraSpiral")));
}

// The easy square standing in for a remembered document that breaks off, or shown for no
// document at all: Save asks for a name, writes nothing over the damaged document nor under the
// figure's title, and the title survives a repaint. Once named, Save asks no more.
void MainFormDocumentsTest::saveAsksForTheNameOfASceneOfNoDocument() {
  const QString title = QStringLiteral("This is a stabil structur of taons");
  for (const bool damaged : {true, false}) {
    Cleanup();
    Init();
    if (damaged) {
      WriteScene(Scene(), "cut.ato");
      QVERIFY(QFile::resize(FilePath("cut.ato"), 6000));
      WriteStartFile(StdPath("cut.ato"));
      Start();
      QCOMPARE(ErrorTexts(), QStringList{QStringLiteral("Read beyond end of file.")});
    } else {
      Start();
      Find<QAction>("Daons1")->trigger();
    }
    const QString shown = damaged ? QStringLiteral("The easy square") : title;
    QCOMPARE(Text("FName"), shown);
    QVERIFY(SameBits(model_->X[1], 0.212L) && SameBits(model_->G1, 30.0L));
    form_->resize(form_->width() + 20, form_->height() + 20);
    QTest::qWait(50);
    QCOMPARE(Text("FName"), shown);
    DialogProvider& dialogs = DialogProvider::Instance();
    dialogs.Reset();
    Find<QAction>("Save1")->trigger();  // the dialog cancelled
    QVERIFY(Shown().size() == 1 && Shown()[0].Kind == DialogKind::SaveFile);
    QVERIFY(!QFileInfo::exists(title));
    if (damaged) QCOMPARE(QFileInfo(FilePath("cut.ato")).size(), 6000);
    const QString named = FilePath(damaged ? "named1.ato" : "named2.ato");
    dialogs.SetNextFileName(named);
    Find<QAction>("Save1")->trigger();
    QCOMPARE(QFileInfo(named).size(), qint64(SnapshotSize));
    QCOMPARE(Text("FName"), named);
    dialogs.Reset();
    Find<QAction>("Save1")->trigger();
    QVERIFY(Shown().empty());
  }
}

// Save As, the "0" button's save and the editor's come through the same dialog, which asks
// before it names a file that is there: No shows the dialog again, Yes replaces the file.
void MainFormDocumentsTest::saveDialogsAskBeforeReplacingAFile() {
  StartWithDocument(Scene(), "a.ato");
  WriteScene(OtherScene(), "b.ato");
  const std::string b = ReadBytes(StdPath("b.ato"));
  DialogProvider& dialogs = DialogProvider::Instance();
  dialogs.SetNextFileName(FilePath("b.ato"));
  dialogs.SetNextAnswer(false);
  dialogs.SetNextFileName(FilePath("c.ato"));
  Find<QAction>("Saveas1")->trigger();
  QCOMPARE(ReadBytes(StdPath("b.ato")), b);
  QCOMPARE(ReadBytes(StdPath("c.ato")), ReadBytes(StdPath("a.ato")));
  QCOMPARE(Shown().size(), std::size_t{3});
  QCOMPARE(Shown()[1].Text, QStringLiteral("\"%1\" already exists. Replace it?").arg(FilePath("b.ato")));
  dialogs.SetNextFileName(FilePath("b.ato"));
  dialogs.SetNextAnswer(true);
  Find<QToolButton>("Null00")->click();
  QCOMPARE(model_->DocFileName, StdPath("b.ato"));
  QCOMPARE(Shown().back().Kind, DialogKind::Confirmation);
  QVERIFY(ReadBytes(StdPath("b.ato")) != b && ReadBytes(StdPath("b.ato")).size() == SnapshotSize);
}

// A comment whose file cannot be written keeps its mark: the next Exit or Open asks again, and
// their question can be cancelled.
void MainFormDocumentsTest::aCommentThatCouldNotBeWrittenIsAskedAboutAgain() {
  StartWithDocument(Scene(), "ro.ato");
  WriteScene(OtherScene(), "b.ato");
  QVERIFY(QDir().mkpath(FilePath("ro.txt")));  // no file can be written there
  Find<QPlainTextEdit>("Comment")->setPlainText(QStringLiteral("kept"));
  DialogProvider& dialogs = DialogProvider::Instance();
  dialogs.SetNextAnswer(true);
  QVERIFY(!form_->close());
  QCOMPARE(ErrorTexts(), QStringList{QStringLiteral("File access denied.")});
  QVERIFY(form_->CommentChanged());
  dialogs.SetNextCancel();
  QVERIFY(!form_->close());
  dialogs.SetNextCancel();
  dialogs.SetNextFileName(FilePath("b.ato"));
  Find<QAction>("Open1")->trigger();
  QCOMPARE(model_->DocFileName, StdPath("ro.ato"));
  QVERIFY(form_->CommentChanged());
  std::size_t questions = 0;
  for (const ShownDialog& shown : Shown()) questions += shown.Kind == DialogKind::Confirmation;
  QCOMPARE(questions, std::size_t{3});
  dialogs.SetNextAnswer(false);
  QVERIFY(form_->close());
}

void MainFormDocumentsTest::openDuringARunGoesOnFromTheNewScene() {
  StartWithDocument(Scene(), "a.ato");
  Model scene = OtherScene();
  WriteDocumentFile(scene, StdPath("b.ato"));
  // The run goes on from what the document holds, working copies taken from it.
  Model other;
  other.N = SlotCount;
  ReadDocumentFile(other, StdPath("b.ato"));
  ApplySnapshot(other);
  int openedAfter = -1;
  QTimer::singleShot(0, form_.get(), [&] {
    openedAfter = model_->StepCount;
    DialogProvider::Instance().SetNextFileName(FilePath("b.ato"));
    Find<QAction>("Open1")->trigger();
    QCOMPARE(model_->StepCount, 0);
  });
  Run(10);
  QCOMPARE(openedAfter, 1);
  QCOMPARE(model_->StepCount, 10);  // the loop's own count goes on
  QCOMPARE(CoreRun(other, 10 - openedAfter), std::string());
  QVERIFY(SameArrays(model_->X, other.X) && SameArrays(model_->W, other.W));
}

void MainFormDocumentsTest::spiralShowsTheFigureAndKeepsTheScene() {
  StartWithDocument(Scene(), "a.ato");
  const Model before = *model_;
  Find<QAction>("Spiral1")->trigger();
  QVERIFY(model_->SpiralShown);
  QVERIFY(!Find<QPushButton>("Go")->isEnabled());
  QVERIFY(!Find<QToolButton>("Null00")->isEnabled());
  QVERIFY(SameBits(model_->ShownX[2], 1.0L) && SameBits(model_->ShownZ[2], 0.0L));
  QVERIFY(SameBits(model_->ShownX[20], 0.0L) && SameBits(model_->ShownX[51], 0.0L));
  QVERIFY(SameArrays(model_->X, before.X) && model_->Present == before.Present);
  QCOMPARE(Text("FName"), FilePath("a.ato"));
  // The figure is drawn: its spine from P1 to P2 is white.
  QCOMPARE(Pixel(view_->CentreX + 15, view_->CentreY), qRgb(255, 255, 255));
}

void MainFormDocumentsTest::taonsReloadsTheRememberedDocumentOnly() {
  StartWithDocument(Scene(), "a.ato");
  Find<QAction>("Spiral1")->trigger();
  model_->X[1] = 5.0L;
  model_->StepCount = 7;
  Find<QLineEdit>("EditDT")->setText(QStringLiteral("9"));
  WriteCommentFile(StdPath("a.txt"), "written later");
  QTest::keyClick(form_.get(), Qt::Key_F5);
  QVERIFY(!model_->SpiralShown);
  QVERIFY(Find<QPushButton>("Go")->isEnabled() && Find<QToolButton>("Null00")->isEnabled());
  QVERIFY(SameBits(model_->X[1], 1.0L));
  QVERIFY(SameBits(model_->ShownX[1], 1.0L));
  QCOMPARE(model_->StepCount, 7);
  QCOMPARE(Text("EditDT"), QStringLiteral("0.002"));  // the fields show what is in force
  QCOMPARE(Find<QPlainTextEdit>("Comment")->toPlainText(), QString());
  QCOMPARE(PixelOfSlot(1), qRgb(0, 255, 0));
  QVERIFY(Shown().empty());
}

void MainFormDocumentsTest::taonsWithoutADocumentBuildsTheEasySquare() {
  // An empty start file: the easy square, titled.
  Start();
  Find<QAction>("Daons1")->trigger();
  QCOMPARE(Text("FName"), QStringLiteral("This is a stabil structur of taons"));
  QVERIFY(SameBits(model_->X[1], 0.212L) && SameBits(model_->Z[1], -0.212L));
  QVERIFY(SameBits(model_->B3, 2.718L) && SameBits(model_->G1, 30.0L));
  QCOMPARE(form_->ListingCell(1, 4), QStringLiteral("-0.212"));
  QCOMPARE(PixelOfSlot(4), qRgb(0, 255, 0));
  // A remembered document that is gone: the easy square, silently, under the document's name.
  Cleanup();
  Init();
  WriteStartFile(StdPath("gone.ato"));
  Start();
  model_->X[1] = 3.0L;
  Find<QAction>("Spiral1")->trigger();
  Find<QAction>("Daons1")->trigger();
  QVERIFY(SameBits(model_->X[1], 0.212L));
  QCOMPARE(Text("FName"), FilePath("gone.ato"));
  QVERIFY(Shown().empty());
}

void MainFormDocumentsTest::taonsWithoutAStartFileSaysSo() {
  Start();
  QFile::remove(QString::fromStdString(StartFilePath()));
  const Model before = *model_;
  Find<QAction>("Daons1")->trigger();
  QCOMPARE(Shown().size(), std::size_t{1});
  QCOMPARE(Shown()[0].Kind, DialogKind::Information);
  QCOMPARE(Shown()[0].Text, QStringLiteral("The start File not found."));
  QVERIFY(!model_->SpiralShown);
  QVERIFY(Find<QPushButton>("Go")->isEnabled());
  QVERIFY(SameArrays(model_->ShownX, before.ShownX));  // nothing rebuilt
}

void MainFormDocumentsTest::commentQuestionOnLeavingAfterAChange() {
  WriteCommentFile(StdPath("a.txt"), "loaded");
  StartWithDocument(Scene(), "a.ato");
  Activate();
  auto* comment = Find<QPlainTextEdit>("Comment");
  QWidget* elsewhere = Find<QLineEdit>("EditA2");
  Find<QTabWidget>("PageControl")->setCurrentIndex(1);
  // The loaded text is no change: leaving asks nothing.
  Leave(comment, elsewhere);
  QVERIFY(Shown().empty());
  // An edit asks once; No writes nothing, and leaving again asks nothing.
  comment->setFocus();
  comment->moveCursor(QTextCursor::End);
  QTest::keyClick(comment, Qt::Key_Return);
  DialogProvider::Instance().SetNextAnswer(false);
  Leave(comment, elsewhere);
  QCOMPARE(Shown().size(), std::size_t{1});
  QCOMPARE(Shown()[0].Kind, DialogKind::Confirmation);
  QCOMPARE(Shown()[0].Caption, QStringLiteral("Confirm"));
  QCOMPARE(Shown()[0].Text, QStringLiteral("The text was changed. Save now?"));
  Leave(comment, elsewhere);
  QCOMPARE(Shown().size(), std::size_t{1});
  QCOMPARE(ReadBytes(StdPath("a.txt")), std::string("loaded"));
  // Another edit, then Yes: the memo's lines with CR LF.
  comment->setFocus();
  comment->moveCursor(QTextCursor::End);
  QTest::keyClicks(comment, QStringLiteral("second"));
  DialogProvider::Instance().SetNextAnswer(true);
  elsewhere->setFocus();
  QCOMPARE(Shown().size(), std::size_t{2});
  QCOMPARE(ReadBytes(StdPath("a.txt")), std::string("loaded\r\nsecond"));
  QVERIFY(!form_->CommentChanged());
}

void MainFormDocumentsTest::helpEntriesOpenTheirOwnFiles() {
  Start();
  Activate();
  const struct {
    QKeyCombination key;
    const char* file;
    const char* folder;
    const char* title;
  } entries[] = {
      {Qt::Key_F1, "HelpUK.hlp", "HelpUK", "Contents"},
      {Qt::CTRL | Qt::Key_F1, "HlpArtRu.hlp", "HlpArtRu", "Содержание"},
      {Qt::SHIFT | Qt::Key_F1, "HlpArtPl.hlp", "HlpArtPl", "Spis treści"},
  };
  for (const auto& entry : entries) {
    form_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(form_.get()));
    QTest::keyClick(form_.get(), entry.key.key(), entry.key.keyboardModifiers());
    HelpWindow* help = form_->Help();
    QVERIFY(help && help->isVisible());
    QCOMPARE(help->HelpFile(), QString::fromLatin1(entry.file));
    QVERIFY(help->Source().toLocalFile().endsWith(QStringLiteral("/%1/index.html").arg(entry.folder)));
    QVERIFY(help->PageText().contains(QString::fromUtf8(entry.title)));
  }
  // Back and forward between the pages.
  auto* browser = form_->Help()->findChild<QTextBrowser*>(QStringLiteral("Browser"));
  auto* back = form_->Help()->findChild<QToolButton*>(QStringLiteral("Back"));
  QVERIFY(!back->isEnabled());
  browser->setSource(QUrl(QStringLiteral("menus.html")));
  QVERIFY(form_->Help()->Source().toString().endsWith(QStringLiteral("menus.html")));
  QVERIFY(back->isEnabled());
  back->click();
  QVERIFY(form_->Help()->Source().toString().endsWith(QStringLiteral("index.html")));
}

void MainFormDocumentsTest::helpPagesLinkToPagesThatExist() {
  QStringList pages;
  for (const char* file : {"HelpUK.hlp", "HlpArtRu.hlp", "HlpArtPl.hlp"}) {
    const QString contents = HelpWindow::ContentsPage(QString::fromLatin1(file));
    QVERIFY2(!contents.isEmpty(), file);
    const QDir folder = QFileInfo(contents).dir();
    const QStringList names = folder.entryList({QStringLiteral("*.html")}, QDir::Files, QDir::Name);
    if (pages.isEmpty()) pages = names;
    QCOMPARE(names, pages);  // every language has the same pages
    const QRegularExpression link(QStringLiteral("href=\"([^\"#]*)(#[^\"]*)?\""));
    for (const QString& name : names) {
      QFile page(folder.filePath(name));
      QVERIFY(page.open(QIODevice::ReadOnly));
      const QString html = QString::fromUtf8(page.readAll());
      for (auto match = link.globalMatch(html); match.hasNext();) {
        const QString target = match.next().captured(1);
        if (!target.isEmpty()) QVERIFY2(folder.exists(target), qPrintable(name + " -> " + target));
      }
    }
  }
  QVERIFY(pages.size() >= 6);
}

void MainFormDocumentsTest::aMissingHelpFileIsReportedInTheHelpWindow() {
  HelpWindow help(nullptr);
  help.ShowContents(QStringLiteral("NoSuchHelp.hlp"));
  QVERIFY(help.isVisible());
  QVERIFY(help.PageText().contains(QStringLiteral("The help file NoSuchHelp.hlp was not found")));
  QVERIFY(help.Source().isEmpty());
}

void MainFormDocumentsTest::aboutBoxShowsNameVersionAndClosesWithOK() {
  Start();
  TAboutBox about(form_.get());
  form_->SetAboutBox(&about);
  QCOMPARE(about.windowTitle(), QStringLiteral("About"));
  QCOMPARE(about.size(), QSize(343, 222));
  QCOMPARE(about.minimumSize(), about.maximumSize());
  auto* name = about.findChild<QLabel*>(QStringLiteral("ProductName"));
  QCOMPARE(name->text(), QStringLiteral("Velmora"));
  QCOMPARE(name->palette().color(QPalette::WindowText), QColor(255, 0, 0));
  QCOMPARE(name->font().pixelSize(), 24);
  QCOMPARE(about.findChild<QLabel*>(QStringLiteral("Version"))->text(), QStringLiteral("Version 1.1"));
  QVERIFY(!about.findChild<QLabel*>(QStringLiteral("ProgramIcon"))->pixmap().isNull());
  QVERIFY(!about.findChild<QLabel*>(QStringLiteral("ProgramIcon2"))->pixmap().isNull());
  auto* ok = about.findChild<QPushButton*>(QStringLiteral("OKButton"));
  QVERIFY(ok->isDefault());
  bool shownModally = false;
  QTimer::singleShot(0, &about, [&] {
    shownModally = about.isVisible() && about.isModal();
    ok->click();
  });
  Find<QAction>("About1")->trigger();
  QVERIFY(shownModally);
  QVERIFY(!about.isVisible());
}

QTEST_MAIN(MainFormDocumentsTest)
#include "MainFormDocumentsTest.moc"

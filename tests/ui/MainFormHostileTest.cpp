// The main window given what nobody gives it on purpose: documents holding values no computation
// makes, number text pasted from anywhere, comment files of any content, start files and
// documents that are no files, disks that refuse a save, and a run that faults. The window keeps
// working, shows what is there, reports the failure once in its own words and loses nothing.

#include <sys/stat.h>
#include <unistd.h>

#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QRandomGenerator>
#include <QTabWidget>
#include <QTableWidget>
#include <QTextCursor>
#include <QTimer>
#include <QtTest>
#include <functional>

#include "documents/CommentFile.h"
#include "model/ProgramError.h"
#include "sim/Stepper.h"
#include "tests/core/ModelBits.h"
#include "tests/ui/MainFormHarness.h"
#include "ui/editor/EditDlg.h"
#include "ui/main/MemoText.h"

using namespace velmora;
using namespace velmora::testing;

namespace {

using Encoding = std::array<unsigned char, 10>;

QStringList Entries(const QString& folder) {
  return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

}  // namespace

class MainFormHostileTest : public QObject, private MainFormHarness {
  Q_OBJECT

 private slots:
  void initTestCase() { InitTestCase(); }
  void init() { Init(); }
  void cleanup() { Cleanup(); }

  void hostileDocumentIsShownRunAndSavedBitForBit_data();
  void hostileDocumentIsShownRunAndSavedBitForBit();
  void randomDocumentsOpenRunAndSave();
  void aFaultInARunIsReportedOnceAndTheNextRunGoesOnFromIt();
  void pastedNumberTextIsRefusedAndTheTimeStepKept_data();
  void pastedNumberTextIsRefusedAndTheTimeStepKept();
  void commentFilesOfAnyContent_data();
  void commentFilesOfAnyContent();
  void anEightBitCommentGoesToUtf8OnceItNeedsTo();
  void memoEditsKeepTheSeparatorsAroundThem();
  void startFilesAndDocumentsThatAreNoFiles();
  void failedSavesKeepTheOldFile_data();
  void failedSavesKeepTheOldFile();
  void aStartFileThatCannotBeWrittenKeepsItsName();

 private:
  void OpenDocument(const QString& path) {
    DialogProvider::Instance().SetNextFileName(path);
    Find<QAction>("Open1")->trigger();
  }
  // A run of `steps` steps in the window against the core's: the same bits, and the core's fault,
  // if it meets one, in the one error box shown since the last Reset; `fault` gets its message.
  void RunAsTheCore(int steps, QString& fault) {
    Model core = *model_;
    fault = QString::fromStdString(CoreRun(core, steps));
    Run(steps);
    QCOMPARE(ErrorTexts(), fault.isEmpty() ? QStringList() : QStringList{fault + '.'});
    QCOMPARE(FirstDifference(*model_, core), std::string());
  }
  // The memo gets new text and loses the focus; the question is answered with Yes.
  void SaveComment(const QString& text) {
    auto* comment = Find<QPlainTextEdit>("Comment");
    Find<QTabWidget>("PageControl")->setCurrentIndex(1);
    comment->setFocus();
    comment->setPlainText(text);
    DialogProvider::Instance().SetNextAnswer(true);
    Find<QLineEdit>("EditA2")->setFocus();
  }
};

// ---------------------------------------------------------------------------------------------
// Hostile documents

void MainFormHostileTest::hostileDocumentIsShownRunAndSavedBitForBit_data() {
  QTest::addColumn<Encoding>("encoding");
  QTest::addColumn<QString>("text");
  // Ten bytes, little-endian: the significand with its explicit integer bit, then sign and exponent.
  QTest::newRow("quiet NaN") << Encoding{0, 0, 0, 0, 0, 0, 0, 0xC0, 0xFF, 0x7F} << "NAN";
  QTest::newRow("signaling NaN") << Encoding{1, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x7F} << "NAN";
  QTest::newRow("negative infinity") << Encoding{0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0xFF} << "-INF";
  QTest::newRow("pseudo-infinity") << Encoding{0, 0, 0, 0, 0, 0, 0, 0x00, 0xFF, 0x7F} << "NAN";
  QTest::newRow("unnormal") << Encoding{0, 0, 0, 0, 0, 0, 0, 0x40, 0xFF, 0x3F} << "NAN";
  QTest::newRow("pseudo-denormal") << Encoding{0, 0, 0, 0, 0, 0, 0, 0x80, 0x00, 0x00}
                                   << "3.36210314311209E-4932";
}

// The encoding in dt, in B2, in X of slot 1 and in W of slot 76; flag bytes 2 and 255 for slots
// 2 and 51. Opening shows it everywhere without an error; a run gives the core's bits and at
// most one error box; saving writes every byte back, the flag bytes as read.
void MainFormHostileTest::hostileDocumentIsShownRunAndSavedBitForBit() {
  QFETCH(Encoding, encoding);
  QFETCH(QString, text);
  WriteScene(Scene(), QStringLiteral("hostile.ato"));
  QFile file(FilePath("hostile.ato"));
  QVERIFY(file.open(QIODevice::ReadWrite));
  QByteArray record = file.readAll();
  const auto put = [&](std::size_t offset) {
    std::copy(encoding.begin(), encoding.end(), record.begin() + offset);
  };
  put(record::Dt);
  put(record::Parameters + 7 * 10);
  put(record::X);
  put(record::W + 75 * 10);
  record[int(record::Present + 1)] = 2;
  record[int(record::Present + 50)] = char(0xFF);
  file.seek(0);
  file.write(record);
  file.close();

  Start();
  TEditDlg editor(
      *model_, [] { return false; }, '.', form_.get());
  form_->SetEditDlg(&editor);
  OpenDocument(FilePath("hostile.ato"));
  form_->repaint();
  QVERIFY(ErrorTexts().isEmpty());
  QCOMPARE(Text("EditDT"), text);
  QCOMPARE(Text("EditB2"), text);
  QCOMPARE(form_->ListingCell(1, 1), text);
  QVERIFY(model_->Present[2] && model_->Present[51]);
  QCOMPARE(form_->ListingCell(1, 51), QStringLiteral("0"));
  QTest::mouseDClick(Find<QTableWidget>("DaonsTable")->viewport(), Qt::LeftButton, {}, QPoint(10, 10));
  QCOMPARE(form_->ListingCell(3, 76), text);
  // The editor shows it too.
  QString editorDt, editorX;
  QTimer::singleShot(0, &editor, [&] {
    editorDt = editor.findChild<QLineEdit*>(QStringLiteral("EditDT"))->text();
    editorX = editor.findChild<QLineEdit*>(QStringLiteral("EditX"))->text();
    editor.reject();
  });
  Find<QAction>("New1")->trigger();
  QCOMPARE(editorDt, text);
  QCOMPARE(editorX, text);

  // Saved back as read.
  Find<QAction>("Save1")->trigger();
  QVERIFY(file.open(QIODevice::ReadOnly));
  QVERIFY(file.readAll() == record);
  file.close();

  // A run steps as the core does; a fault is reported once and leaves "Stop".
  QString fault;
  RunAsTheCore(3, fault);
  if (QTest::currentTestFailed()) return;
  QCOMPARE(Find<QPushButton>("Go")->text(), fault.isEmpty() ? QStringLiteral("Go") : QStringLiteral("Stop"));
  QCOMPARE(model_->Stopped, fault.isEmpty());
  form_->repaint();
  QCOMPARE(ErrorTexts().size(), fault.isEmpty() ? 0 : 1);
}

// Any 6296 bytes are a scene: random records open without an error, list every present slot,
// run a step as the core does, and save back byte for byte.
void MainFormHostileTest::randomDocumentsOpenRunAndSave() {
  Start();
  QRandomGenerator random(20261207);
  for (int document = 0; document < 12; ++document) {
    QByteArray record(int(SnapshotSize), '\0');
    random.fillRange(reinterpret_cast<quint32*>(record.data()), record.size() / 4);
    // A quarter of the flags are zero, so that empty slots are among them.
    for (int n = 0; n < SlotCount; n += 4) record[int(record::Present) + n] = 0;
    QFile file(FilePath("random.ato"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(record);
    file.close();
    DialogProvider::Instance().Reset();
    if (!model_->Stopped) Find<QPushButton>("Go")->click();  // the last document's fault
    OpenDocument(FilePath("random.ato"));
    QCOMPARE(ErrorTexts(), QStringList());
    for (int n = 1; n <= SlotCount; ++n)
      QVERIFY(form_->ListingCell(1, n).isEmpty() == (record[int(record::Present) + n - 1] == 0));
    Find<QAction>("Save1")->trigger();
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY2(file.readAll() == record, QByteArray::number(document));
    file.close();
    QString fault;
    RunAsTheCore(1, fault);
    if (QTest::currentTestFailed()) return;
  }
}

// ---------------------------------------------------------------------------------------------
// A run that faults

// Slots 5 and 6 coincide: the first step divides by zero at slot 5, after slots 1 to 4 were
// advanced in the working arrays. The run ends with one error box however often the window is
// painted or the timer ticks afterwards; "Stop" stays until one click; the next click runs again
// from what the fault left, and so faults again, one step further along in slots 1 to 4.
void MainFormHostileTest::aFaultInARunIsReportedOnceAndTheNextRunGoesOnFromIt() {
  Model scene = Scene();
  Place(scene, 5, 0.0L, 0.5L, 0.0L);
  Place(scene, 6, 0.0L, 0.5L, 0.0L);
  StartWithDocument(scene, QStringLiteral("fault.ato"));
  Find<QCheckBox>("ShowList")->setChecked(true);
  QTest::mouseDClick(Find<QLabel>("LTime"), Qt::LeftButton);  // the time label follows the run
  Find<QAction>("ShowSpin")->trigger();
  Model core = *model_;
  const QString listed = form_->ListingCell(1, 1);
  const QString fields = Text("EditDT") + Text("EditG3");

  QCOMPARE(CoreRun(core, 10), std::string("Floating point division by zero"));
  Run(10);
  QTest::qWait(400);  // a timer tick
  form_->hide();
  form_->show();
  QVERIFY(QTest::qWaitForWindowExposed(form_.get()));
  QCOMPARE(ErrorTexts(), QStringList{QStringLiteral("Floating point division by zero.")});
  QCOMPARE(DialogProvider::Instance().Shown()[0].Caption, QStringLiteral("Velmora"));
  QCOMPARE(Find<QPushButton>("Go")->text(), QStringLiteral("Stop"));
  QVERIFY(!model_->Stopped && !form_->RunInProgress());
  QCOMPARE(FirstDifference(*model_, core), std::string());
  QVERIFY(!SameBits(model_->NewX[1], scene.NewX[1]));  // the fault came after slot 1 moved
  QCOMPARE(model_->StepCount, 0);
  QCOMPARE(Find<QLabel>("LTime")->text(), QStringLiteral("0"));
  QCOMPARE(form_->ListingCell(1, 1), listed);
  QCOMPARE(Text("EditDT") + Text("EditG3"), fields);
  QCOMPARE(model_->DocFileName, StdPath("fault.ato"));

  // One click: idle, nothing else.
  Find<QPushButton>("Go")->click();
  QCOMPARE(Find<QPushButton>("Go")->text(), QStringLiteral("Go"));
  QVERIFY(model_->Stopped);
  QCOMPARE(ErrorTexts().size(), 1);
  QCOMPARE(FirstDifference(*model_, core), std::string());

  // The next: a run from the state the fault left.
  QCOMPARE(CoreRun(core, 10), std::string("Floating point division by zero"));
  Run(10);
  QCOMPARE(ErrorTexts().size(), 2);
  QCOMPARE(FirstDifference(*model_, core), std::string());
  QCOMPARE(Find<QPushButton>("Go")->text(), QStringLiteral("Stop"));
}

// ---------------------------------------------------------------------------------------------
// Number text

void MainFormHostileTest::pastedNumberTextIsRefusedAndTheTimeStepKept_data() {
  QTest::addColumn<QString>("pasted");
  QTest::newRow("very long") << QString(5000, QLatin1Char('7'));
  QTest::newRow("Arabic-Indic digits") << QStringLiteral("\u0661\u0662");
  QTest::newRow("fullwidth digits") << QStringLiteral("\uFF11.\uFF15");
  QTest::newRow("tab") << QStringLiteral("1\t5");
  QTest::newRow("control character") << QStringLiteral("\u00015");
  QTest::newRow("escape") << QStringLiteral("5\u001B");
  QTest::newRow("several separators") << QStringLiteral("1.2.3");
  QTest::newRow("separator pair") << QStringLiteral("1..5");
  QTest::newRow("huge exponent") << QStringLiteral("1E99999");
  QTest::newRow("exponent beyond every integer") << QStringLiteral("1E99999999999999999999999");
  QTest::newRow("markup") << QStringLiteral("<b>1</b>");
}

// Pasting passes the key filter; leaving the field converts the text, refuses it with the
// program's message (as the box shows it: control characters visible, a long text shortened),
// and the time step and the field's text stay.
void MainFormHostileTest::pastedNumberTextIsRefusedAndTheTimeStepKept() {
  QFETCH(QString, pasted);
  StartWithDocument(Scene(), QStringLiteral("scene.ato"));
  Activate();
  QLineEdit* dt = Find<QLineEdit>("EditDT");
  dt->setFocus();
  dt->selectAll();
  QGuiApplication::clipboard()->setText(pasted);
  dt->paste();
  const QString held = dt->text();
  QVERIFY(!held.isEmpty());
  Find<QLineEdit>("EditA2")->setFocus();
  const QString message = QStringLiteral("'%1' is not a valid floating point value").arg(held);
  QCOMPARE(ErrorTexts(), QStringList{ShownMessage(ErrorBoxText(message))});
  QVERIFY(SameBits(model_->dt, 0.002L));
  QCOMPARE(dt->text(), held);
}

// ---------------------------------------------------------------------------------------------
// Comment files

void MainFormHostileTest::commentFilesOfAnyContent_data() {
  QTest::addColumn<QByteArray>("file");
  QTest::addColumn<QString>("memo");      // the memo after opening
  QTest::addColumn<QString>("error");     // the error box after opening, or none
  QTest::addColumn<QByteArray>("saved");  // the file after leaving the memo with Yes
  QTest::newRow("lone CR") << QByteArray("a\rb") << "a\nb"
                           << "" << QByteArray("a\r\nb");
  QTest::newRow("lone LF") << QByteArray("a\nb\n") << "a\nb\n"
                           << "" << QByteArray("a\r\nb\r\n");
  QTest::newRow("mixed line ends") << QByteArray("a\r\n\rb\n\r") << "a\n\nb\n\n"
                                   << "" << QByteArray("a\r\n\r\nb\r\n\r\n");
  QTest::newRow("no final line end") << QByteArray("a\r\nb") << "a\nb"
                                     << "" << QByteArray("a\r\nb");
  QTest::newRow("empty") << QByteArray() << ""
                         << "" << QByteArray();
  const QByteArray utf8("\xEF\xBB\xBF\xD0\x9C\xD0\xB8\xD1\x80\r\n");
  QTest::newRow("UTF-8 with a byte order mark")
      << utf8 << QStringLiteral("\uFEFF\u041C\u0438\u0440\n") << "" << utf8;
  // Not UTF-8: every byte is one character and goes back as it came.
  const QByteArray binary("\x01\x00\x7F\xFF\xFE\x80\xC0z", 8);
  QTest::newRow("binary") << binary << QString::fromLatin1(binary) << "" << binary;
  const QByteArray codePage("\xCC\xE8\xF0 \xE9\xE0\xE4\r\n");  // an 8-bit Cyrillic code page
  QTest::newRow("8-bit code page") << codePage << QString::fromLatin1(codePage).replace("\r\n", "\n") << ""
                                   << codePage;
  // Every byte, the line end as CR LF; the no-break space (A0) among them.
  QByteArray everyByte;
  for (int byte = 0; byte < 256; ++byte)
    if (byte != '\r') everyByte += byte == '\n' ? QByteArray("\r\n") : QByteArray(1, char(byte));
  QTest::newRow("every byte") << everyByte << QString::fromLatin1(everyByte).replace("\r\n", "\n") << ""
                              << everyByte;
  // Characters that a text document takes as line or paragraph ends, or shows as others.
  const QString separators = QStringLiteral("a\u00A0b\u2028c\u2029d\uFDD0e\uFDD1f\u2029\u2029\n\u00A0");
  const QByteArray separatorFile = separators.toUtf8().replace("\n", "\r\n");
  QTest::newRow("separators and no-break spaces") << separatorFile << separators << "" << separatorFile;
  // Refused: the memo keeps its text, nothing counts as changed, and leaving writes nothing.
  const QByteArray large(int(MemoCapacity) + 1, 'x');
  QTest::newRow("larger than the memo") << large << "No Comment"
                                        << "Text exceeds memo capacity." << large;
  const QByteArray lineEnds(int(MemoCapacity) / 2 + 1, '\n');
  QTest::newRow("line ends make it too large") << lineEnds << "No Comment"
                                               << "Text exceeds memo capacity." << lineEnds;
}

// The document opens whatever its comment file holds; the memo shows the text with its lines,
// and leaving it after an edit writes the text back with CR LF line ends.
void MainFormHostileTest::commentFilesOfAnyContent() {
  QFETCH(QByteArray, file);
  QFETCH(QString, memo);
  QFETCH(QString, error);
  QFETCH(QByteArray, saved);
  Start();
  Activate();
  Model scene = Scene();
  WriteDocumentFile(scene, StdPath("c.ato"));
  QFile comment(FilePath("c.txt"));
  QVERIFY(comment.open(QIODevice::WriteOnly));
  comment.write(file);
  comment.close();
  OpenDocument(FilePath("c.ato"));
  QCOMPARE(ErrorTexts(), error.isEmpty() ? QStringList() : QStringList{error});
  QVERIFY(SameArrays(model_->X, scene.X));
  auto* memoControl = Find<QPlainTextEdit>("Comment");
  QCOMPARE(MemoText(*memoControl), memo);
  QVERIFY(!form_->CommentChanged());
  Find<QTabWidget>("PageControl")->setCurrentIndex(1);
  memoControl->setFocus();
  if (error.isEmpty()) {  // a character typed and taken back: a change that leaves the text
    QTest::keyClicks(memoControl, QStringLiteral("x"));
    QTest::keyClick(memoControl, Qt::Key_Backspace);
  }
  DialogProvider::Instance().SetNextAnswer(true);
  Find<QLineEdit>("EditA2")->setFocus();
  QVERIFY(comment.open(QIODevice::ReadOnly));
  QVERIFY(comment.readAll() == saved);
}

// A comment read byte for byte stays 8-bit while its characters allow; a character beyond them
// (here the euro sign) makes the file UTF-8 rather than lose it.
void MainFormHostileTest::anEightBitCommentGoesToUtf8OnceItNeedsTo() {
  Model scene = Scene();
  WriteDocumentFile(scene, StdPath("c.ato"));
  QFile comment(FilePath("c.txt"));
  QVERIFY(comment.open(QIODevice::WriteOnly));
  comment.write("caf\xE9");
  comment.close();
  StartWithDocument(scene, QStringLiteral("c.ato"));
  Activate();
  SaveComment(QStringLiteral("caf\u00E9 \u20AC"));
  QVERIFY(comment.open(QIODevice::ReadOnly));
  QCOMPARE(comment.readAll(), QByteArray("caf\xC3\xA9 \xE2\x82\xAC"));
}

// A new line typed after a paragraph separator starts with a line end and leaves the separator
// before the next line; joining two lines keeps what came before the first.
void MainFormHostileTest::memoEditsKeepTheSeparatorsAroundThem() {
  QPlainTextEdit memo;
  SetMemoText(memo, QStringLiteral("a\u2029b\nc"));
  QTextCursor cursor(memo.document());
  cursor.setPosition(1);
  cursor.insertBlock();
  cursor.insertText(QStringLiteral("x"));
  QCOMPARE(MemoText(memo), QStringLiteral("a\nx\u2029b\nc"));
  cursor.deleteChar();
  QCOMPARE(MemoText(memo), QStringLiteral("a\nxb\nc"));
}

// ---------------------------------------------------------------------------------------------
// Start files and documents that are no files

// Start-up as each start file and remembered document finds them: the window always opens,
// stopped, with its view steps set; an error box comes only where a file broke off or could
// not be made. Files that may not be read are tried as an ordinary user.
void MainFormHostileTest::startFilesAndDocumentsThatAreNoFiles() {
  const QString startFile = QString::fromStdString(StartFilePath());
  const QString startFolder = QFileInfo(startFile).absolutePath();
  const QFile::Permissions readable = QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther;
  const QString easySquare = QStringLiteral("The easy square");
  const struct Case {
    const char* name;
    std::function<void()> prepare;
    bool unprivileged;
    QString error;      // the one error box, or none
    QString shownName;  // FName's text
    bool spiral;
    QString dt;
  } cases[] = {
      {"missing start file", [] {}, false, {}, QStringLiteral("File Name"), true, "0.001"},
      {"empty start file", [] { WriteStartFile({}); }, false, {}, QStringLiteral("File Name"), true, "0.001"},
      {"start file is a folder", [&] { QVERIFY(QDir().mkpath(startFile)); }, false,
       QStringLiteral("File access denied."), QStringLiteral("File Name"), true, "0.001"},
      {"start file cannot be made", [&] { QFile::setPermissions(startFolder, readable); }, true,
       QStringLiteral("File access denied."), QStringLiteral("File Name"), true, "0.001"},
      {"unreadable start file",
       [&] {
         WriteStartFile(StdPath("a.ato"));
         QFile::setPermissions(startFile, {});
       },
       true, QStringLiteral("File access denied."), QStringLiteral("File Name"), true, "0.001"},
      {"document is a folder",
       [this] {
         QVERIFY(QDir().mkpath(FilePath("folder.ato")));
         WriteStartFile(StdPath("folder.ato"));
       },
       false,
       {},
       easySquare,
       false,
       "0.001"},
      {"document is a FIFO",
       [this] {
         QCOMPARE(::mkfifo(StdPath("fifo.ato").c_str(), 0666), 0);
         WriteStartFile(StdPath("fifo.ato"));
       },
       false,
       {},
       easySquare,
       false,
       "0.001"},
      {"document is the null device", [] { WriteStartFile("/dev/null"); }, false,
       QStringLiteral("Read beyond end of file."), easySquare, false, "0.001"},
      {"unreadable document",
       [this] {
         Model scene = Scene();
         WriteDocumentFile(scene, StdPath("locked.ato"));
         QFile::setPermissions(FilePath("locked.ato"), {});
         WriteStartFile(StdPath("locked.ato"));
       },
       true,
       {},
       easySquare,
       false,
       "0.001"},
      {"document is the zero device",
       [] { WriteStartFile("/dev/zero"); },
       false,
       {},
       QStringLiteral("/dev/zero"),
       false,
       "0"},
  };
  for (const Case& c : cases) {
    Cleanup();
    Init();
    c.prepare();
    {
      const UnprivilegedUser user(c.unprivileged);
      Start();
    }
    // The status bar compares the scene with its document every half second.
    if (!c.spiral) QTest::qWait(600);
    const QByteArray name(c.name);
    QVERIFY2(ErrorTexts() == (c.error.isEmpty() ? QStringList() : QStringList{c.error}),
             name + ": " + ErrorTexts().join(QLatin1Char('|')).toUtf8());
    QVERIFY2(Text("FName") == c.shownName, name + ": " + Text("FName").toUtf8());
    QVERIFY2(model_->SpiralShown == c.spiral, name);
    QVERIFY2(Find<QPushButton>("Go")->isEnabled() == !c.spiral, name);
    QVERIFY2(model_->Stopped && SameBits(view_->AngleStep, 0.01L), name);
    QVERIFY2(Text("EditDT") == c.dt, name + ": " + Text("EditDT").toUtf8());
    // Without a document the spiral is built and drawn, its first point red at the centre.
    if (c.spiral)
      QVERIFY2(
          model_->DocFileName == "ThetraSpiral" && Pixel(view_->CentreX, view_->CentreY) == qRgb(255, 0, 0),
          name);
    QFile::setPermissions(startFolder, readable | QFile::WriteOwner);
    QFile::setPermissions(startFile, QFile::ReadOwner | QFile::WriteOwner);
    QDir().rmdir(startFile);
  }
  // The zero device, the last case, gives a scene of zeros with nothing in it; a run does what the
  // core does with it (its zero lengths divide by zero at the first step) and is reported once.
  QVERIFY(std::none_of(model_->Present.begin(), model_->Present.end(), [](bool p) { return p; }));
  QString fault;
  RunAsTheCore(2, fault);
}

// ---------------------------------------------------------------------------------------------
// Failing disks

void MainFormHostileTest::failedSavesKeepTheOldFile_data() {
  QTest::addColumn<bool>("document");  // the document with Save; otherwise the comment with Yes
  QTest::addColumn<QString>("failure");
  QTest::addColumn<QString>("error");
  for (const bool document : {true, false}) {
    const char* file = document ? "document" : "comment";
    QTest::addRow("%s on a full disk", file) << document << "full disk"
                                             << "Disk full.";
    QTest::addRow("%s in a folder that may not be written", file) << document << "locked folder"
                                                                  << "File access denied.";
    QTest::addRow("%s in a missing folder", file) << document << "missing folder"
                                                  << "File not found.";
    QTest::addRow("%s under a name too long", file) << document << "name too long"
                                                    << "Invalid filename.";
  }
}

// The error box shows the platform's text, the file that was there keeps every byte, and
// nothing new is left in its folder.
void MainFormHostileTest::failedSavesKeepTheOldFile() {
  QFETCH(bool, document);
  QFETCH(QString, failure);
  QFETCH(QString, error);
  const QString folder = FilePath(failure == QLatin1String("missing folder") ? QStringLiteral("missing")
                                                                             : QStringLiteral("disk"));
  const QString name = failure == QLatin1String("name too long") ? folder + '/' + QString(300, 'n') + ".ato"
                                                                 : folder + QStringLiteral("/a.ato");
  const bool exists = failure == QLatin1String("full disk") || failure == QLatin1String("locked folder");
  QVERIFY(QDir().mkpath(FilePath("disk")));
  if (exists) {
    QFile old(folder + QStringLiteral("/a.txt"));
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write("old comment\r\n");
    old.close();
    StartWithDocument(Scene(), name.mid(files_.path().size() + 1));
  } else {
    // A document whose folder went away, or a name no folder can hold, as the window's name.
    StartWithDocument(Scene(), QStringLiteral("placed.ato"));
    model_->DocFileName = model_->LastDocFileName = name.toStdString();
  }
  Activate();
  const auto bytes = [](const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(none)");
  };
  const QString commentName = QString::fromStdString(CommentFileName(model_->DocFileName));
  const QByteArray oldDocument = bytes(name), oldComment = bytes(commentName);
  const QStringList before = Entries(FilePath("disk"));
  const QStringList topBefore = Entries(files_.path());
  {
    std::optional<FileSizeLimit> limit;
    std::optional<UnprivilegedUser> user;
    if (failure == QLatin1String("full disk")) limit.emplace(1000);
    if (failure == QLatin1String("locked folder")) {
      QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther);
      user.emplace();
    }
    if (document) {
      model_->X[1] = 42.0L;
      QTest::keyClick(form_.get(), Qt::Key_S, Qt::ControlModifier);
    } else {
      SaveComment(QString(2000, 'c'));
    }
  }
  QFile::setPermissions(FilePath("disk"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  QCOMPARE(ErrorTexts(), QStringList{error});
  QVERIFY(bytes(name) == oldDocument);
  QVERIFY(bytes(commentName) == oldComment);
  QCOMPARE(Entries(FilePath("disk")), before);
  QCOMPARE(Entries(files_.path()), topBefore);
}

// Save As writes the document, then the start file; a start file whose folder may not be written
// keeps naming the last document, with nothing left beside it.
void MainFormHostileTest::aStartFileThatCannotBeWrittenKeepsItsName() {
  StartWithDocument(Scene(), QStringLiteral("a.ato"));
  const QString startFolder = QFileInfo(QString::fromStdString(StartFilePath())).absolutePath();
  const QStringList before = Entries(startFolder);
  // The new document goes into a folder everybody may write.
  QVERIFY(QDir().mkpath(FilePath("shared")));
  QVERIFY(QFile::setPermissions(FilePath("shared"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                                        QFile::ReadOther | QFile::WriteOther |
                                                        QFile::ExeOther));
  QFile::setPermissions(startFolder, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther);
  DialogProvider::Instance().SetNextFileName(FilePath("shared/b.ato"));
  {
    const UnprivilegedUser user;
    Find<QAction>("Saveas1")->trigger();
  }
  QFile::setPermissions(startFolder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  QCOMPARE(ErrorTexts(), QStringList{QStringLiteral("File access denied.")});
  QCOMPARE(ReadStartFile(), std::optional<std::string>(StdPath("a.ato")));
  QCOMPARE(Entries(startFolder), before);
  QCOMPARE(QFileInfo(FilePath("shared/b.ato")).size(), qint64{SnapshotSize});
}

QTEST_MAIN(MainFormHostileTest)
#include "MainFormHostileTest.moc"

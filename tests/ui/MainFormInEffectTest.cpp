// What the main window shows is what is in effect: the name field names the file Save writes,
// typed values are stored before any command uses the model, the comment belongs to its
// document, a document that may only be read opens and stays intact, and file errors name the
// file. Offscreen, with the dialogs in test mode.

#include <QAction>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QtTest>

#include "documents/CommentFile.h"
#include "tests/core/TemporaryFolder.h"
#include "tests/ui/MainFormHarness.h"

using namespace velmora;
using namespace velmora::testing;

class MainFormInEffectTest : public QObject, private MainFormHarness {
  Q_OBJECT

 private slots:
  void initTestCase() { InitTestCase(); }
  void init() { Init(); }
  void cleanup() { Cleanup(); }

  void aFailedCommandLeavesTheNameSaveWrites_data();
  void aFailedCommandLeavesTheNameSaveWrites();
  void typedValuesAreStoredBeforeTheCommand_data();
  void typedValuesAreStoredBeforeTheCommand();
  void refusedTextStopsTheCommandUntilCorrected();
  void parameterFieldsShowTheirWholeValueAndFollowTheModel();
  void commentsBelongToTheirDocument();
  void aReadOnlyDocumentOpensAndStaysIntact();

 private:
  const std::vector<ShownDialog>& Shown() const { return DialogProvider::Instance().Shown(); }
  // Types `text` into the field in place of what it shows, as a user does.
  void Type(const char* field, const QString& text) {
    QLineEdit* edit = Find<QLineEdit>(field);
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, text);
  }
  void Trigger(const char* action) { Find<QAction>(action)->trigger(); }
  real DocumentValue(const QString& name, int index) const {
    Model reread;
    reread.N = SlotCount;
    ReadDocumentFile(reread, StdPath(name));
    ApplySnapshot(reread);
    return index < 0 ? reread.dt : Parameter(reread, index);
  }
  bool Framed(const char* field) const {
    const QImage look = Find<QLineEdit>(field)->grab().toImage();
    return look.pixel(0, look.height() / 2) == qRgb(255, 0, 0);
  }
};

// Save As into a folder that does not exist, and Open of a missing file: the error box says why
// and names the file; the name field and Save still mean the document of before.
void MainFormInEffectTest::aFailedCommandLeavesTheNameSaveWrites_data() {
  QTest::addColumn<QString>("action");
  QTest::newRow("Save As") << QStringLiteral("Saveas1");
  QTest::newRow("Open") << QStringLiteral("Open1");
}

void MainFormInEffectTest::aFailedCommandLeavesTheNameSaveWrites() {
  QFETCH(QString, action);
  StartWithDocument(Scene(), QStringLiteral("a.ato"));
  const QString missing = FilePath(QStringLiteral("nosuch/b.ato"));
  DialogProvider::Instance().SetNextFileName(missing);
  Trigger(qPrintable(action));
  QCOMPARE(Shown().back().Text, QStringLiteral("File not found."));
  QCOMPARE(Shown().back().Detail, missing);
  QCOMPARE(Text("FName"), FilePath(QStringLiteral("a.ato")));
  QVERIFY(QFile::remove(FilePath(QStringLiteral("a.ato"))));
  Activate();
  QTest::keyClick(form_.get(), Qt::Key_S, Qt::ControlModifier);
  QVERIFY(QFileInfo::exists(FilePath(QStringLiteral("a.ato"))));
}

// Text typed into a field and not left: Return stores it, and so does every command that reads
// or writes the model before it does anything else. -1 stands for the time step.
void MainFormInEffectTest::typedValuesAreStoredBeforeTheCommand_data() {
  QTest::addColumn<QString>("field");
  QTest::addColumn<int>("index");
  QTest::addColumn<QString>("command");
  QTest::newRow("dt, Return") << "EditDT" << -1 << "Return";
  QTest::newRow("dt, Ctrl+S") << "EditDT" << -1 << "Save1";
  QTest::newRow("B2, Return") << "EditB2" << 7 << "Return";
  QTest::newRow("G3, Save As") << "EditG3" << 17 << "Saveas1";
  QTest::newRow("A1, Go") << "EditA1" << 0 << "Go";
  QTest::newRow("F1, Export Picture") << "EditF1" << 4 << "ExportPicture1";
  QTest::newRow("D3, New") << "EditD3" << 15 << "New1";
  QTest::newRow("C1, Exit") << "EditC1" << 2 << "Exit1";
}

void MainFormInEffectTest::typedValuesAreStoredBeforeTheCommand() {
  QFETCH(QString, field);
  QFETCH(int, index);
  QFETCH(QString, command);
  StartWithDocument(Scene(), QStringLiteral("a.ato"));
  Activate();
  Type(qPrintable(field), QStringLiteral("0.5"));
  DialogProvider::Instance().SetNextFileName(FilePath(QStringLiteral("b.ato")));
  if (command == QLatin1String("Return"))
    QTest::keyClick(Find<QLineEdit>(qPrintable(field)), Qt::Key_Return);
  else if (command == QLatin1String("Go"))
    Run(1);
  else if (command == QLatin1String("Save1"))
    QTest::keyClick(Find<QLineEdit>(qPrintable(field)), Qt::Key_S, Qt::ControlModifier);
  else
    Trigger(qPrintable(command));
  QVERIFY(SameBits(index < 0 ? model_->dt : Parameter(*model_, index), 0.5L));
  QVERIFY(!Find<QLineEdit>(qPrintable(field))->isModified());
  if (command == QLatin1String("Save1"))
    QVERIFY(SameBits(DocumentValue(QStringLiteral("a.ato"), index), 0.5L));
  if (command == QLatin1String("Saveas1"))
    QVERIFY(SameBits(DocumentValue(QStringLiteral("b.ato"), index), 0.5L));
}

// Refused text: the error box, the command does not run, the text stays selected in a red frame
// until a value is stored; Escape brings back the model's value.
void MainFormInEffectTest::refusedTextStopsTheCommandUntilCorrected() {
  StartWithDocument(Scene(), QStringLiteral("a.ato"));
  Activate();
  QVERIFY(QFile::remove(FilePath(QStringLiteral("a.ato"))));
  Type("EditC2", QStringLiteral("1-2"));
  QTest::keyClick(form_.get(), Qt::Key_S, Qt::ControlModifier);
  QCOMPARE(Shown().back().Text, QStringLiteral("'1-2' is not a valid floating point value."));
  QVERIFY(!QFileInfo::exists(FilePath(QStringLiteral("a.ato"))));  // Save did not run
  QLineEdit* c2 = Find<QLineEdit>("EditC2");
  QVERIFY(c2->hasFocus());
  QCOMPARE(c2->selectedText(), QStringLiteral("1-2"));
  QVERIFY(Framed("EditC2"));
  Find<QLineEdit>("EditA2")->setFocus();  // leaving reports it again and comes back
  QCOMPARE(Shown().size(), std::size_t{2});
  QVERIFY(c2->hasFocus() && Framed("EditC2"));
  QTest::keyClick(c2, Qt::Key_Escape);
  QCOMPARE(c2->text(), QStringLiteral("5"));
  QVERIFY(!Framed("EditC2"));
  Type("EditC2", QStringLiteral("1-2"));
  QTest::keyClick(c2, Qt::Key_Return);
  QVERIFY(Framed("EditC2"));
  Type("EditC2", QStringLiteral("6"));
  QTest::keyClick(c2, Qt::Key_Return);
  QVERIFY(!Framed("EditC2"));
  QVERIFY(SameBits(model_->C2, 6.0L));
  QCOMPARE(Shown().size(), std::size_t{3});
}

// The narrow parameter fields: a tooltip with the whole value, the whole text in view while
// editing, and the values in force after every command that changes them (F5 at a first start).
void MainFormInEffectTest::parameterFieldsShowTheirWholeValueAndFollowTheModel() {
  Start();
  Activate();
  QCOMPARE(Text("EditB3"), QStringLiteral("0"));
  Trigger("Daons1");  // the easy square and its parameters
  QCOMPARE(Text("EditB3"), QStringLiteral("2.718"));
  QCOMPARE(Text("EditG1"), QStringLiteral("30"));
  for (const char* name : {"EditB1", "EditB3"}) {
    QLineEdit* field = Find<QLineEdit>(name);
    QCOMPARE(field->toolTip(), QStringLiteral("2.718"));
    const QRect place = field->geometry();
    QCOMPARE(place.width(), 25);
    field->setFocus();
    Type(name, QStringLiteral("2.71828182845905"));
    QVERIFY(field->width() > field->fontMetrics().horizontalAdvance(field->text()));
    QVERIFY(field->geometry().right() < field->parentWidget()->width());
    Find<QLineEdit>("EditDT")->setFocus();
    QCOMPARE(field->geometry(), place);
    QCOMPARE(field->cursorPosition(), 0);  // narrow again, its leading digits in view
    QCOMPARE(field->toolTip(), QStringLiteral("2.71828182845905"));
  }
}

// A document without a comment file has an empty comment; the question comes only after the
// user's change, also when the window is closed.
void MainFormInEffectTest::commentsBelongToTheirDocument() {
  WriteCommentFile(StdPath("a.txt"), "about a");
  WriteScene(OtherScene(), QStringLiteral("b.ato"));
  StartWithDocument(Scene(), QStringLiteral("a.ato"));
  Activate();
  auto* comment = Find<QPlainTextEdit>("Comment");
  Find<QTabWidget>("PageControl")->setCurrentIndex(1);
  QCOMPARE(comment->toPlainText(), QStringLiteral("about a"));
  comment->setFocus();
  Find<QLineEdit>("EditA2")->setFocus();
  QVERIFY(Shown().empty());  // loaded, not changed
  DialogProvider::Instance().SetNextFileName(FilePath(QStringLiteral("b.ato")));
  Trigger("Open1");
  QCOMPARE(comment->toPlainText(), QString());
  comment->setFocus();
  QTest::keyClicks(comment, QStringLiteral("about b"));
  DialogProvider::Instance().SetNextAnswer(true);
  QVERIFY(form_->close());
  QCOMPARE(Shown().back().Text, QStringLiteral("The text was changed. Save now?"));
  QCOMPARE(ReadBytes(StdPath("b.txt")), std::string("about b"));
  QCOMPARE(ReadBytes(StdPath("a.txt")), std::string("about a"));
}

// A document the user may only read opens; Save reports the refusal naming the file and leaves
// it as it was; Save As writes the scene elsewhere.
void MainFormInEffectTest::aReadOnlyDocumentOpensAndStaysIntact() {
  const QString folder = FilePath(QStringLiteral("shared"));
  QVERIFY(QDir().mkpath(folder));
  QFile::setPermissions(folder, QFile::Permissions(0x7777));
  const QString name = QStringLiteral("shared/ro.ato");
  WriteScene(OtherScene(), name);
  QFile::setPermissions(FilePath(name), QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
  const std::string bytes = ReadBytes(StdPath(name));
  Start();
  // Open and Save As remember the document in the start file, which the ordinary user may write.
  const QString startFile = QString::fromStdString(StartFilePath());
  QFile::setPermissions(QFileInfo(startFile).absolutePath(), QFile::Permissions(0x7777));
  QFile::setPermissions(startFile, QFile::Permissions(0x6666));
  UnprivilegedUser nobody;
  DialogProvider::Instance().SetNextFileName(FilePath(name));
  Trigger("Open1");
  QVERIFY(ErrorTexts().isEmpty());
  QVERIFY(model_->Present[9]);
  model_->X[9] = 4.0L;
  Trigger("Save1");
  QCOMPARE(ErrorTexts(), QStringList{QStringLiteral("File access denied.")});
  QCOMPARE(Shown().back().Detail, FilePath(name));
  QCOMPARE(ReadBytes(StdPath(name)), bytes);
  DialogProvider::Instance().SetNextFileName(FilePath(QStringLiteral("shared/copy.ato")));
  Trigger("Saveas1");
  QCOMPARE(ErrorTexts().size(), 1);
  QCOMPARE(Text("FName"), FilePath(QStringLiteral("shared/copy.ato")));
  QVERIFY(SameBits(DocumentValue(QStringLiteral("shared/copy.ato"), -1), OtherScene().dt));
}

QTEST_MAIN(MainFormInEffectTest)
#include "MainFormInEffectTest.moc"

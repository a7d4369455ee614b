// The dialog provider's test mode and the one error report: the error box's text rule, the
// queued answers, and exceptions from a guarded handler reaching the error box once.

#include <QtTest>

#include <stdexcept>

#include "model/ProgramError.h"
#include "ui/DialogProvider.h"
#include "ui/ErrorReport.h"

using namespace velmora;

class DialogProviderTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { DialogProvider::Instance().EnableTestMode(); }
  void init() { DialogProvider::Instance().Reset(); }

  void errorBoxTextAppendsAPointAfterCharactersAboveIt_data();
  void errorBoxTextAppendsAPointAfterCharactersAboveIt();
  void queuedAnswersAreUsedInOrder();
  void guardedHandlersReportTheirExceptionAndCarryOn();
};

void DialogProviderTest::errorBoxTextAppendsAPointAfterCharactersAboveIt_data() {
  QTest::addColumn<QString>("message");
  QTest::addColumn<QString>("shown");
  QTest::newRow("letter") << "File not found" << "File not found.";
  QTest::newRow("point") << "Done." << "Done.";
  QTest::newRow("quote") << "'abc' is not a valid floating point value" << "'abc' is not a valid floating point value.";
  QTest::newRow("minus (45)") << "a-" << "a-";
  QTest::newRow("slash (47)") << "a/" << "a/.";
  QTest::newRow("digit") << "I/O error 13" << "I/O error 13.";
  QTest::newRow("exclamation (33)") << "Stop!" << "Stop!";
  QTest::newRow("closing parenthesis (41)") << "(x)" << "(x)";
  QTest::newRow("blank") << "x " << "x ";
  QTest::newRow("empty") << "" << "";
  QTest::newRow("non-ASCII") << QStringLiteral("\u00e9") << QStringLiteral("\u00e9.");
}

void DialogProviderTest::errorBoxTextAppendsAPointAfterCharactersAboveIt() {
  QFETCH(QString, message);
  QFETCH(QString, shown);
  QCOMPARE(ErrorBoxText(message), shown);
}

void DialogProviderTest::queuedAnswersAreUsedInOrder() {
  DialogProvider& dialogs = DialogProvider::Instance();
  dialogs.SetNextFileName(QStringLiteral("/a.ato"));
  dialogs.SetNextFileName(std::nullopt);
  QCOMPARE(dialogs.OpenFileName(nullptr), std::optional<QString>(QStringLiteral("/a.ato")));
  QCOMPARE(dialogs.SaveFileName(nullptr), std::optional<QString>());
  QCOMPARE(dialogs.SaveFileName(nullptr), std::optional<QString>());  // nothing queued: cancelled
  dialogs.SetNextAnswer(true);
  QVERIFY(dialogs.Confirm(nullptr, QStringLiteral("Sure?")));
  QVERIFY(!dialogs.Confirm(nullptr, QStringLiteral("Again?")));  // nothing queued: No
  dialogs.ShowInformation(nullptr, QStringLiteral("The start File not found."));
  const auto& shown = dialogs.Shown();
  QCOMPARE(shown.size(), std::size_t{6});
  QCOMPARE(shown[0].Kind, DialogKind::OpenFile);
  QCOMPARE(shown[1].Kind, DialogKind::SaveFile);
  QCOMPARE(shown[3].Kind, DialogKind::Confirmation);
  QCOMPARE(shown[3].Caption, QStringLiteral("Confirm"));
  QCOMPARE(shown[3].Text, QStringLiteral("Sure?"));
  QCOMPARE(shown[5].Kind, DialogKind::Information);
  QCOMPARE(shown[5].Caption, QStringLiteral("Information"));
  QCOMPARE(shown[5].Text, QStringLiteral("The start File not found."));  // information text as given
}

void DialogProviderTest::guardedHandlersReportTheirExceptionAndCarryOn() {
  int reached = 0;
  Guarded([&] {
    ++reached;
    throw IoError(5, "File access denied");
    ++reached;
  });
  Guarded([&] { ++reached; });
  Guarded([] { throw std::runtime_error("Disk full"); });
  QCOMPARE(reached, 2);
  const auto& shown = DialogProvider::Instance().Shown();
  QCOMPARE(shown.size(), std::size_t{2});
  QCOMPARE(shown[0].Kind, DialogKind::Error);
  QCOMPARE(shown[0].Caption, QStringLiteral("Velmora"));
  QCOMPARE(shown[0].Text, QStringLiteral("File access denied."));
  QCOMPARE(shown[1].Text, QStringLiteral("Disk full."));
}

QTEST_MAIN(DialogProviderTest)
#include "DialogProviderTest.moc"

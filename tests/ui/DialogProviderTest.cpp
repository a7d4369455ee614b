// The one error report: the error box's text rule, and exceptions from a guarded handler
// reaching the error box once while the program carries on.

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

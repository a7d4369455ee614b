// The one error report: the error box's text rule, and exceptions from a guarded handler
// reaching the error box once while the program carries on.

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <QtTest>
#include <stdexcept>

#include "model/ProgramError.h"
#include "ui/common/DialogProvider.h"
#include "ui/common/ErrorReport.h"

using namespace velmora;

class DialogProviderTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { DialogProvider::Instance().EnableTestMode(); }
  void init() { DialogProvider::Instance().Reset(); }

  void errorBoxTextAppendsAPointAfterCharactersAboveIt_data();
  void errorBoxTextAppendsAPointAfterCharactersAboveIt();
  void guardedHandlersReportTheirExceptionAndCarryOn();
  void shownMessagesMakeControlsVisibleAndFitTheScreen_data();
  void shownMessagesMakeControlsVisibleAndFitTheScreen();
  void boxesShowTheirTextAsPlainText();
};

void DialogProviderTest::errorBoxTextAppendsAPointAfterCharactersAboveIt_data() {
  QTest::addColumn<QString>("message");
  QTest::addColumn<QString>("shown");
  QTest::newRow("letter") << "File not found"
                          << "File not found.";
  QTest::newRow("point") << "Done."
                         << "Done.";
  QTest::newRow("quote") << "'abc' is not a valid floating point value"
                         << "'abc' is not a valid floating point value.";
  QTest::newRow("minus (45)") << "a-"
                              << "a-";
  QTest::newRow("slash (47)") << "a/"
                              << "a/.";
  QTest::newRow("digit") << "I/O error 13"
                         << "I/O error 13.";
  QTest::newRow("exclamation (33)") << "Stop!"
                                    << "Stop!";
  QTest::newRow("closing parenthesis (41)") << "(x)"
                                            << "(x)";
  QTest::newRow("blank") << "x "
                         << "x ";
  QTest::newRow("empty") << ""
                         << "";
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

void DialogProviderTest::shownMessagesMakeControlsVisibleAndFitTheScreen_data() {
  QTest::addColumn<QString>("message");
  QTest::addColumn<QString>("shown");
  QTest::newRow("plain") << "'1.2.3' is not a valid floating point value"
                         << "'1.2.3' is not a valid floating point value";
  QTest::newRow("tab and line end") << QStringLiteral("'1\t5\n'") << QStringLiteral("'1\u24095\u240A'");
  QTest::newRow("NUL, escape and delete")
      << QStringLiteral("a\u0000\u001B\u007F") << QStringLiteral("a\u2400\u241B\u2421");
  QTest::newRow("markup stays text") << "'<b>1</b>'"
                                     << "'<b>1</b>'";
  const QString limit = QString(MessageShownLength, QLatin1Char('x'));
  QTest::newRow("at the limit") << limit << limit;
  const QString head = QString(78, QLatin1Char('h')), tail = QString(78, QLatin1Char('t'));
  QTest::newRow("beyond the limit") << head + QString(5000, QLatin1Char('m')) + tail
                                    << head + QStringLiteral(" \u2026 ") + tail;
}

void DialogProviderTest::shownMessagesMakeControlsVisibleAndFitTheScreen() {
  QFETCH(QString, message);
  QFETCH(QString, shown);
  QCOMPARE(ShownMessage(message), shown);
  DialogProvider::Instance().ShowError(nullptr, message);
  QCOMPARE(DialogProvider::Instance().Shown().back().Text, ShownMessage(ErrorBoxText(message)));
}

// The real boxes, closed by a timer: a message that looks like markup, naming a file that never
// ends, is shown as the characters it has.
void DialogProviderTest::boxesShowTheirTextAsPlainText() {
  DialogProvider& dialogs = DialogProvider::Instance();
  dialogs.DisableTestMode();
  const QString markup = QStringLiteral("'<img src=\"/dev/zero\">' is not a valid floating point value");
  QStringList texts;
  QList<Qt::TextFormat> formats;
  const auto closeTheBox = [&] {
    QTimer::singleShot(0, [&] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (!box) return;
      texts << box->text();
      formats << box->textFormat();
      box->buttons().constFirst()->click();
    });
  };
  closeTheBox();
  dialogs.ShowError(nullptr, markup);
  closeTheBox();
  dialogs.Confirm(nullptr, markup);
  closeTheBox();
  dialogs.ShowInformation(nullptr, markup);
  dialogs.EnableTestMode();
  QCOMPARE(texts, (QStringList{markup + '.', markup, markup}));
  QCOMPARE(formats, (QList<Qt::TextFormat>{Qt::PlainText, Qt::PlainText, Qt::PlainText}));
}

QTEST_MAIN(DialogProviderTest)
#include "DialogProviderTest.moc"

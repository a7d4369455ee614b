// Edit > Undo and Redo in the main window: each command taken back gives the document bytes
// saved before it, and done again those after.

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QToolButton>
#include <QtTest>
#include <functional>
#include <string>

#include "tests/ui/MainFormHarness.h"

using namespace velmora;
using namespace velmora::testing;

class MainFormUndoTest : public QObject, public MainFormHarness {
  Q_OBJECT

 private slots:
  void initTestCase() { InitTestCase(); }
  void init() { Init(); }
  void cleanup() { Cleanup(); }

  void eachCommandUndoneGivesTheBytesBeforeItAndRedoneThoseAfter();

 private:
  std::string SavedBytes(const char* name) {
    const QString path = FilePath(QString::fromLatin1(name));
    Model copy = *model_;
    WriteDocumentFile(copy, path.toStdString());
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return file.readAll().toStdString();
  }
};

void MainFormUndoTest::eachCommandUndoneGivesTheBytesBeforeItAndRedoneThoseAfter() {
  StartWithDocument(Scene(), QStringLiteral("scene.ato"));
  QAction* undo = Find<QAction>("Undo1");
  QAction* redo = Find<QAction>("Redo1");
  QVERIFY(!undo->isEnabled());
  const struct {
    const char* entry;
    std::function<void()> command;
  } commands[] = {
      {"Run of 7 Steps", [&] { Run(7); }},
      {"Zero Velocities", [&] { Find<QToolButton>("Null00")->click(); }},
      {"dt",
       [&] {
         QLineEdit* dt = Find<QLineEdit>("EditDT");
         dt->setText(QStringLiteral("0.125"));
         dt->setModified(true);
         QTest::keyClick(dt, Qt::Key_Return);
       }},
  };
  for (const auto& c : commands) {
    const std::string before = SavedBytes("before.ato");
    c.command();
    const std::string after = SavedBytes("after.ato");
    QVERIFY2(before != after, c.entry);
    QCOMPARE(undo->text(), QStringLiteral("&Undo ") + QString::fromLatin1(c.entry));
    undo->trigger();
    QVERIFY2(SavedBytes("undone.ato") == before, c.entry);
    QCOMPARE(redo->text(), QStringLiteral("&Redo ") + QString::fromLatin1(c.entry));
    redo->trigger();
    QVERIFY2(SavedBytes("redone.ato") == after, c.entry);
  }
}

QTEST_MAIN(MainFormUndoTest)
#include "MainFormUndoTest.moc"

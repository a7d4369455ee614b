// Edit > Undo and Redo in the main window: each command taken back gives the document bytes
// saved before it, and done again those after, whatever the commands before it were.

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <QtTest>
#include <functional>
#include <string>

#include "tests/ui/MainFormHarness.h"
#include "ui/editor/EditDlg.h"
#include "ui/editor/EditorGrid.h"

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
  TEditDlg editor(
      *model_, [this] { return form_->TaoscopeSelected(); }, '.', form_.get());
  form_->SetEditDlg(&editor);
  const auto type = [&](const char* field, const char* text) {
    auto* edit = Find<QLineEdit>(field);
    edit->setText(QString::fromLatin1(text));
    edit->setModified(true);
    QTest::keyClick(edit, Qt::Key_Return);
  };
  const struct {
    const char* entry;
    std::function<void()> command;
  } commands[] = {
      {"Run of 7 Steps", [&] { Run(7); }},
      {"Zero Velocities", [&] { Find<QToolButton>("Null00")->click(); }},
      {"dt", [&] { type("EditDT", "0.125"); }},
      {"A1", [&] { type("EditA1", "1.5"); }},
      {"Editor Changes",
       [&] {
         // The particle stored with "&Yes", then the editor cancelled.
         QTimer::singleShot(0, &editor, [&] {
           editor.findChild<EditorGrid*>(QStringLiteral("DaonsTable"))->Select(1, 5);
           editor.findChild<QLineEdit*>(QStringLiteral("EditX"))->setText(QStringLiteral("2"));
           editor.findChild<QCheckBox*>(QStringLiteral("DaoTrue"))->setChecked(true);
           editor.findChild<QPushButton*>(QStringLiteral("Submit"))->click();
           editor.findChild<QPushButton*>(QStringLiteral("CancelBtn"))->click();
         });
         Find<QAction>("New1")->trigger();
       }},
      {"Taons", [&] { Find<QAction>("Daons1")->trigger(); }},
      {"Relax",
       [&] {
         DialogProvider::Instance().SetNextTexts(QStringList{QStringLiteral("1E-3"), QStringLiteral("50")});
         Find<QAction>("Relax1")->trigger();
       }},
      {"Easy Square",
       [&] {
         WriteStartFile("");
         Find<QAction>("Daons1")->trigger();
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

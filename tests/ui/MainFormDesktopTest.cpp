// Documents opened the desktop's ways: named on the command line, dropped on the window, chosen
// from File > Recent Documents; on the offscreen platform with the dialogs in test mode.

#include <QAction>
#include <QMenu>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QUrl>
#include <QtTest>

#include "documents/CommentFile.h"
#include "documents/RecentDocuments.h"
#include "tests/ui/MainFormHarness.h"

using namespace velmora;
using namespace velmora::testing;

class MainFormDesktopTest : public QObject, private MainFormHarness {
  Q_OBJECT

 private slots:
  void initTestCase() { InitTestCase(); }
  void init() {
    Init();
    QFile::remove(QString::fromStdString(RecentDocumentsPath()));
  }
  void cleanup() { Cleanup(); }

  void aNamedDocumentOpensInPlaceOfTheLastOne_data();
  void aNamedDocumentOpensInPlaceOfTheLastOne();
  void onlyOneDocumentFileIsTakenByADrop_data();
  void onlyOneDocumentFileIsTakenByADrop();
  void aDropAsksTheCommentQuestionBeforeOpening();
  void recentDocumentsNewestFirstAtMostEightAcrossRestarts();
  void aMissingRecentDocumentLeavesTheListWithAMessage();

 private:
  void StartNaming(const QString& document) {
    form_ = std::make_unique<TMainForm>(*model_, *view_, document.toStdString());
    form_->show();
    QVERIFY(QTest::qWaitForWindowExposed(form_.get()));
  }
  void OpenWithDialog(const QString& name) {
    DialogProvider::Instance().SetNextFileName(FilePath(name));
    Find<QAction>("Open1")->trigger();
  }
  // The recent documents as File > Recent Documents shows them when it opens.
  QStringList RecentEntries() {
    QMenu* menu = Find<QMenu>("RecentDocuments");
    emit menu->aboutToShow();
    QStringList names;
    for (QAction* action : menu->actions())
      if (!action->isSeparator() && action->objectName() != QStringLiteral("ClearList"))
        names << action->text();
    return names;
  }
  QStringList Entries(const QStringList& names) {
    QStringList entries;
    for (const QString& name : names)
      entries << QStringLiteral("&%1 %2").arg(entries.size() + 1).arg(FilePath(name));
    return entries;
  }
  // The action the window takes a drag with, as a file manager offers it with Shift held (a move
  // proposed, a copy allowed); IgnoreAction when refused.
  Qt::DropAction Drag(QWidget* target, const QList<QUrl>& urls) {
    QMimeData data;
    data.setUrls(urls);
    const Qt::DropActions offered = Qt::CopyAction | Qt::MoveAction;
    QDragEnterEvent enter(QPoint(5, 5), offered, &data, Qt::LeftButton, Qt::ShiftModifier);
    QApplication::sendEvent(target, &enter);
    if (!enter.isAccepted()) return Qt::IgnoreAction;
    QDropEvent drop(QPointF(5, 5), offered, &data, Qt::LeftButton, Qt::ShiftModifier);
    QApplication::sendEvent(target, &drop);
    return drop.isAccepted() && enter.dropAction() == drop.dropAction() ? drop.dropAction()
                                                                        : Qt::IgnoreAction;
  }
  const std::vector<ShownDialog>& Shown() const { return DialogProvider::Instance().Shown(); }
};

void MainFormDesktopTest::aNamedDocumentOpensInPlaceOfTheLastOne_data() {
  QTest::addColumn<int>("size");  // of the named document; -1: missing
  QTest::addColumn<QString>("error");
  QTest::newRow("readable") << int(SnapshotSize) << QString();
  QTest::newRow("missing") << -1 << QStringLiteral("File not found.");
  QTest::newRow("short") << 100 << QStringLiteral("Read beyond end of file.");
}

// A named document that cannot be read is reported, and start-up loads the last document.
void MainFormDesktopTest::aNamedDocumentOpensInPlaceOfTheLastOne() {
  QFETCH(int, size);
  QFETCH(QString, error);
  WriteScene(Scene(), QStringLiteral("last.ato"));
  WriteStartFile(StdPath("last.ato"));
  QFile named(FilePath("named.ato"));
  named.remove();
  if (size == int(SnapshotSize))
    WriteScene(OtherScene(), QStringLiteral("named.ato"));
  else if (size >= 0)
    QVERIFY(named.open(QIODevice::WriteOnly) && named.write(QByteArray(size, 'x')) == size);
  named.close();
  WriteCommentFile(StdPath("named.txt"), "about the named scene");

  StartNaming(FilePath("named.ato"));
  const bool opened = error.isEmpty();
  QCOMPARE(Shown().empty(), opened);
  if (!opened)
    QVERIFY(Shown().size() == 1 && Shown()[0].Kind == DialogKind::Error && Shown()[0].Text == error);
  const QString shown = FilePath(opened ? "named.ato" : "last.ato");
  QCOMPARE(Text("FName"), shown);
  QCOMPARE(ReadStartFile(), std::optional<std::string>(shown.toStdString()));
  QVERIFY(SameBits(model_->dt, opened ? 0.0005L : 0.002L));
  QCOMPARE(model_->Present[9], opened);
  QCOMPARE(Find<QPlainTextEdit>("Comment")->toPlainText(),
           opened ? QStringLiteral("about the named scene") : QString());
  QCOMPARE(RecentEntries(), opened ? Entries({"named.ato"}) : QStringList());
}

void MainFormDesktopTest::onlyOneDocumentFileIsTakenByADrop_data() {
  QTest::addColumn<QStringList>("files");  // local files in the test folder, or a full URL
  QTest::addColumn<bool>("onComment");
  QTest::addColumn<bool>("openEnabled");
  QTest::addColumn<bool>("taken");
  const QStringList document{"b.ato"};
  QTest::newRow("a document on the scene") << document << false << true << true;
  QTest::newRow("a document on the comment memo") << document << true << true << true;
  QTest::newRow("upper-case extension") << QStringList{"B.ATO"} << false << true << true;
  QTest::newRow("a text file") << QStringList{"b.txt"} << false << true << false;
  QTest::newRow("a text file on the comment memo") << QStringList{"b.txt"} << true << true << false;
  QTest::newRow("two documents") << QStringList{"b.ato", "B.ATO"} << false << true << false;
  QTest::newRow("a remote document") << QStringList{"https://example.org/b.ato"} << false << true << false;
  QTest::newRow("while File > Open is closed") << document << false << false << false;
}

void MainFormDesktopTest::onlyOneDocumentFileIsTakenByADrop() {
  QFETCH(QStringList, files);
  QFETCH(bool, onComment);
  QFETCH(bool, openEnabled);
  QFETCH(bool, taken);
  WriteScene(OtherScene(), QStringLiteral("b.ato"));
  WriteScene(OtherScene(), QStringLiteral("B.ATO"));
  StartWithDocument(Scene(), QStringLiteral("a.ato"));
  Find<QAction>("Open1")->setEnabled(openEnabled);
  QList<QUrl> urls;
  for (const QString& file : files)
    urls << (file.contains(':') ? QUrl(file) : QUrl::fromLocalFile(FilePath(file)));
  auto* comment = Find<QPlainTextEdit>("Comment");
  const QString memo = comment->toPlainText();

  QCOMPARE(Drag(onComment ? comment->viewport() : static_cast<QWidget*>(form_.get()), urls),
           taken ? Qt::CopyAction : Qt::IgnoreAction);
  QCoreApplication::processEvents();
  QCOMPARE(Text("FName"), FilePath(taken ? files.front() : QStringLiteral("a.ato")));
  QCOMPARE(model_->Present[9], taken);
  QCOMPARE(comment->toPlainText(), memo);  // a file is never taken as text
  QVERIFY(Shown().empty());
}

// The question comes first, so the edited comment goes to the file of the document it was
// written for.
void MainFormDesktopTest::aDropAsksTheCommentQuestionBeforeOpening() {
  WriteScene(OtherScene(), QStringLiteral("b.ato"));
  StartWithDocument(Scene(), QStringLiteral("a.ato"));
  Find<QPlainTextEdit>("Comment")->setPlainText(QStringLiteral("about a"));
  DialogProvider::Instance().SetNextAnswer(true);
  QCOMPARE(Drag(form_.get(), {QUrl::fromLocalFile(FilePath("b.ato"))}), Qt::CopyAction);
  QTRY_COMPARE(Text("FName"), FilePath("b.ato"));
  QVERIFY(Shown().size() == 1 && Shown()[0].Kind == DialogKind::Confirmation);
  QCOMPARE(ReadCommentFile(StdPath("a.txt")), std::optional<std::string>("about a"));
  QVERIFY(!form_->CommentChanged());
}

void MainFormDesktopTest::recentDocumentsNewestFirstAtMostEightAcrossRestarts() {
  Start();
  QCOMPARE(RecentEntries(), QStringList());
  QVERIFY(!Find<QAction>("ClearList")->isEnabled());
  for (int n = 0; n < 10; ++n) {
    WriteScene(Scene(), QStringLiteral("d%1.ato").arg(n));
    OpenWithDialog(QStringLiteral("d%1.ato").arg(n));
  }
  DialogProvider::Instance().SetNextFileName(FilePath("saved.ato"));
  Find<QAction>("Saveas1")->trigger();
  OpenWithDialog(QStringLiteral("d5.ato"));  // moves up, not in twice
  Find<QAction>("Save1")->trigger();
  const QStringList expected{"d5.ato", "saved.ato", "d9.ato", "d8.ato",
                             "d7.ato", "d6.ato",    "d4.ato", "d3.ato"};
  QCOMPARE(RecentEntries(), Entries(expected));

  // Kept for the next start, as a plain text file, one name a line.
  Cleanup();
  Init();
  Start();
  QCOMPARE(RecentEntries(), Entries(expected));
  QFile file(QString::fromStdString(RecentDocumentsPath()));
  QVERIFY(file.open(QIODevice::ReadOnly));
  QStringList lines;
  for (const QString& name : expected) lines << FilePath(name);
  QCOMPARE(QString::fromUtf8(file.readAll()), lines.join('\n') + '\n');

  // An entry opens its document.
  Find<QMenu>("RecentDocuments")->actions().at(3)->trigger();
  QCOMPARE(Text("FName"), FilePath("d8.ato"));
  QCOMPARE(RecentEntries().first(), Entries({"d8.ato"}).first());

  Find<QAction>("ClearList")->trigger();
  QCOMPARE(RecentEntries(), QStringList());
}

void MainFormDesktopTest::aMissingRecentDocumentLeavesTheListWithAMessage() {
  StartWithDocument(Scene(), QStringLiteral("a.ato"));
  WriteScene(OtherScene(), QStringLiteral("gone.ato"));
  OpenWithDialog(QStringLiteral("gone.ato"));
  OpenWithDialog(QStringLiteral("a.ato"));
  QVERIFY(QFile::remove(FilePath("gone.ato")));
  DialogProvider::Instance().Reset();
  QCOMPARE(RecentEntries(), Entries({"a.ato", "gone.ato"}));
  Find<QMenu>("RecentDocuments")->actions().at(1)->trigger();
  QVERIFY(Shown().size() == 1 && Shown()[0].Kind == DialogKind::Information);
  QVERIFY(Shown()[0].Text.contains(FilePath("gone.ato")));
  QCOMPARE(RecentEntries(), Entries({"a.ato"}));
  QCOMPARE(Text("FName"), FilePath("a.ato"));  // nothing was opened
}

QTEST_MAIN(MainFormDesktopTest)
#include "MainFormDesktopTest.moc"

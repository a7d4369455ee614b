// File > New: the main window shows the editor dialog modally and, when it closes with OK, comes
// back to the particle scene as the editor left it; closed otherwise, it shows what was stored. The editor is
// driven from a timer that fires inside its modal loop, as a user's clicks would.

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <QtTest>
#include <functional>
#include <memory>

#include "tests/ui/MainFormHarness.h"
#include "ui/editor/EditDlg.h"
#include "ui/editor/EditorGrid.h"

using namespace velmora;
using namespace velmora::testing;

class EditDlgNewTest : public QObject, private MainFormHarness {
  Q_OBJECT

 private slots:
  void initTestCase() { InitTestCase(); }
  void init();
  void cleanup();

  void cancelKeepsStoredParticlesAndShowsThem();
  void okBringsTheWindowToTheEditedScene();
  void f2OpensTheEditorModally();
  void theEditorHoldsARunUntilItCloses();

 private:
  // Opens the editor with File > New; `inside` runs while it is open.
  void New(const std::function<void()>& inside);
  // In the editor: particle `slot` at x = `x`, stored with "&Yes".
  void StoreParticle(int slot, const char* x);
  template <class T>
  T* InEditor(const char* name) const {
    T* control = editor_->findChild<T*>(QString::fromLatin1(name));
    if (!control) qFatal("no control %s", name);
    return control;
  }

  std::unique_ptr<TEditDlg> editor_;
  bool editorWasModal_ = false;
};

// A first start: the spiral figure, "Go" disabled.
void EditDlgNewTest::init() {
  Init();
  Start();
  editor_ = std::make_unique<TEditDlg>(
      *model_, [this] { return form_->TaoscopeSelected(); }, '.', form_.get());
  form_->SetEditDlg(editor_.get());
  QVERIFY(model_->SpiralShown);
  QVERIFY(!Find<QPushButton>("Go")->isEnabled());
}

void EditDlgNewTest::cleanup() {
  editor_.reset();
  Cleanup();
}

void EditDlgNewTest::New(const std::function<void()>& inside) {
  editorWasModal_ = false;
  QTimer::singleShot(0, editor_.get(), [this, inside] {
    editorWasModal_ = editor_->isVisible() && editor_->isModal();
    inside();
  });
  Find<QAction>("New1")->trigger();
  QVERIFY(editorWasModal_);
  QVERIFY(!editor_->isVisible());
}

void EditDlgNewTest::StoreParticle(int slot, const char* x) {
  auto* grid = InEditor<EditorGrid>("DaonsTable");
  grid->Select(1, slot);
  InEditor<QLineEdit>("EditX")->setText(QString::fromLatin1(x));
  InEditor<QCheckBox>("DaoTrue")->setChecked(true);
  InEditor<QPushButton>("Submit")->click();
}

// "&Yes" and "Save As" store at once: the window shows the stored particle, time step and
// parameters however the editor is closed, and a run goes on from them. The spiral stays.
void EditDlgNewTest::cancelKeepsStoredParticlesAndShowsThem() {
  const real figurePoint = model_->ShownX[5];
  New([this] {
    StoreParticle(5, "2");
    InEditor<QPushButton>("CancelBtn")->click();
  });
  QVERIFY(model_->Present[5]);
  QCOMPARE(model_->X[5], 2.0L);
  QVERIFY(model_->SpiralShown);
  QVERIFY(SameBits(model_->ShownX[5], figurePoint));
  QVERIFY(!Find<QPushButton>("Go")->isEnabled());
  QCOMPARE(form_->ListingCell(1, 5), QStringLiteral("2"));
  QCOMPARE(Find<QLineEdit>("FName")->text(), QStringLiteral("File Name"));

  WriteScene(Scene(), QStringLiteral("a.ato"));
  DialogProvider::Instance().SetNextFileName(FilePath(QStringLiteral("a.ato")));
  Find<QAction>("Open1")->trigger();
  New([this] {
    StoreParticle(1, "0.5");
    InEditor<QLineEdit>("EditB1")->setText(QStringLiteral("7"));
    DialogProvider::Instance().SetNextFileName(FilePath(QStringLiteral("copy.ato")));
    InEditor<QPushButton>("Saveas")->click();
    InEditor<QPushButton>("CancelBtn")->click();
  });
  QVERIFY(SameBits(model_->NewX[1], 0.5L) && SameBits(model_->ShownX[1], 0.5L));
  QCOMPARE(form_->ListingCell(1, 1), QStringLiteral("0.5"));
  QCOMPARE(Find<QLineEdit>("EditB1")->text(), QStringLiteral("7"));
  QCOMPARE(PixelOfSlot(1), qRgb(0, 255, 0));
  QCOMPARE(view_->ScreenX[1], view_->CentreX + 30);
}

void EditDlgNewTest::okBringsTheWindowToTheEditedScene() {
  const QString name = FilePath(QStringLiteral("new.ato"));
  model_->StepCount = 17;
  Find<QLabel>("LTime")->setText(QStringLiteral("17"));
  New([this, name] {
    StoreParticle(5, "2");
    StoreParticle(6, "3");
    InEditor<QLineEdit>("EditDT")->setText(QStringLiteral("0.25"));
    InEditor<QLineEdit>("EditB1")->setText(QStringLiteral("7"));
    DialogProvider::Instance().SetNextFileName(name);
    InEditor<QPushButton>("OKBtn")->click();
  });
  QVERIFY(!model_->SpiralShown);
  QVERIFY(Find<QPushButton>("Go")->isEnabled());
  QVERIFY(Find<QToolButton>("Null00")->isEnabled());
  QCOMPARE(Find<QLineEdit>("FName")->text(), name);
  QCOMPARE(model_->StepCount, 0);
  QCOMPARE(Find<QLabel>("LTime")->text(), QStringLiteral("0"));
  QCOMPARE(form_->ListingCell(1, 5), QStringLiteral("2"));
  QCOMPARE(form_->ListingCell(1, 6), QStringLiteral("3"));
  QCOMPARE(Find<QLineEdit>("EditDT")->text(), QStringLiteral("0.25"));
  QCOMPARE(Find<QLineEdit>("EditB1")->text(), QStringLiteral("7"));
  // The drawing reads the display copies, which "OK" brought into line.
  QCOMPARE(model_->ShownX[6], 3.0L);
}

void EditDlgNewTest::f2OpensTheEditorModally() {
  Activate();
  editorWasModal_ = false;
  QTimer::singleShot(0, editor_.get(), [this] {
    editorWasModal_ = editor_->isVisible() && editor_->isModal();
    InEditor<QPushButton>("CancelBtn")->click();
  });
  QTest::keyClick(form_.get(), Qt::Key_F2);
  QVERIFY(editorWasModal_);
}

void EditDlgNewTest::theEditorHoldsARunUntilItCloses() {
  // Two particles away from the empty slots at the origin, and parameters the law can use.
  New([this] {
    StoreParticle(1, "2");
    StoreParticle(2, "3");
    static const char* const values[] = {"1", "1", "2", "3", "4", "5"};
    for (int index = 0; index < ParameterCount; ++index)
      InEditor<QLineEdit>(qPrintable(QStringLiteral("Edit") + QString::fromLatin1(ParameterNames[index])))
          ->setText(QString::fromLatin1(values[index % ParametersPerGroup]));
    DialogProvider::Instance().SetNextFileName(FilePath(QStringLiteral("run.ato")));
    InEditor<QPushButton>("OKBtn")->click();
  });
  QCOMPARE(DialogProvider::Instance().Shown().size(), std::size_t(1));  // the save dialog, no error

  int heldAt = -1;
  bool held = false;
  QTimer::singleShot(0, form_.get(), [&] {
    New([&] {
      heldAt = model_->StepCount;
      QTest::qWait(100);
      held = model_->StepCount == heldAt;
      InEditor<QPushButton>("CancelBtn")->click();
    });
  });
  form_->SetStopAfterSteps(200);
  Find<QPushButton>("Go")->click();
  QVERIFY(heldAt > 0);
  QVERIFY(held);
  QCOMPARE(model_->StepCount, 200);
  QVERIFY(model_->Stopped);
}

QTEST_MAIN(EditDlgNewTest)
#include "EditDlgNewTest.moc"

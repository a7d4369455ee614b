// View > History in the main window: a kept step shown in every part of the window, a run
// resumed from it giving the first run's states bit for bit, play, and the scene coming back
// before any other command.

#include <QAbstractButton>
#include <QAction>
#include <QLabel>
#include <QPainter>
#include <QProgressDialog>
#include <QSlider>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

#include "documents/XyzTrajectory.h"
#include "tests/ui/MainFormHarness.h"
#include "text/Listing.h"
#include "ui/history/HistoryBar.h"
#include "ui/main/LocaleSeparator.h"
#include "ui/main/SceneInstruments.h"
#include "ui/observables/ObservablesChart.h"
#include "ui/observables/ObservablesWindow.h"

using namespace velmora;
using namespace velmora::testing;

class MainFormHistoryTest : public QObject, public MainFormHarness {
  Q_OBJECT

 private slots:
  void initTestCase() { InitTestCase(); }
  void init() { Init(); }
  void cleanup() { Cleanup(); }

  void theBarOpensAfterARunUntilTheUserClosesIt();
  void aRunResumedFromAKeptStepGivesTheKeptStatesAgain();
  void playingShowsEachStepAndACommandBringsTheSceneBack();
  void aTrajectoryPlaysItsWholeFramesAndNamesTheDamagedOne();
  void aMovieIsWholeOrCancelledWithoutTouchingTheTarget();

 private:
  void StartWithHistory() {
    StartWithDocument(Scene(), QStringLiteral("scene.ato"));
    Find<QAction>("History1")->trigger();
    QVERIFY(Find<QWidget>("HistoryBar")->isVisible());
  }
  SceneState Kept(int k) const {
    SceneState state = model_->Scene();
    form_->Run().Ring().RestoreInto(state, k);
    return state;
  }
};

void MainFormHistoryTest::theBarOpensAfterARunUntilTheUserClosesIt() {
  StartWithDocument(Scene(), QStringLiteral("scene.ato"));
  auto* bar = Find<QWidget>("HistoryBar");
  const QImage before = form_->CanvasImage();
  QVERIFY(!bar->isVisible());
  Run(3);
  QVERIFY(bar->isVisible() && Find<QAction>("History1")->isChecked());
  QCOMPARE(form_->CanvasImage().size(), before.size());  // the bar lies over the picture
  // ... on a ground of its own, which its label's black text needs.
  const QPoint corner = bar->mapTo(form_.get(), QPoint(0, 0));
  QVERIFY(form_->grab().toImage().pixel(corner) != qRgb(0, 0, 0));
  Find<QAction>("History1")->trigger();
  Run(3);
  QVERIFY(!bar->isVisible());
}

void MainFormHistoryTest::aRunResumedFromAKeptStepGivesTheKeptStatesAgain() {
  const struct {
    const char* switches;
    std::vector<const char*> checked;
  } cases[] = {{"free", {}}, {"hot contact, blockade and cool", {"HotContact", "Blockade", "Cool"}}};
  for (const auto& c : cases) {
    Init();
    StartWithHistory();
    for (const char* name : c.checked) Find<QAbstractButton>(name)->setChecked(true);
    Find<QAction>("Trails")->trigger();
    Run(10);
    auto* slider = Find<QSlider>("HistorySlider");
    QCOMPARE(slider->maximum(), 10);  // the start and ten steps
    const SceneState last = Kept(10);
    QVERIFY2(last == model_->Scene(), c.switches);

    // The shown step is in the picture's scene, the listing and the time label.
    slider->setValue(4);
    QCOMPARE(model_->StepCount, 4);
    QCOMPARE(Find<QLabel>("LTime")->text(), QStringLiteral("4"));
    QCOMPARE(Find<QLabel>("HistoryStep")->text(), QStringLiteral("Step 4"));
    QVERIFY2(model_->Scene() == Kept(4), c.switches);
    const QString x1 = QString::fromStdString(ListingCells(*model_, 1, false, LocaleDecimalSeparator())[0]);
    QCOMPARE(form_->ListingCell(1, 1), x1);
    Model atEnd;
    atEnd.Scene() = last;
    QVERIFY(x1 != QString::fromStdString(ListingCells(atEnd, 1, false, LocaleDecimalSeparator())[0]));
    // The trails reach from the run's start up to the step shown.
    const TrailRecord& trails = *form_->Instruments()->ShownTrails();
    QCOMPARE(trails.Size(), 5);
    for (int age = 0; age < 5; ++age) QVERIFY(SameBits(trails.Ago(age).Z[1], Kept(4 - age).ShownZ[1]));

    Find<QAbstractButton>("HistoryResume")->click();
    QCOMPARE(Find<QAction>("Undo1")->text(), QStringLiteral("&Undo Resume from Step 4"));
    QCOMPARE(slider->maximum(), 4);
    Run(6);
    QVERIFY2(model_->Scene() == last, c.switches);
    QCOMPARE(slider->maximum(), 10);

    // Undo takes back the run and then the resume: the first run's end, bit for bit.
    Find<QAction>("Undo1")->trigger();
    Find<QAction>("Undo1")->trigger();
    QVERIFY2(model_->Scene() == last, c.switches);
    Cleanup();
  }
}

void MainFormHistoryTest::playingShowsEachStepAndACommandBringsTheSceneBack() {
  StartWithHistory();
  Find<QAction>("Observables1")->trigger();
  // During the run nothing may put another step into the scene it is stepping.
  bool closed = false;
  QTimer::singleShot(0, form_.get(), [&] {
    closed = !Find<QWidget>("HistoryBar")->isEnabled() && !Find<QAction>("OpenTrajectory1")->isEnabled() &&
             !Find<QAction>("ExportMovie1")->isEnabled();
  });
  Run(5);
  QVERIFY(closed);
  QVERIFY(Find<QWidget>("HistoryBar")->isEnabled() && Find<QAction>("ExportMovie1")->isEnabled());
  const SceneState end = model_->Scene();
  auto* slider = Find<QSlider>("HistorySlider");
  auto* play = Find<QToolButton>("HistoryPlay");
  auto* chart = form_->Observables()->findChild<ObservablesChart*>();
  const auto picture = [&] {
    QImage image(400, 300, QImage::Format_RGB32);
    QPainter painter(&image);
    chart->Render(painter, image.size());
    return image;
  };
  const QImage unmarked = picture();
  Find<QToolButton>("HistoryFirst")->click();
  QCOMPARE(model_->StepCount, 0);
  QCOMPARE(chart->MarkedStep(), std::optional<int>(0));
  QVERIFY(picture() != unmarked);
  Find<QToolButton>("HistoryForward")->click();
  QCOMPARE(model_->StepCount, 1);
  play->click();
  QCOMPARE(play->text(), QStringLiteral("Pause"));
  QTRY_COMPARE(slider->value(), 5);
  QTRY_COMPARE(play->text(), QStringLiteral("Play"));
  QVERIFY(model_->Scene() == end);

  // A command changes the scene as it stood, not the step shown.
  Find<QToolButton>("HistoryBack")->click();
  QCOMPARE(model_->StepCount, 4);
  Find<QToolButton>("Null00")->click();
  QCOMPARE(model_->StepCount, 5);
  QCOMPARE(slider->value(), 5);
  QCOMPARE(chart->MarkedStep(), std::nullopt);
  Find<QAction>("Undo1")->trigger();
  QVERIFY(model_->Scene() == end);
}

// Three whole frames, as velmora-batch --xyz writes them after 0, 5 and 10 steps, and a fourth
// that the file ends in.
void MainFormHistoryTest::aTrajectoryPlaysItsWholeFramesAndNamesTheDamagedOne() {
  StartWithDocument(Scene(), QStringLiteral("scene.ato"));
  const SceneState scene = model_->Scene();
  Model moving = Scene();
  std::string text;
  std::vector<Model> frames;
  for (int steps : {0, 5, 5}) {
    CoreRun(moving, steps);
    frames.push_back(moving);
    AppendXyzFrame(text, moving, moving.StepCount);
  }
  text += "4\nStep=15\nCl 1 2 3\n";
  QFile file(FilePath(QStringLiteral("run.xyz")));
  QVERIFY(file.open(QIODevice::WriteOnly));
  file.write(text.data(), static_cast<qint64>(text.size()));
  file.close();

  DialogProvider::Instance().SetNextFileName(file.fileName());
  Find<QAction>("OpenTrajectory1")->trigger();
  QVERIFY(Find<QWidget>("HistoryBar")->isVisible());
  QCOMPARE(ErrorTexts().size(), 1);
  QVERIFY2(ErrorTexts().constFirst().contains(QStringLiteral("frame 4, line 19")),
           qPrintable(ErrorTexts().constFirst()));
  auto* slider = Find<QSlider>("HistorySlider");
  QCOMPARE(slider->maximum(), 2);
  for (int k : {0, 2, 1}) {
    slider->setValue(k);
    QCOMPARE(Find<QLabel>("HistoryStep")->text(), QStringLiteral("Frame %1 of 3").arg(k + 1));
    QCOMPARE(model_->StepCount, frames[k].StepCount);
    for (int slot : {1, 2, 51, 76}) {
      QVERIFY(model_->Present[slot]);
      QVERIFY(SameBits(model_->X[slot], static_cast<real>(static_cast<double>(frames[k].X[slot]))));
      QVERIFY(SameBits(model_->W[slot], static_cast<real>(static_cast<double>(frames[k].W[slot]))));
    }
  }
  // Only looked at: the scene comes back before a command, and a run ends the trajectory.
  Find<QToolButton>("Null00")->click();
  QCOMPARE(model_->StepCount, 0);
  QVERIFY(SameBits(model_->X[1], scene.X[1]));
  Run(2);
  QCOMPARE(slider->maximum(), 2);
  QCOMPARE(Find<QLabel>("HistoryStep")->text(), QStringLiteral("Step 2"));

  // A frame with velocities becomes the scene once the user agrees, as one undo entry; a frame
  // without them cannot.
  const SceneState beforeResume = model_->Scene();
  DialogProvider::Instance().SetNextFileName(file.fileName());
  Find<QAction>("OpenTrajectory1")->trigger();
  slider->setValue(1);
  DialogProvider::Instance().SetNextAnswer(true);
  Find<QAbstractButton>("HistoryResume")->click();
  QCOMPARE(model_->StepCount, 5);
  QVERIFY(SameBits(model_->W[1], static_cast<real>(static_cast<double>(frames[1].W[1]))));
  QCOMPARE(Find<QAction>("Undo1")->text(), QStringLiteral("&Undo Resume from Frame 2"));
  QCOMPARE(Find<QLabel>("HistoryStep")->text(), QStringLiteral("Step 2"));
  Find<QAction>("Undo1")->trigger();
  QVERIFY(model_->Scene() == beforeResume);
  QFile plain(FilePath(QStringLiteral("plain.xyz")));
  QVERIFY(plain.open(QIODevice::WriteOnly));
  plain.write("2\n\nH 0 0 0\nH 1 0 0\n");
  plain.close();
  DialogProvider::Instance().SetNextFileName(plain.fileName());
  Find<QAction>("OpenTrajectory1")->trigger();
  QCOMPARE(Find<QLabel>("HistoryStep")->text(), QStringLiteral("Frame 1 of 1"));
  QVERIFY(!Find<QWidget>("HistoryResume")->isEnabled());

  // A frame that names one slot twice, met while playing, stops Play with one error box there.
  const std::string crowded =
      "1\n\nH 0 0 0\n2\nProperties=species:S:1:pos:R:3:slot:I:1\nH 0 0 0 1\nH 1 0 0 1\n1\n\nH 1 1 1\n";
  QVERIFY(plain.open(QIODevice::WriteOnly | QIODevice::Truncate));
  plain.write(crowded.data(), static_cast<qint64>(crowded.size()));
  plain.close();
  DialogProvider::Instance().Reset();
  DialogProvider::Instance().SetNextFileName(plain.fileName());
  Find<QAction>("OpenTrajectory1")->trigger();
  auto* play = Find<QToolButton>("HistoryPlay");
  play->click();
  QTRY_COMPARE(play->text(), QStringLiteral("Play"));
  QTest::qWait(200);
  QCOMPARE(ErrorTexts().size(), 1);
  QCOMPARE(model_->StepCount, 0);
}

void MainFormHistoryTest::aMovieIsWholeOrCancelledWithoutTouchingTheTarget() {
  StartWithHistory();
  Run(6);
  const SceneState end = model_->Scene();
  const QString target = FilePath(QStringLiteral("run.gif"));
  const auto writeOld = [&] {
    QFile old(target);
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write("old");
  };
  const auto content = [&] {
    QFile file(target);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  };
  writeOld();
  // Cancelled at the third frame: the older file stays, the frames so far go beside it.
  int frames = 0;
  const auto cancelling = connect(form_->History(), &HistoryBar::SceneShown, form_.get(), [&] {
    if (++frames == 3) form_->findChild<QProgressDialog*>(QStringLiteral("MovieProgress"))->cancel();
  });
  DialogProvider::Instance().SetNextFileName(target);
  DialogProvider::Instance().SetNextAnswer(true);  // replace the older file
  Find<QAction>("ExportMovie1")->trigger();
  disconnect(cancelling);
  QCOMPARE(ErrorTexts(), QStringList());
  QCOMPARE(content(), QByteArray("old"));
  QVERIFY(QFile::exists(FilePath(QStringLiteral("run.partial.gif"))));
  QVERIFY(model_->Scene() == end);

  // Whole: every kept step, and the window shows the step it showed before.
  Find<QSlider>("HistorySlider")->setValue(2);
  DialogProvider::Instance().SetNextFileName(target);
  DialogProvider::Instance().SetNextAnswer(true);
  Find<QAction>("ExportMovie1")->trigger();
  QCOMPARE(ErrorTexts(), QStringList());
  QVERIFY(content().startsWith("GIF8"));
  QCOMPARE(model_->StepCount, 2);
}

QTEST_MAIN(MainFormHistoryTest)
#include "MainFormHistoryTest.moc"

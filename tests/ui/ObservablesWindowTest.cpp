// View > Observables: a window beside the main one that follows a run without changing it,
// draws the picked quantities and exports its record.

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QtTest>

#include "sim/Observables.h"
#include "sim/Stepper.h"
#include "tests/ui/MainFormHarness.h"
#include "text/NumberText.h"
#include "ui/main/WindowPlacement.h"
#include "ui/observables/ObservablesChart.h"
#include "ui/observables/ObservablesWindow.h"

using namespace velmora;
using namespace velmora::testing;

class ObservablesWindowTest : public QObject, private MainFormHarness {
  Q_OBJECT

 private slots:
  void initTestCase() { InitTestCase(); }
  void init() { Init(); }
  void cleanup() { Cleanup(); }

  void f9OpensAWindowThatFollowsTheRunWithoutChangingIt();
  void chartDrawsThePickedQuantitiesAndExportsTheRecord();
  void opensBesideTheMainWindow_data();
  void opensBesideTheMainWindow();

 private:
  ObservablesWindow* OpenObservables() {
    Activate();
    QTest::keyClick(form_.get(), Qt::Key_F9);
    ObservablesWindow* window = form_->Observables();
    if (!window) qFatal("F9 opened no observables window");
    return window;
  }
  int PixelsOf(ObservablesWindow* window, Quantity q) {
    const QImage image = window->findChild<ObservablesChart*>(QStringLiteral("Chart"))->grab().toImage();
    const QRgb colour = ObservablesChart::ColourOf(q).rgb();
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x) count += image.pixel(x, y) == colour;
    return count;
  }
};

void ObservablesWindowTest::f9OpensAWindowThatFollowsTheRunWithoutChangingIt() {
  StartWithDocument(Scene(), QStringLiteral("scene.ato"));
  Find<QCheckBox>("Cool")->setChecked(true);
  ObservablesWindow* window = OpenObservables();
  QVERIFY(window->isVisible());
  QVERIFY(window->isWindow());
  QCOMPARE(window->windowModality(), Qt::NonModal);
  QCOMPARE(window->windowTitle(), QStringLiteral("Observables"));

  // The record begins with the scene as it stands.
  Model scene = *model_;
  const Observables start = Measure(scene, {});
  QCOMPARE(window->Record().Measurements(), 1LL);
  QCOMPARE(window->Record().FirstStep(), 0);
  for (int q = 0; q < QuantityCount; ++q) QVERIFY(SameBits(window->Record().Latest().values.values[q], start.values[q]));

  // The run goes on with the window open and gives the bits the core gives without it.
  Run(60);
  QCOMPARE(model_->StepCount, 60);
  StepSettings cooling;
  cooling.Cool = true;
  QCOMPARE(CoreRun(scene, 60, cooling), std::string());
  QVERIFY(SameArrays(model_->X, scene.X) && SameArrays(model_->V, scene.V) && SameArrays(model_->NewW, scene.NewW));
  QVERIFY(window->Record().Measurements() >= 2);
  QVERIFY(window->Record().LastStep() > 0 && window->Record().LastStep() <= 60);

  QTest::qWait(ObservablesWindow::RedrawMilliseconds * 6);  // the rate's reading draws what the run left
  const real kinetic = window->Record().Latest().values[Quantity::Kinetic];
  QCOMPARE(window->findChild<QLabel*>(QStringLiteral("Value_kinetic"))->text(),
           QString::fromStdString(FormatReal(kinetic, '.')));
  QVERIFY(window->findChild<QLabel*>(QStringLiteral("Rate"))->text().endsWith(QStringLiteral(" steps/s")));
}

void ObservablesWindowTest::chartDrawsThePickedQuantitiesAndExportsTheRecord() {
  StartWithDocument(Scene(), QStringLiteral("scene.ato"));
  ObservablesWindow* window = OpenObservables();
  Run(30);
  QTest::qWait(ObservablesWindow::RedrawMilliseconds * 6);
  QVERIFY(PixelsOf(window, Quantity::Kinetic) > 20);
  QCOMPARE(PixelsOf(window, Quantity::Potential), 0);
  window->findChild<QCheckBox*>(QStringLiteral("Pick_kinetic"))->setChecked(false);
  window->findChild<QCheckBox*>(QStringLiteral("Pick_potential"))->setChecked(true);
  QCOMPARE(PixelsOf(window, Quantity::Kinetic), 0);
  QVERIFY(PixelsOf(window, Quantity::Potential) > 20);

  DialogProvider& dialogs = DialogProvider::Instance();
  dialogs.SetNextFileName(FilePath(QStringLiteral("run.tsv")));
  window->findChild<QPushButton*>(QStringLiteral("ExportTable"))->click();
  QFile table(FilePath(QStringLiteral("run.tsv")));
  QVERIFY(table.open(QIODevice::ReadOnly));
  QCOMPARE(table.readAll().toStdString(), window->Record().Table());
  dialogs.SetNextFileName(FilePath(QStringLiteral("run.png")));
  window->findChild<QPushButton*>(QStringLiteral("ExportPicture"))->click();
  const QImage picture(FilePath(QStringLiteral("run.png")), "PNG");
  QCOMPARE(picture.size(), window->findChild<ObservablesChart*>(QStringLiteral("Chart"))->size());
  // A folder that is not there is the program's file error, in the one error box.
  dialogs.SetNextFileName(FilePath(QStringLiteral("missing/run.tsv")));
  window->findChild<QPushButton*>(QStringLiteral("ExportTable"))->click();
  QCOMPARE(dialogs.Shown().back().Text, QStringLiteral("File not found."));

  window->findChild<QPushButton*>(QStringLiteral("ClearButton"))->click();
  QCOMPARE(window->Record().Measurements(), 1LL);
  QCOMPARE(window->Record().FirstStep(), model_->StepCount);
}

void ObservablesWindowTest::opensBesideTheMainWindow_data() {
  QTest::addColumn<QRect>("screen");
  QTest::addColumn<QRect>("main");
  QTest::addColumn<QPoint>("expected");
  QTest::newRow("room on the right") << QRect(0, 0, 1920, 1080) << QRect(100, 50, 860, 520) << QPoint(960, 50);
  QTest::newRow("right edge exactly reached") << QRect(0, 0, 1360, 1080) << QRect(100, 50, 860, 520) << QPoint(960, 50);
  QTest::newRow("room on the left only") << QRect(0, 0, 1920, 1080) << QRect(1000, 50, 860, 520) << QPoint(600, 50);
  QTest::newRow("no room: the left has more") << QRect(0, 0, 1280, 1024) << QRect(300, 50, 860, 520) << QPoint(0, 50);
  QTest::newRow("no room: the right has more") << QRect(0, 0, 1280, 1024) << QRect(100, 50, 860, 520) << QPoint(880, 50);
  QTest::newRow("low main window: raised to fit") << QRect(0, 0, 1920, 1080) << QRect(0, 900, 860, 520) << QPoint(860, 780);
  QTest::newRow("second screen") << QRect(1920, 0, 1920, 1080) << QRect(1920, 0, 860, 520) << QPoint(2780, 0);
}

void ObservablesWindowTest::opensBesideTheMainWindow() {
  QFETCH(QRect, screen);
  QFETCH(QRect, main);
  QFETCH(QPoint, expected);
  QCOMPARE(PlaceBeside(main, QSize(400, 300), screen), expected);
}

QTEST_MAIN(ObservablesWindowTest)
#include "ObservablesWindowTest.moc"

// View > Observables: a window beside the main one that follows a run without changing it,
// draws the picked quantities and exports its record.

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>
#include <QtTest>
#include <chrono>
#include <climits>
#include <functional>
#include <limits>
#include <thread>

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
  void everyReplacementOfTheSceneStartsANewRecord();
  void chartDrawsAnyRecordWithinThePicture();
  void legendShowsTheMeasurementTheValuesShow();
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
  static QImage ChartImage(ObservablesWindow* window) {
    return window->findChild<ObservablesChart*>(QStringLiteral("Chart"))
        ->grab()
        .toImage()
        .convertToFormat(QImage::Format_RGB32);
  }
  // The pixels of a quantity's colour in the rows from `top` up to `bottom`.
  static int PixelsOf(const QImage& image, Quantity q, int top = 0, int bottom = INT_MAX) {
    const QRgb colour = ObservablesChart::ColourOf(q).rgb();
    int count = 0;
    for (int y = std::max(top, 0); y < std::min(bottom, image.height()); ++y)
      for (int x = 0; x < image.width(); ++x) count += image.pixel(x, y) == colour;
    return count;
  }
  static int PixelsOf(ObservablesWindow* window, Quantity q) { return PixelsOf(ChartImage(window), q); }
  // The rows from `top` down that hold a pixel of a quantity's colour.
  static int RowsOf(const QImage& image, Quantity q, int top) {
    int rows = 0;
    for (int y = top; y < image.height(); ++y) rows += PixelsOf(image, q, y, y + 1) > 0;
    return rows;
  }
  // Whether the image holds a legend entry's mark: 16 x 4 chart pixels of the quantity's colour.
  static bool HasMark(const QImage& image, Quantity q, int scale = 1) {
    const QRgb colour = ObservablesChart::ColourOf(q).rgb();
    const int width = 16 * scale, height = 4 * scale;
    for (int y = 0; y + height <= image.height(); ++y)
      for (int x = 0; x + width <= image.width(); ++x) {
        bool whole = true;
        for (int dy = 0; dy < height && whole; ++dy)
          for (int dx = 0; dx < width && whole; ++dx) whole = image.pixel(x + dx, y + dy) == colour;
        if (whole) return true;
      }
    return false;
  }
};

// Open, F5 and the velocity reset replace the scene under the open window: the record holds the
// new scene alone, measured as it stands.
void ObservablesWindowTest::everyReplacementOfTheSceneStartsANewRecord() {
  const std::pair<const char*, std::function<void()>> replacements[] = {
      {"open",
       [this] {
         DialogProvider::Instance().SetNextFileName(FilePath("b.ato"));
         Find<QAction>("Open1")->trigger();
       }},
      {"taons", [this] { Find<QAction>("Daons1")->trigger(); }},
      {"velocity reset", [this] { Find<QToolButton>("Null00")->click(); }},
  };
  for (const auto& [name, replace] : replacements) {
    Cleanup();
    Init();
    WriteScene(OtherScene(), QStringLiteral("b.ato"));
    StartWithDocument(Scene(), QStringLiteral("a.ato"));
    ObservablesWindow* window = OpenObservables();
    Run(20);
    replace();
    Model scene = *model_;
    const Observables now = Measure(scene, {});
    QVERIFY2(window->Record().Measurements() == 1, name);
    QVERIFY2(window->Record().FirstStep() == model_->StepCount, name);
    for (int q = 0; q < QuantityCount; ++q)
      QVERIFY2(SameBits(window->Record().Latest().values.values[q], now.values[q]), name);
  }
}

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
  for (int q = 0; q < QuantityCount; ++q)
    QVERIFY(SameBits(window->Record().Latest().values.values[q], start.values[q]));

  // The run goes on with the window open and gives the bits the core gives without it.
  Run(60);
  QCOMPARE(model_->StepCount, 60);
  StepSettings cooling;
  cooling.Cool = true;
  QCOMPARE(CoreRun(scene, 60, cooling), std::string());
  QVERIFY(SameArrays(model_->X, scene.X) && SameArrays(model_->V, scene.V) &&
          SameArrays(model_->NewW, scene.NewW));
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

  // Separate scales: kinetic's panel above potential's, each quantity on its own scale.
  window->findChild<QCheckBox*>(QStringLiteral("Pick_kinetic"))->setChecked(true);
  auto* separate = window->findChild<QCheckBox*>(QStringLiteral("SeparateScales"));
  QCOMPARE(separate->text(), QStringLiteral("Separate scales"));
  separate->click();
  const QImage panels = ChartImage(window);
  const int middle = panels.height() / 2;
  QCOMPARE(PixelsOf(panels, Quantity::Kinetic, middle), 0);
  QCOMPARE(PixelsOf(panels, Quantity::Potential, 40, middle), 0);
  // On one scale the two are flat lines; on their own each spans much of its panel.
  QVERIFY(RowsOf(panels, Quantity::Kinetic, 40) > middle / 4);
  QVERIFY(RowsOf(panels, Quantity::Potential, 40) > middle / 4);

  // The picture as the chart shows it, drawn anew at twice and four times the size.
  const QImage shown = ChartImage(window);
  const struct {
    const char* filter;
    int scale;
  } sizes[] = {{"PNG image (*.png)", 1},
               {"PNG image, twice the size (*.png)", 2},
               {"PNG image, four times the size (*.png)", 4}};
  for (const auto& size : sizes) {
    QFile::remove(FilePath(QStringLiteral("run.png")));  // no question of replacing it
    dialogs.SetNextFilter(QString::fromLatin1(size.filter));
    dialogs.SetNextFileName(FilePath(QStringLiteral("run.png")));
    window->findChild<QPushButton*>(QStringLiteral("ExportPicture"))->click();
    const QImage picture =
        QImage(FilePath(QStringLiteral("run.png")), "PNG").convertToFormat(QImage::Format_RGB32);
    QCOMPARE(picture.size(), shown.size() * size.scale);
    if (size.scale == 1)
      QCOMPARE(picture, shown);
    else
      QVERIFY(picture != shown.scaled(picture.size()));
    QVERIFY(HasMark(picture, Quantity::Potential, size.scale));
  }
  dialogs.SetNextFilter(QStringLiteral("SVG drawing (*.svg)"));
  dialogs.SetNextFileName(FilePath(QStringLiteral("run.svg")));
  window->findChild<QPushButton*>(QStringLiteral("ExportPicture"))->click();
  QFile drawing(FilePath(QStringLiteral("run.svg")));
  QVERIFY(drawing.open(QIODevice::ReadOnly));
  QVERIFY(drawing.readAll().contains("<title>Velmora observables</title>"));
  // A folder that is not there is the program's file error, in the one error box.
  dialogs.SetNextFileName(FilePath(QStringLiteral("missing/run.tsv")));
  window->findChild<QPushButton*>(QStringLiteral("ExportTable"))->click();
  QCOMPARE(dialogs.Shown().back().Text, QStringLiteral("File not found."));

  window->findChild<QPushButton*>(QStringLiteral("ClearButton"))->click();
  QCOMPARE(window->Record().Measurements(), 1LL);
  QCOMPARE(window->Record().FirstStep(), model_->StepCount);
}

// Whatever the record holds, the chart paints at once: every quantity with a finite value has its
// mark in the legend, which wraps, and nothing reaches the picture's right margin.
void ObservablesWindowTest::chartDrawsAnyRecordWithinThePicture() {
  constexpr real Largest = std::numeric_limits<real>::max();
  constexpr real Infinity = std::numeric_limits<real>::infinity();
  const struct {
    const char* name;
    std::function<real(int step, int q)> value;
  } rows[] = {
      {"settled",
       [](int step, int q) { return std::nextafter(-355.21L * (q + 1), step % 3 ? 0.0L : -Infinity); }},
      {"near the largest reals",
       [](int step, int q) { return (q % 2 ? Largest : -Largest) / (step % 2 + 1); }},
      {"NaN and infinities",
       [](int step, int q) {
         return step % 3 == 0 ? NAN : step % 3 == 1 ? (q % 2 ? Infinity : -Infinity) : q + step * 1e-3L;
       }},
  };
  std::array<bool, QuantityCount> all;
  all.fill(true);
  for (const auto& row : rows) {
    ChartRecord record;
    for (int step : {1, 2, 3, 10, 1000, 1234567}) {
      Observables values;
      for (int q = 0; q < QuantityCount; ++q) values.values[q] = row.value(step, q);
      record.Add(step, values);
    }
    ObservablesChart chart(record, '.');
    chart.resize(420, 480);
    chart.SetPicked(all);
    chart.ShowLatest();
    for (bool separate : {false, true}) {
      chart.SetSeparate(separate);
      const QImage image = chart.grab().toImage().convertToFormat(QImage::Format_RGB32);
      for (int q = 0; q < QuantityCount; ++q) QVERIFY2(HasMark(image, static_cast<Quantity>(q)), row.name);
      for (int y = 0; y < image.height(); ++y)
        for (int x = image.width() - 4; x < image.width(); ++x)
          QVERIFY2(image.pixel(x, y) == qRgb(255, 255, 255), row.name);
    }
  }
}

// A run measures between two showings of the values beside the chart; the legend, drawn or
// exported meanwhile, shows the measurement those values show, in the same digits.
void ObservablesWindowTest::legendShowsTheMeasurementTheValuesShow() {
  StartWithDocument(Scene(), QStringLiteral("scene.ato"));
  ObservablesWindow* window = OpenObservables();
  const QLabel* kinetic = window->findChild<QLabel*>(QStringLiteral("Value_kinetic"));
  const QString shown = kinetic->text();
  // As the run loop does: a step measured when the pacing lets it, shown a quarter second later.
  model_->V[1] += 0.25L;
  ++model_->StepCount;
  for (int wait = 0; wait < 100 && window->Record().Measurements() < 2; ++wait) {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
    window->StepDone();
  }
  QCOMPARE(window->Record().Measurements(), 2LL);
  QCOMPARE(kinetic->text(), shown);
  QVERIFY(QString::fromStdString(FormatReal(window->Record().Latest().values[Quantity::Kinetic], '.')) !=
          shown);
  DialogProvider::Instance().SetNextFilter(QStringLiteral("SVG drawing (*.svg)"));
  DialogProvider::Instance().SetNextFileName(FilePath(QStringLiteral("legend.svg")));
  window->findChild<QPushButton*>(QStringLiteral("ExportPicture"))->click();
  QFile drawing(FilePath(QStringLiteral("legend.svg")));
  QVERIFY(drawing.open(QIODevice::ReadOnly));
  QVERIFY(drawing.readAll().contains((QStringLiteral(">kinetic ") + shown + QLatin1Char('<')).toUtf8()));
}

void ObservablesWindowTest::opensBesideTheMainWindow_data() {
  QTest::addColumn<QRect>("screen");
  QTest::addColumn<QRect>("main");
  QTest::addColumn<QPoint>("expected");
  QTest::newRow("room on the right") << QRect(0, 0, 1920, 1080) << QRect(100, 50, 860, 520)
                                     << QPoint(960, 50);
  QTest::newRow("right edge exactly reached")
      << QRect(0, 0, 1360, 1080) << QRect(100, 50, 860, 520) << QPoint(960, 50);
  QTest::newRow("room on the left only")
      << QRect(0, 0, 1920, 1080) << QRect(1000, 50, 860, 520) << QPoint(600, 50);
  QTest::newRow("no room: the left has more")
      << QRect(0, 0, 1280, 1024) << QRect(300, 50, 860, 520) << QPoint(0, 50);
  QTest::newRow("no room: the right has more")
      << QRect(0, 0, 1280, 1024) << QRect(100, 50, 860, 520) << QPoint(880, 50);
  QTest::newRow("low main window: raised to fit")
      << QRect(0, 0, 1920, 1080) << QRect(0, 900, 860, 520) << QPoint(860, 780);
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

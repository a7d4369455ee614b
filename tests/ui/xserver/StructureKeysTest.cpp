// The structure's commands as a user gives them, through a real X server: Ctrl+F9 opens the
// Structure panel, the mouse picks View > Colour By > Cluster, and Ctrl+R asks in its real dialog
// for the tolerance and the step limit, typed by xdotool; "Stop" in the status bar, clicked, ends
// the relaxation and Escape ends the next. With VELMORA_SCREENSHOTS naming a folder, the screen
// is saved there at each stage (panel.png, cluster.png, relaxing.png, relaxed.png).

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>
#include <QToolButton>

#include "bench/BenchmarkScenes.h"
#include "measure/StructureColours.h"
#include "tests/core/Shapes.h"
#include "tests/ui/MainFormHarness.h"
#include "ui/relax/RelaxCommand.h"
#include "ui/structure/StructurePanel.h"

namespace velmora::testing {

class StructureKeysTest : public QObject, MainFormHarness {
  Q_OBJECT

 private slots:
  void initTestCase() {
    QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb"));
    InitTestCase();
  }
  void init() { Init(); }
  void cleanup() {
    DialogProvider::Instance().EnableTestMode();
    Cleanup();
  }

  void panelColourByClusterAndRelaxWithStopAndEscape();

 private:
  static void Xdo(const QStringList& arguments) {
    QProcess xdotool;
    xdotool.start(QStringLiteral("xdotool"), arguments);
    QVERIFY2(xdotool.waitForFinished(10000), "xdotool did not finish");
    QVERIFY2(xdotool.exitCode() == 0, xdotool.readAllStandardError().constData());
  }
  static void ClickAt(QWidget* widget, const QRect& area) {
    const QPoint at = widget->mapToGlobal(area.center());
    Xdo({"mousemove", "--sync", QString::number(at.x()), QString::number(at.y()), "click", "1"});
  }
  static void Screenshot(const char* name) {
    const QString folder = qEnvironmentVariable("VELMORA_SCREENSHOTS");
    if (folder.isEmpty()) return;
    QTest::qWait(200);
    QGuiApplication::primaryScreen()->grabWindow(0).save(folder + QLatin1Char('/') +
                                                         QString::fromLatin1(name));
  }
  // Ctrl+R; the real dialog, once shown, gets `tolerance` and `steps` typed into its fields and
  // Enter; once the relaxation goes, `stop` ends it. Returns when the relaxation has ended.
  void RelaxByKeys(const QString& tolerance, const QString& steps, const std::function<void()>& stop) {
    auto* relax = form_->findChild<RelaxCommand*>();
    QTimer typing;
    connect(&typing, &QTimer::timeout, this, [&] {
      QWidget* dialog = QApplication::activeModalWidget();
      if (!dialog || !dialog->isVisible()) return;
      typing.stop();
      Xdo({"key", "--delay", "30", "ctrl+a"});
      Xdo(QStringList{"type", "--delay", "30", tolerance});
      Xdo({"key", "--delay", "30", "Tab", "ctrl+a"});
      Xdo(QStringList{"type", "--delay", "30", steps});
      Xdo({"key", "Return"});
    });
    QTimer stopping;
    connect(&stopping, &QTimer::timeout, this, [&] {
      if (!relax->Relaxing() || model_->X[97] == start_.X[97]) return;
      stopping.stop();
      Screenshot("relaxing.png");
      stop();
    });
    typing.start(100);
    stopping.start(100);
    Xdo({"key", "ctrl+r"});
    QTRY_VERIFY_WITH_TIMEOUT(!relax->ResultText().isEmpty() && !relax->Relaxing(), 30000);
  }

  Model start_;
};

void StructureKeysTest::panelColourByClusterAndRelaxWithStopAndEscape() {
  // Four slots about a shaken tetrahedron, and a pair as far apart as its edges far away (beyond
  // the picture): two clusters.
  start_ = bench::HundredSlotScene(false);
  for (int i = 1; i <= start_.N; ++i) start_.Present[i] = false;
  const Points points = Shaken(Scaled(1.3L, Tetrahedron()), 0.05L, 3);
  for (int k = 0; k < 4; ++k) Place(start_, 97 + k, points[k].X, points[k].Y, points[k].Z);
  Place(start_, 1, 20.0L, 0.0L, 0.0L);
  Place(start_, 2, 20.0L, 3.6769552621700469L, 0.0L);
  ZeroVelocities(start_);
  StartWithDocument(start_, QStringLiteral("two.ato"));
  Activate();
  DialogProvider::Instance().DisableTestMode();

  Xdo({"key", "ctrl+F9"});
  StructurePanel* panel = nullptr;
  QTRY_VERIFY((panel = form_->findChild<StructurePanel*>(QStringLiteral("StructurePanel"))) &&
              panel->isVisible());
  QVERIFY(panel->Text().find("clusters\t2\n") != std::string::npos);
  Screenshot("panel.png");

  // View > Colour By > Cluster with the mouse, menu by menu, the main window above the panel.
  form_->raise();
  form_->activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(form_.get()));
  QMenuBar* bar = form_->menuBar();
  auto* view = Find<QMenu>("View1");
  ClickAt(bar, bar->actionGeometry(view->menuAction()));
  QTRY_VERIFY(view->isVisible());
  auto* colourBy = Find<QMenu>("ColourBy");
  ClickAt(view, view->actionGeometry(colourBy->menuAction()));
  QTRY_VERIFY(colourBy->isVisible());
  QAction* cluster = Find<QAction>("ColourByCluster");
  ClickAt(colourBy, colourBy->actionGeometry(cluster));
  QTRY_VERIFY(cluster->isChecked());
  const StructureColouring colours = StructureColours(*model_, ColourBy::Cluster, {});
  QTRY_COMPARE(PixelOfSlot(97), Rgb(colours.Colours[97]));
  QCOMPARE(PixelOfSlot(100), Rgb(colours.Colours[100]));
  QVERIFY(colours.Colours[1] != colours.Colours[97]);
  Screenshot("cluster.png");

  // Ctrl+R, an unreachable tolerance, and "Stop" clicked while it goes.
  RelaxByKeys(QStringLiteral("1E-30"), QStringLiteral("100000000"),
              [&] { ClickAt(Find<QToolButton>("RelaxStop"), Find<QToolButton>("RelaxStop")->rect()); });
  auto* relax = form_->findChild<RelaxCommand*>();
  QVERIFY2(relax->ResultText().startsWith(QStringLiteral("Stopped after ")), qPrintable(relax->ResultText()));
  QCOMPARE(form_->statusBar()->currentMessage(), relax->ResultText());
  QVERIFY(model_->X[97] != start_.X[97]);
  Screenshot("relaxed.png");
  QCOMPARE(Find<QAction>("Undo1")->text(), QStringLiteral("&Undo Relax"));

  // Escape ends the next one the same way.
  Activate();
  RelaxByKeys(QStringLiteral("1E-30"), QStringLiteral("100000000"), [] { Xdo({"key", "Escape"}); });
  QVERIFY2(relax->ResultText().startsWith(QStringLiteral("Stopped after ")), qPrintable(relax->ResultText()));
}

}  // namespace velmora::testing

QTEST_MAIN(velmora::testing::StructureKeysTest)
#include "StructureKeysTest.moc"

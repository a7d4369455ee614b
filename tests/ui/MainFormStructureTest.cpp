// The structure in the main window: View > Structure's panel follows the scene and its settings,
// Colour By colours by cluster, coordination and neighbour class, the readout of a picked
// particle names its place, Edit > Copy Structure copies the panel, and Tools > Relax... brings
// the scene to rest as the core does, in one entry of Edit > Undo.

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QLabel>
#include <QStatusBar>
#include <QTableWidget>
#include <QtTest>
#include <cmath>
#include <string>

#include "measure/StructureColours.h"
#include "relax/FireRelaxer.h"
#include "tests/ui/MainFormHarness.h"
#include "text/NumberText.h"
#include "text/StructureText.h"
#include "ui/relax/RelaxCommand.h"
#include "ui/structure/StructurePanel.h"

using namespace velmora;
using namespace velmora::testing;

namespace {

// The harness's square of four (sides sqrt 2) and a pair sqrt 2 apart, at least 2.3 from it: two
// clusters, coordinations 2 and 1.
Model TwoClusters() {
  Model m = Scene();
  Place(m, 60, -3.2L, 0.0L, -0.7L);
  Place(m, 61, -3.2L, 0.0L, 0.7142135623730950488L);
  return m;
}

// Four slots about a shaken tetrahedron in the benchmark's law, at rest: it has a state of rest.
std::string CoreText(const Model& m, const StructureSettings& settings) {
  std::vector<int> slotNumbers;
  const Points points = PresentPoints(m, &slotNumbers);
  return StructureText(AnalyseStructure(points, settings), slotNumbers);
}

}  // namespace

class MainFormStructureTest : public QObject, public MainFormHarness {
  Q_OBJECT

 private slots:
  void initTestCase() { InitTestCase(); }
  void init() { Init(); }
  void cleanup() { Cleanup(); }

  void panelFollowsTheSceneAndItsSettings();
  void colourByKindsAndTheReadoutUseThePanelsSettings();
  void copyStructureCopiesThePanel();
  void relaxRestsAsTheCoreDoesInOneUndoEntry();
  void relaxStopsRefusesAndReportsFaults();

 private:
  StructurePanel* OpenPanel() {
    Find<QAction>("Structure1")->trigger();
    auto* panel = form_->findChild<StructurePanel*>(QStringLiteral("StructurePanel"));
    if (!panel || !panel->isVisible()) qFatal("no panel");
    return panel;
  }
  void TypeSetting(StructurePanel* panel, const char* name, const QString& text) {
    panel->findChild<QCheckBox*>(QString::fromLatin1(name) + QStringLiteral("Auto"))->setChecked(false);
    auto* field = panel->findChild<QLineEdit*>(QString::fromLatin1(name));
    field->setText(text);
    QTest::keyClick(field, Qt::Key_Return);
  }
  QString Cell(StructurePanel* panel, int row, int column) {
    return panel->findChild<QTableWidget*>(QStringLiteral("StructureTable"))->item(row, column)->text();
  }
};

void MainFormStructureTest::panelFollowsTheSceneAndItsSettings() {
  StartWithDocument(TwoClusters(), QStringLiteral("two.ato"));
  StructurePanel* panel = OpenPanel();
  QCOMPARE(panel->Text(), CoreText(*model_, {}));
  QCOMPARE(Cell(panel, 4, 0), QStringLiteral("clusters"));
  QCOMPARE(Cell(panel, 4, 1), QStringLiteral("2"));
  // A run: the panel shows the scene the run left.
  const int before = panel->Analyses();
  Run(300);
  QTRY_COMPARE(panel->Text(), CoreText(*model_, {}));
  QVERIFY(panel->Analyses() > before);
  // Settings typed in, and a refused one that leaves the settings as they were.
  TypeSetting(panel, "Cutoff", QStringLiteral("20"));
  TypeSetting(panel, "Tolerance", QStringLiteral("0.5"));
  QCOMPARE(panel->Text(), CoreText(*model_, {0.0L, 20.0L, 0.5L}));
  QCOMPARE(Cell(panel, 4, 1), QStringLiteral("1"));
  TypeSetting(panel, "BinWidth", QStringLiteral("-1"));
  QCOMPARE(ErrorTexts(), QStringList{QStringLiteral("The bin width must be a number above 0.")});
  QVERIFY(panel->findChild<QLineEdit*>(QStringLiteral("BinWidth"))->text() != QStringLiteral("-1"));
  QCOMPARE(panel->Text(), CoreText(*model_, {0.0L, 20.0L, 0.5L}));
  panel->findChild<QCheckBox*>(QStringLiteral("CutoffAuto"))->setChecked(true);
  QCOMPARE(panel->Text(), CoreText(*model_, {0.0L, 0.0L, 0.5L}));
}

void MainFormStructureTest::colourByKindsAndTheReadoutUseThePanelsSettings() {
  StartWithDocument(TwoClusters(), QStringLiteral("two.ato"));
  const struct {
    const char* action;
    ColourBy kind;
  } rows[] = {{"ColourByCluster", ColourBy::Cluster},
              {"ColourByCoordination", ColourBy::Coordination},
              {"ColourByNeighbourClass", ColourBy::NeighbourClass}};
  for (const StructureSettings settings : {StructureSettings{}, StructureSettings{0.0L, 20.0L, 0.0L}}) {
    if (settings.cutoff > 0.0L) TypeSetting(OpenPanel(), "Cutoff", QStringLiteral("20"));
    for (const auto& row : rows) {
      Find<QAction>(row.action)->trigger();
      const StructureColouring expected = StructureColours(*model_, row.kind, settings);
      for (const int slot : {1, 51, 60}) QCOMPARE(PixelOfSlot(slot), Rgb(expected.Colours[slot]));
      // The legend's first square at the picture's right edge, below the switches.
      const QImage& image = form_->CanvasImage();
      bool legendShown = false;
      for (int y = 0; y < image.height() && !legendShown; ++y)
        legendShown = image.pixel(image.width() - 10, y) == Rgb(expected.Legend.front().Shade);
      QVERIFY2(legendShown, row.action);
    }
    // The other cluster's colour differs: slot 60 is in the second cluster under the default
    // cutoff, in the one cluster under 20.
    Find<QAction>("ColourByCluster")->trigger();
    QCOMPARE(PixelOfSlot(1) == PixelOfSlot(60), settings.cutoff > 0.0L);
    // A click on slot 60 reads its place.
    QTest::mouseClick(Find<QWidget>("Canvas"), Qt::LeftButton, {},
                      QPoint(view_->ScreenX[60], view_->ScreenY[60]));
    const QString readout = Find<QLabel>("StatusSelection")->text();
    QVERIFY2(readout.endsWith(settings.cutoff > 0.0L
                                  ? QStringLiteral(", coordination = 5, cluster = 0, class = other")
                                  : QStringLiteral(", coordination = 1, cluster = 1, class = other")),
             qPrintable(readout));
  }
}

void MainFormStructureTest::copyStructureCopiesThePanel() {
  StartWithDocument(TwoClusters(), QStringLiteral("two.ato"));
  Find<QAction>("CopyStructure")->trigger();  // the panel never opened
  QCOMPARE(QApplication::clipboard()->text().toStdString(), CoreText(*model_, {}));
  TypeSetting(OpenPanel(), "Cutoff", QStringLiteral("20"));
  Find<QAction>("CopyStructure")->trigger();
  QCOMPARE(QApplication::clipboard()->text().toStdString(), CoreText(*model_, {0.0L, 20.0L, 0.0L}));
  // A scene that cannot be analysed: its error, and the clipboard keeps what it held.
  model_->X[60] = NAN;
  Find<QAction>("CopyStructure")->trigger();
  QCOMPARE(ErrorTexts(), QStringList{QStringLiteral("A position is not a finite number.")});
  QCOMPARE(QApplication::clipboard()->text().toStdString(), CoreText(TwoClusters(), {0.0L, 20.0L, 0.0L}));
}

void MainFormStructureTest::relaxRestsAsTheCoreDoesInOneUndoEntry() {
  StartWithDocument(TetrahedronScene(), QStringLiteral("four.ato"));
  Model expected = *model_;
  FastLaw fast(1);
  const RelaxResult result = Relax(expected, LawField(fast, {}), 1e-4L, 5000);
  QVERIFY(result.converged);
  DialogProvider::Instance().SetNextTexts(QStringList{QStringLiteral("1E-4"), QStringLiteral("5000")});
  Find<QAction>("Relax1")->trigger();
  QVERIFY(SameArrays(model_->X, expected.X) && SameArrays(model_->Z, expected.Z) &&
          SameArrays(model_->V, expected.V));
  auto* relax = form_->findChild<RelaxCommand*>();
  QCOMPARE(relax->ResultText(),
           QStringLiteral("Relaxed after %1 steps: largest acceleration %2")
               .arg(result.steps)
               .arg(QString::fromStdString(FormatReal(result.largestAcceleration, '.'))));
  QCOMPARE(form_->statusBar()->currentMessage(), relax->ResultText());
  QCOMPARE(Find<QAction>("Undo1")->text(), QStringLiteral("&Undo Relax"));
  Find<QAction>("Undo1")->trigger();
  QVERIFY(SameArrays(model_->X, TetrahedronScene().X));
  QCOMPARE(DialogProvider::Instance().Shown().back().Caption, QStringLiteral("Relax"));
}

void MainFormStructureTest::relaxStopsRefusesAndReportsFaults() {
  StartWithDocument(TetrahedronScene(), QStringLiteral("four.ato"));
  auto* relax = form_->findChild<RelaxCommand*>();
  relax->SetStopAfterSteps(7);
  DialogProvider::Instance().SetNextTexts(QStringList{QStringLiteral("1E-9"), QStringLiteral("5000")});
  Find<QAction>("Relax1")->trigger();
  QVERIFY2(relax->ResultText().startsWith(QStringLiteral("Stopped after 7 steps: ")),
           qPrintable(relax->ResultText()));
  QVERIFY(!relax->Relaxing());
  for (int i = 97; i <= 100; ++i) QCOMPARE(model_->V[i], 0.0L);
  relax->SetStopAfterSteps(0);
  DialogProvider::Instance().SetNextTexts(QStringList{QStringLiteral("1E-9"), QStringLiteral("3")});
  Find<QAction>("Relax1")->trigger();
  QVERIFY(relax->ResultText().startsWith(QStringLiteral("Step limit reached after 3 steps: ")));
  // Refused values, and a cancelled dialog, change nothing.
  const Model before = *model_;
  const struct {
    const char* tolerance;
    const char* steps;
    const char* error;
  } refused[] = {{"0", "10", "The tolerance must be a number above 0."},
                 {"-1", "10", "The tolerance must be a number above 0."},
                 {"1", "0", "The step limit must be 1 to 100000000."}};
  for (const auto& r : refused) {
    DialogProvider::Instance().Reset();
    DialogProvider::Instance().SetNextTexts(
        QStringList{QString::fromLatin1(r.tolerance), QString::fromLatin1(r.steps)});
    Find<QAction>("Relax1")->trigger();
    QCOMPARE(ErrorTexts(), QStringList{QString::fromLatin1(r.error)});
  }
  Find<QAction>("Relax1")->trigger();  // nothing queued: cancelled
  QVERIFY(SameArrays(model_->X, before.X));
  // Two slots on one place: the first evaluation faults, as a run's first step would.
  DialogProvider::Instance().Reset();
  Place(*model_, 1, model_->X[97], model_->Y[97], model_->Z[97]);
  const Model coincident = *model_;
  Model stepped = coincident;
  const std::string fault = CoreRun(stepped, 1);
  QVERIFY(!fault.empty());
  DialogProvider::Instance().SetNextTexts(QStringList{QStringLiteral("1E-4"), QStringLiteral("10")});
  Find<QAction>("Relax1")->trigger();
  QCOMPARE(ErrorTexts().size(), 1);
  QVERIFY2(ErrorTexts().front().startsWith(QString::fromStdString(fault).left(20)),
           qPrintable(ErrorTexts().front()));
  QVERIFY(SameArrays(model_->X, coincident.X));
}

QTEST_MAIN(MainFormStructureTest)
#include "MainFormStructureTest.moc"

// Pictures and movies of the scene: the window's File > Export Picture... and velmora-render as
// a process, against the window's own canvas. Both draw through one painter, so the checks are
// about what that promises: the same pixels from the tool and the window, dots at the scaled
// places, one vector shape per particle, a frame per K steps, the frames of a faulting or
// interrupted run kept.

#include <signal.h>
#include <sys/mount.h>
#include <unistd.h>

#include <QAction>
#include <QDir>
#include <QProcess>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSvgRenderer>
#include <QToolButton>
#include <QXmlStreamReader>
#include <QtTest>
#include <algorithm>
#include <cstring>
#include <limits>
#include <numbers>

#include "picture/PictureFile.h"
#include "picture/RowBands.h"
#include "tests/ui/MainFormHarness.h"
#include "view/ColourMap.h"

using namespace velmora;
using namespace velmora::testing;

namespace {

struct ToolRun {
  int status;
  QString err;
};

ToolRun RunRender(const QStringList& arguments,
                  const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment()) {
  QProcess process;
  process.setProcessEnvironment(environment);
  process.start(QStringLiteral(VELMORA_RENDER_PATH), arguments);
  if (!process.waitForFinished(60000)) return {-1, QStringLiteral("velmora-render did not end")};
  const int status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
  return {status, QString::fromLocal8Bit(process.readAllStandardError())};
}

int MovieFrames(const QString& movie) {
  QProcess probe;
  probe.start(QStringLiteral("ffprobe"), {"-v", "error", "-count_frames", "-select_streams", "v:0",
                                          "-show_entries", "stream=nb_read_frames", "-of", "csv=p=0", movie});
  probe.waitForFinished(60000);
  return QString::fromLatin1(probe.readAllStandardOutput()).trimmed().toInt();
}

// The dots of an SVG drawing: every rectangle filled in another colour than the background's,
// as (x, y).
QList<QPoint> SvgDots(const QByteArray& svg) {
  QList<QPoint> dots;
  QXmlStreamReader reader(svg);
  QString fill;
  while (!reader.atEnd()) {
    if (reader.readNext() != QXmlStreamReader::StartElement) continue;
    if (reader.name() == QLatin1String("g") && reader.attributes().hasAttribute(QStringLiteral("fill")))
      fill = reader.attributes().value(QStringLiteral("fill")).toString();
    if (reader.name() == QLatin1String("rect") && fill != QLatin1String("#000000"))
      dots.append(QPoint(reader.attributes().value(QStringLiteral("x")).toInt(),
                         reader.attributes().value(QStringLiteral("y")).toInt()));
  }
  return dots;
}

// Two slots in free flight towards each other, which meet after four steps: the fifth step
// divides by their distance of zero.
Model Approaching() {
  Model m;
  m.N = SlotCount;
  m.dt = 1.0L;
  const real parameters[ParametersPerGroup] = {1.0L, 1.0e6L, 1.0e6L, 1.0e6L, 1.0e6L, 1.0e6L};
  for (int index = 0; index < ParameterCount; ++index)
    Parameter(m, index) = parameters[index % ParametersPerGroup];
  Place(m, 1, -1.0L, 0.5L, 0.5L, 0.25L);
  Place(m, 2, 1.0L, 0.5L, 0.5L, -0.25L);
  return m;
}

QImage Opaque(const QImage& image) { return image.convertToFormat(QImage::Format_RGB32); }

void WriteFile(const QString& name, const QByteArray& bytes) {
  QFile file(name);
  QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
}

QByteArray ReadFile(const QString& name) {
  QFile file(name);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(none)");
}

}  // namespace

class PictureTest : public QObject, private MainFormHarness {
  Q_OBJECT

 private slots:
  void initTestCase() { InitTestCase(); }
  void init() { Init(); }
  void cleanup() { Cleanup(); }

  void renderDrawsTheCanvasPixelForPixel_data();
  void renderDrawsTheCanvasPixelForPixel();
  void exportScalesPngAndDrawsSvgShapes();
  void exportDoublesTheFigureEdges();
  void exportWritesTheNamedFormatAndAsksBeforeReplacing_data();
  void exportWritesTheNamedFormatAndAsksBeforeReplacing();
  void renderRefusesARadiusItCannotDraw();
  void colourBarLabelsHaveAtMostSixDigits();
  void movieHasAFrameEveryKSteps_data();
  void movieHasAFrameEveryKSteps();
  void faultingRunKeepsTheFramesBeforeTheFault_data();
  void faultingRunKeepsTheFramesBeforeTheFault();
  void interruptedRunKeepsItsFrames_data();
  void interruptedRunKeepsItsFrames();
  void folderWithOtherFramesNeedsOverwrite();
  void fullDiskKeepsWholeFramesAndSaysHowMany();
  void movieOverAHardLinkIsWrittenInPlace();
  void movieWhoseEncoderCannotBeAwaitedFails();
  void movieWithoutFfmpegIsAUsageError();
  void unwritablePictureIsFoundBeforeTheRun();
  void refusedSceneLeavesNoFolderBehind_data();
  void refusedSceneLeavesNoFolderBehind();
  void bandsPaintWhatOnePieceWould_data();
  void bandsPaintWhatOnePieceWould();
  void renderDrawsTheWindowsLookPixelForPixel();
  void nearerSphereCoversTheFartherOne_data();
  void nearerSphereCoversTheFartherOne();
  void sphereIsLighterInTheMiddleThanAtItsRim();
  void stampedSphereIsTheDrawnOne_data();
  void stampedSphereIsTheDrawnOne();
  void colourMapEndsAreTheLeastAndGreatestSpeed();
  void trailReachesBackKStepsAndNoFurther();
  void heldButtonTurnsThePictureAndTheReleaseTheView();
  void sphereRadiusAndTrailStepsAreAskedForAndChecked_data();
  void sphereRadiusAndTrailStepsAreAskedForAndChecked();
};

void PictureTest::renderDrawsTheCanvasPixelForPixel_data() {
  QTest::addColumn<bool>("taoscope");
  QTest::addColumn<bool>("numbers");
  QTest::addColumn<int>("turn");  // degrees about each axis
  QTest::addColumn<int>("zoom");  // 0: the start's
  QTest::addColumn<int>("steps");
  QTest::newRow("start view") << false << false << 0 << 0 << 0;
  QTest::newRow("Taoscope with numbers") << true << true << 0 << 0 << 0;
  QTest::newRow("turned and zoomed") << false << true << 25 << 200 << 0;
  QTest::newRow("after a run") << true << false << 40 << 0 << 30;
}

void PictureTest::renderDrawsTheCanvasPixelForPixel() {
  QFETCH(bool, taoscope);
  QFETCH(bool, numbers);
  QFETCH(int, turn);
  QFETCH(int, zoom);
  QFETCH(int, steps);
  StartWithDocument(Scene(), QStringLiteral("scene.ato"));
  Find<QRadioButton>("Taoscope")->setChecked(taoscope);
  if (numbers) Find<QAction>("ShowNumbersOfPoints")->trigger();
  const real degree = std::numbers::pi_v<real> / 180.0L;
  view_->ViewTeta = view_->ViewPsi = view_->ViewPhi = turn * degree;
  if (zoom) view_->Zoom = zoom;
  // The window takes its centre from its outer width, frame included; the tool, which has no
  // frame, from the middle of its picture. The same view has the same centre.
  const QSize area = form_->CanvasImage().size();
  SetCentre(*view_, area.width(), area.height());
  Find<QToolButton>("DaoStop")->click();  // a plain redraw in particle mode
  if (steps) Run(steps);

  QStringList arguments = {"--quiet", "--output", FilePath("render.png"), FilePath("scene.ato")};
  if (taoscope) arguments << "--taoscope";
  if (numbers) arguments << "--numbers";
  if (turn) arguments << "--turn" << QStringLiteral("%1,%1,%1").arg(turn);
  if (zoom) arguments << "--zoom" << QString::number(zoom);
  if (steps) arguments << "--steps" << QString::number(steps);
  const ToolRun run = RunRender(arguments);
  QCOMPARE(run.status, 0);

  const QImage canvas = Opaque(Find<QWidget>("Canvas")->grab().toImage());
  const QImage rendered = Opaque(QImage(FilePath("render.png")));
  QCOMPARE(rendered.size(), canvas.size());
  QVERIFY(rendered == canvas);
  QVERIFY(canvas.pixel(view_->ScreenX[1], view_->ScreenY[1]) != qRgb(0, 0, 0));  // a scene is in the picture
}

void PictureTest::exportScalesPngAndDrawsSvgShapes() {
  StartWithDocument(Scene(), QStringLiteral("scene.ato"));
  DialogProvider& dialogs = DialogProvider::Instance();
  const QStringList filters = {"PNG image (*.png)", "PNG image, twice the size (*.png)",
                               "PNG image, four times the size (*.png)", "SVG drawing (*.svg)"};
  const QStringList names = {"1x.png", "2x.png", "4x.png", "scene.svg"};
  for (int i = 0; i < filters.size(); ++i) {
    dialogs.SetNextFileName(FilePath(names[i]));
    dialogs.SetNextFilter(filters[i]);
    Find<QAction>("ExportPicture1")->trigger();
  }
  QVERIFY(dialogs.Shown().size() == 4 && dialogs.Shown().back().Caption == QStringLiteral("Export Picture"));

  const QImage canvas = form_->CanvasImage();
  QVERIFY(Opaque(QImage(FilePath("1x.png"))) == canvas);
  const int present[] = {1, 2, 51, 76};
  for (const int scale : {2, 4}) {
    const QImage image(FilePath(QStringLiteral("%1x.png").arg(scale)));
    QCOMPARE(image.size(), canvas.size() * scale);
    for (const int slot : present) {
      const int x = view_->ScreenX[slot] * scale, y = view_->ScreenY[slot] * scale;
      const QRgb dot = canvas.pixel(view_->ScreenX[slot], view_->ScreenY[slot]);
      // The dot covers 2 x 2 canvas pixels, so 2 * scale image pixels each way, and no more.
      QCOMPARE(image.pixel(x, y), dot);
      QCOMPARE(image.pixel(x + 2 * scale - 1, y + 2 * scale - 1), dot);
      QCOMPARE(image.pixel(x + 2 * scale, y), qRgb(0, 0, 0));
      QCOMPARE(image.pixel(x - 1, y), qRgb(0, 0, 0));
    }
  }

  QFile svgFile(FilePath("scene.svg"));
  QVERIFY(svgFile.open(QIODevice::ReadOnly));
  const QByteArray svg = svgFile.readAll();
  QVERIFY(QSvgRenderer(svg).isValid());
  QList<QPoint> expected;
  for (const int slot : present) expected.append(QPoint(view_->ScreenX[slot], view_->ScreenY[slot]));
  QCOMPARE(SvgDots(svg), expected);
}

void PictureTest::exportWritesTheNamedFormatAndAsksBeforeReplacing_data() {
  QTest::addColumn<QString>("name");
  QTest::addColumn<QList<bool>>("answers");  // to the question whether to replace the file there
  QTest::addColumn<QByteArray>("begins");    // the file's first bytes afterwards
  QTest::addColumn<QString>("error");
  QTest::newRow("svg named, png filter") << "a.svg" << QList<bool>{} << QByteArray("<?xml") << "";
  QTest::newRow("png") << "a.png" << QList<bool>{} << QByteArray("\x89PNG") << "";
  QTest::newRow("other extension") << "a.txt" << QList<bool>{} << QByteArray()
                                   << "is no picture (.png, .svg)";
  QTest::newRow("there, kept") << "old.png" << QList<bool>{false} << QByteArray("kept") << "";
  QTest::newRow("there, replaced") << "old.png" << QList<bool>{true} << QByteArray("\x89PNG") << "";
}

void PictureTest::exportWritesTheNamedFormatAndAsksBeforeReplacing() {
  QFETCH(QString, name);
  QFETCH(QList<bool>, answers);
  QFETCH(QByteArray, begins);
  QFETCH(QString, error);
  StartWithDocument(Scene(), QStringLiteral("scene.ato"));
  QFile old(FilePath("old.png"));
  QVERIFY(old.open(QIODevice::WriteOnly) && old.write("kept") == 4);
  old.close();
  DialogProvider& dialogs = DialogProvider::Instance();
  dialogs.Reset();
  dialogs.SetNextFileName(FilePath(name));
  for (const bool yes : answers) dialogs.SetNextAnswer(yes);
  Find<QAction>("ExportPicture1")->trigger();
  QFile file(FilePath(name));
  QCOMPARE(file.open(QIODevice::ReadOnly) ? file.read(begins.size()) : QByteArray(), begins);
  const QStringList errors = ErrorTexts();
  QVERIFY2(error.isEmpty() ? errors.isEmpty() : errors.size() == 1 && errors[0].endsWith(error),
           qPrintable(errors.join('|')));
  const qsizetype questions =
      std::count_if(dialogs.Shown().begin(), dialogs.Shown().end(),
                    [](const ShownDialog& d) { return d.Kind == DialogKind::Confirmation; });
  QCOMPARE(questions, answers.size());
}

void PictureTest::colourBarLabelsHaveAtMostSixDigits() {
  const struct {
    real value;
    char separator;
    const char* shown;
  } rows[] = {{1.23456789L, '.', "1.23457"},    {-2.55856440842478E-10L, '.', "-2.55856E-10"},
              {123456789.0L, ',', "1,23457E8"}, {0.5L, ',', "0,5"},
              {-1e-300L, '.', "-1E-300"},       {0.0L, '.', "0"}};
  for (const auto& row : rows)
    QCOMPARE(ColourBarLabel(row.value, row.separator), QString::fromLatin1(row.shown));
}

// A radius the painter cannot draw as a circle is refused before anything is drawn.
void PictureTest::renderRefusesARadiusItCannotDraw() {
  WriteScene(Scene(), QStringLiteral("scene.ato"));
  for (const char* radius : {"1e16", "1e4000", "0"}) {
    const ToolRun run = RunRender(
        {"--look", "spheres", "--radius", radius, "--output", FilePath("r.png"), FilePath("scene.ato")});
    QCOMPARE(run.status, 2);
    QVERIFY2(run.err.contains(QStringLiteral("--radius: '%1' is not above 0 and at most 1000").arg(radius)),
             qPrintable(run.err));
  }
  QVERIFY(!QFile::exists(FilePath("r.png")));
}

// The spiral at start: the white edge P1-P2 runs along the centre's row. At twice the size it is
// two pixels wide, on that row's block and not beside it.
void PictureTest::exportDoublesTheFigureEdges() {
  Start();
  DialogProvider::Instance().SetNextFileName(FilePath("figure.png"));
  DialogProvider::Instance().SetNextFilter(QStringLiteral("PNG image, twice the size (*.png)"));
  Find<QAction>("ExportPicture1")->trigger();
  const QImage image(FilePath("figure.png"));
  const int x = 2 * (view_->CentreX + 15), y = 2 * view_->CentreY;
  const QRgb white = qRgb(255, 255, 255), black = qRgb(0, 0, 0);
  QCOMPARE(form_->CanvasImage().pixel(x / 2, y / 2), white);
  const QRgb column[] = {image.pixel(x, y - 1), image.pixel(x, y), image.pixel(x, y + 1),
                         image.pixel(x, y + 2)};
  QCOMPARE(column[0], black);
  QCOMPARE(column[1], white);
  QCOMPARE(column[2], white);
  QCOMPARE(column[3], black);
}

void PictureTest::movieHasAFrameEveryKSteps_data() {
  QTest::addColumn<QString>("movie");
  QTest::addColumn<int>("steps");
  QTest::addColumn<int>("every");
  QTest::newRow("mp4, odd height") << "run.mp4" << 12 << 4;
  QTest::newRow("webm") << "run.webm" << 10 << 5;
  QTest::newRow("gif") << "run.gif" << 6 << 1;
}

void PictureTest::movieHasAFrameEveryKSteps() {
  QFETCH(QString, movie);
  QFETCH(int, steps);
  QFETCH(int, every);
  WriteScene(Scene(), QStringLiteral("scene.ato"));
  const ToolRun run = RunRender({"--steps", QString::number(steps), "--every", QString::number(every),
                                 "--output", FilePath(movie), FilePath("scene.ato")});
  QCOMPARE(run.err, QString());
  QCOMPARE(run.status, 0);
  QCOMPARE(MovieFrames(FilePath(movie)), steps / every + 1);
  QVERIFY(QFile::exists(FilePath(movie)));
  QCOMPARE(QDir(files_.path()).entryList({".velmora-*"}, QDir::Files | QDir::Hidden),
           QStringList());  // no pending file left
}

// An older movie of the target's name stays as it was; the frames of the run that could not end
// go beside it under a name that says so.
void PictureTest::faultingRunKeepsTheFramesBeforeTheFault_data() {
  QTest::addColumn<QString>("output");
  QTest::addColumn<QString>("kept");
  QTest::newRow("folder") << "frames/"
                          << "frames/";
  QTest::newRow("movie") << "run.mp4"
                         << "run.partial.mp4";
}

void PictureTest::faultingRunKeepsTheFramesBeforeTheFault() {
  QFETCH(QString, output);
  QFETCH(QString, kept);
  WriteScene(Approaching(), QStringLiteral("scene.ato"));
  if (output != kept) WriteFile(FilePath(output), "an older movie");
  const ToolRun run =
      RunRender({"--steps", "10", "--every", "2", "--output", FilePath(output), FilePath("scene.ato")});
  QCOMPARE(run.status, 1);
  QCOMPARE(run.err, "velmora-render: Floating point division by zero at step 5; 3 frames kept in " +
                        FilePath(kept) + "\n");
  // Frames at steps 0, 2 and 4; the fault came in the fifth.
  if (output.endsWith('/'))
    QCOMPARE(QDir(FilePath(output)).entryList(QDir::Files),
             QStringList({"frame-000000.png", "frame-000001.png", "frame-000002.png"}));
  else
    QCOMPARE(MovieFrames(FilePath(kept)), 3);
  if (output != kept) QCOMPARE(ReadFile(FilePath(output)), QByteArray("an older movie"));
}

void PictureTest::interruptedRunKeepsItsFrames_data() {
  QTest::addColumn<QString>("output");
  QTest::addColumn<QString>("kept");
  QTest::newRow("folder") << "stopped/"
                          << "stopped/";
  QTest::newRow("movie") << "stopped.mp4"
                         << "stopped.partial.mp4";
}

// A terminal's Ctrl+C reaches the tool's whole process group in the middle of a long run: the
// frames so far are a finished folder or movie, and the tool ends by the signal.
void PictureTest::interruptedRunKeepsItsFrames() {
  QFETCH(QString, output);
  QFETCH(QString, kept);
  WriteScene(Scene(), QStringLiteral("scene.ato"));
  if (output != kept) WriteFile(FilePath(output), "an older movie");
  QProcess render;
  render.setChildProcessModifier([] { ::setpgid(0, 0); });
  render.start(QStringLiteral(VELMORA_RENDER_PATH),
               {"--quiet", "--steps", "2000000000", "--output", FilePath(output), FilePath("scene.ato")});
  QVERIFY(render.waitForStarted());
  QTest::qWait(1500);
  QCOMPARE(render.state(), QProcess::Running);
  ::kill(-static_cast<pid_t>(render.processId()), SIGINT);
  QVERIFY(render.waitForFinished(60000));
  QCOMPARE(render.exitStatus(), QProcess::CrashExit);
  const QString err = QString::fromLocal8Bit(render.readAllStandardError());
  const QRegularExpressionMatch said =
      QRegularExpression(
          QStringLiteral("^velmora-render: interrupted after step [0-9]+; ([0-9]+) frames kept in (.*)\n$"))
          .match(err);
  QVERIFY2(said.hasMatch(), qPrintable(err));
  QCOMPARE(said.captured(2), FilePath(kept));
  const int frames = said.captured(1).toInt();
  QVERIFY(frames > 1);
  if (output.endsWith('/'))
    QCOMPARE(QDir(FilePath(output)).entryList(QDir::Files).size(), frames);
  else
    QCOMPARE(MovieFrames(FilePath(kept)), frames);
  if (output != kept) QCOMPARE(ReadFile(FilePath(output)), QByteArray("an older movie"));
}

// A folder holding frames of another run is refused; --overwrite removes those frames, and only
// those, before the first new one.
void PictureTest::folderWithOtherFramesNeedsOverwrite() {
  WriteScene(Scene(), QStringLiteral("scene.ato"));
  QDir().mkpath(FilePath("others"));
  for (const char* name : {"frame-000000.png", "frame-000007.png", "notes.txt"})
    WriteFile(FilePath("others/") + name, "old");
  const QStringList arguments = {"--steps", "2", "--output", FilePath("others/"), FilePath("scene.ato")};
  const ToolRun refused = RunRender(arguments);
  QCOMPARE(refused.status, 1);
  QCOMPARE(refused.err, "velmora-render: " + FilePath("others/") +
                            ": holds 2 frames of another run (--overwrite removes them first)\n");
  QCOMPARE(ReadFile(FilePath("others/frame-000007.png")), QByteArray("old"));
  const ToolRun overwritten = RunRender(QStringList{"--overwrite"} + arguments);
  QCOMPARE(overwritten.status, 0);
  QCOMPARE(QDir(FilePath("others")).entryList(QDir::Files),
           QStringList({"frame-000000.png", "frame-000001.png", "frame-000002.png", "notes.txt"}));
  QVERIFY(!QImage(FilePath("others/frame-000000.png")).isNull());
}

// On a disk that fills, every frame in the folder is whole, and the message says how many.
void PictureTest::fullDiskKeepsWholeFramesAndSaysHowMany() {
  WriteScene(Scene(), QStringLiteral("scene.ato"));
  QDir().mkpath(FilePath("disk"));
  if (::mount("tmpfs", StdPath("disk").c_str(), "tmpfs", 0, "size=64k") != 0)
    QSKIP("no file system can be mounted here");
  const ToolRun run = RunRender(
      {"--steps", "100000", "--size", "64x64", "--output", FilePath("disk/"), FilePath("scene.ato")});
  const QStringList frames = QDir(FilePath("disk")).entryList(QDir::Files | QDir::Hidden);
  bool whole = true;
  for (const QString& frame : frames) whole = whole && !QImage(FilePath("disk/") + frame).isNull();
  ::umount(StdPath("disk").c_str());
  QCOMPARE(run.status, 1);
  const QRegularExpressionMatch said =
      QRegularExpression(
          QStringLiteral(
              "^velmora-render: .*/frame-[0-9]+\\.png: Disk full; ([0-9]+) frames kept in (.*)\n$"))
          .match(run.err);
  QVERIFY2(said.hasMatch(), qPrintable(run.err));
  QCOMPARE(said.captured(2), FilePath("disk/"));
  QCOMPARE(said.captured(1).toInt(), frames.size());
  QVERIFY(whole);
}

// A target with a second hard link is written in place, so both names show the movie.
void PictureTest::movieOverAHardLinkIsWrittenInPlace() {
  WriteScene(Scene(), QStringLiteral("scene.ato"));
  WriteFile(FilePath("run.gif"), "an older movie");
  QVERIFY(::link(StdPath("run.gif").c_str(), StdPath("same.gif").c_str()) == 0);
  const ToolRun run = RunRender({"--steps", "2", "--output", FilePath("run.gif"), FilePath("scene.ato")});
  QCOMPARE(run.err, QString());
  QCOMPARE(run.status, 0);
  QCOMPARE(MovieFrames(FilePath("same.gif")), 3);
  QCOMPARE(QFileInfo(FilePath("same.gif")).size(), QFileInfo(FilePath("run.gif")).size());
}

// With SIGCHLD ignored by whoever started the tool, ffmpeg's end cannot be awaited: the movie is
// not taken for complete.
void PictureTest::movieWhoseEncoderCannotBeAwaitedFails() {
  WriteScene(Scene(), QStringLiteral("scene.ato"));
  QProcess render;
  render.setChildProcessModifier([] { ::signal(SIGCHLD, SIG_IGN); });
  render.start(QStringLiteral(VELMORA_RENDER_PATH),
               {"--quiet", "--steps", "2", "--output", FilePath("unawaited.gif"), FilePath("scene.ato")});
  QVERIFY(render.waitForFinished(60000));
  QCOMPARE(render.exitCode(), 1);
  QCOMPARE(
      QString::fromLocal8Bit(render.readAllStandardError()),
      QStringLiteral("velmora-render: ffmpeg could not make the movie (its end could not be awaited)\n"));
  QVERIFY(!QFile::exists(FilePath("unawaited.gif")));
}

void PictureTest::movieWithoutFfmpegIsAUsageError() {
  WriteScene(Scene(), QStringLiteral("scene.ato"));
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert(QStringLiteral("PATH"), FilePath("no-such-folder"));
  const ToolRun run =
      RunRender({"--steps", "5", "--output", FilePath("none.mp4"), FilePath("scene.ato")}, environment);
  QCOMPARE(run.status, 2);
  QVERIFY2(run.err.contains(QStringLiteral("ffmpeg")), qPrintable(run.err));
  QVERIFY(!QFile::exists(FilePath("none.mp4")));
}

// The scene faults at step 5: a picture that could not be written must be reported first.
void PictureTest::unwritablePictureIsFoundBeforeTheRun() {
  WriteScene(Approaching(), QStringLiteral("scene.ato"));
  const QString picture = FilePath("no-such-folder/after.png");
  const ToolRun run = RunRender({"--steps", "10", "--output", picture, FilePath("scene.ato")});
  QCOMPARE(run.status, 1);
  QCOMPARE(run.err, "velmora-render: " + picture + ": File not found\n");
}

void PictureTest::refusedSceneLeavesNoFolderBehind_data() {
  QTest::addColumn<bool>("folderWasThere");
  QTest::newRow("folders made for the run") << false;
  QTest::newRow("an empty folder of the user's") << true;
}

// A scene refused before its first step writes nothing: folders made for its frames go again,
// and a folder that was there stays.
void PictureTest::refusedSceneLeavesNoFolderBehind() {
  QFETCH(bool, folderWasThere);
  Model m = Approaching();
  m.V[2] = std::numeric_limits<real>::quiet_NaN();
  WriteScene(m, QStringLiteral("nan.ato"));
  if (folderWasThere) QVERIFY(QDir().mkpath(FilePath("new/frames")));
  const ToolRun run = RunRender({"--steps", "10", "--output", FilePath("new/frames/"), FilePath("nan.ato")});
  QCOMPARE(run.status, 1);
  QCOMPARE(run.err, QStringLiteral(
                        "velmora-render: Invalid floating point operation: V of slot 2; nothing written\n"));
  QCOMPARE(QDir(FilePath("new/frames")).exists(), folderWasThere);
  QCOMPARE(QDir(FilePath("new")).exists(), folderWasThere);
}

void PictureTest::bandsPaintWhatOnePieceWould_data() {
  QTest::addColumn<QRect>("area");
  QTest::newRow("whole image") << QRect(0, 0, 200, 300);
  QTest::newRow("a band and one row") << QRect(3, 7, 50, 65);
  QTest::newRow("one row") << QRect(10, 299, 20, 1);
  QTest::newRow("reaching beyond the image") << QRect(-5, 130, 300, 400);
}

// Every row of the area, and none beyond it, whatever the number of bands.
void PictureTest::bandsPaintWhatOnePieceWould() {
  QFETCH(QRect, area);
  QImage source(200, 300, QImage::Format_RGB32);
  for (int y = 0; y < source.height(); ++y)
    for (int x = 0; x < source.width(); ++x) source.setPixel(x, y, qRgb(x, y % 256, (x * y) % 256));
  const auto painted = [&](auto paint) {
    QImage image(source.size(), QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter painter(&image);
    paint(painter);
    return image;
  };
  QCOMPARE(painted([&](QPainter& p) { FillInRowBands(p, area, Qt::cyan); }),
           painted([&](QPainter& p) { p.fillRect(area, Qt::cyan); }));
  QCOMPARE(painted([&](QPainter& p) { DrawImageInRowBands(p, area, source); }),
           painted([&](QPainter& p) { p.drawImage(area, source, area); }));
}

QTEST_MAIN(PictureTest)
#include "PictureTest.moc"

namespace {

// A 200 x 200 area with the origin in its middle, seen along the model's y axis.
constexpr QSize LookArea(200, 200);

ViewState LookView(real zoom) {
  ViewState view;
  SetCentre(view, LookArea.width(), LookArea.height());
  view.Zoom = zoom;
  return view;
}

QImage Rendered(const PictureSource& source) {
  QImage image(source.Area, QImage::Format_RGB32);
  RenderInto(image, source);
  return image;
}

QImage Drawn(const Model& m, ViewState& view, const SceneLook& look, const TrailRecord* trails = nullptr) {
  ProjectParticles(view, m);
  return Rendered({m, view, look, LookArea, trails});
}

int Lightness(QRgb pixel) { return QColor(pixel).lightness(); }

int LitPixels(const QImage& image) {
  int lit = 0;
  for (int row = 0; row < image.height(); ++row)
    for (int column = 0; column < image.width(); ++column) lit += (image.pixel(column, row) & 0xffffff) != 0;
  return lit;
}

}  // namespace

// Spheres, colour by speed, trails and a selection in the window, and velmora-render with the
// same options: the same pixels.
void PictureTest::renderDrawsTheWindowsLookPixelForPixel() {
  StartWithDocument(Scene(), QStringLiteral("scene.ato"));
  const QSize area = form_->CanvasImage().size();
  SetCentre(*view_, area.width(), area.height());
  Find<QToolButton>("DaoStop")->click();
  for (const char* action : {"LookSpheres", "ColourBySpeed", "Trails"}) Find<QAction>(action)->trigger();
  QWidget* canvas = Find<QWidget>("Canvas");
  QTest::mouseClick(canvas, Qt::LeftButton, Qt::NoModifier, QPoint(view_->ScreenX[1], view_->ScreenY[1]));
  Run(30);
  QCOMPARE(model_->StepCount, 30);

  const ToolRun run =
      RunRender({"--quiet", "--look", "spheres", "--colour-by", "speed", "--trails", "100", "--select", "1",
                 "--steps", "30", "--output", FilePath("render.png"), FilePath("scene.ato")});
  QCOMPARE(run.status, 0);
  const QImage shown = Opaque(canvas->grab().toImage());
  QVERIFY(Opaque(QImage(FilePath("render.png"))) == shown);
  QVERIFY(shown != Opaque(Rendered({*model_, *view_, {.What = Redraw::Particles}, area})));  // not the dots
}

void PictureTest::nearerSphereCoversTheFartherOne_data() {
  QTest::addColumn<int>("depthOf76");  // slot 1's depth is 0
  QTest::addColumn<bool>("redOnTop");
  QTest::newRow("red slot 76 nearer") << 1 << true;
  QTest::newRow("red slot 76 farther") << -1 << false;
}

// Slot 1 (lime) and slot 76 (red) overlap; the pixel between their middles is the nearer one's,
// whatever their slot order.
void PictureTest::nearerSphereCoversTheFartherOne() {
  QFETCH(int, depthOf76);
  QFETCH(bool, redOnTop);
  Model m = EmptyDocument();
  Place(m, 1, 0.0L, 0.0L, 0.0L);
  Place(m, 76, 0.1L, depthOf76, 0.0L);
  ViewState view = LookView(600.0L);  // 0.1 is 30 pixels, a radius of 0.2 is 60
  const QImage image =
      Drawn(m, view, {.What = Redraw::Particles, .Style = ParticleStyle::Spheres, .SphereRadius = 0.2L});
  const QColor between(image.pixel(view.ScreenX[1] + 16, view.ScreenY[1] + 1));
  QCOMPARE(between.red() > between.green(), redOnTop);
}

// Lit from the upper left and in front: the middle is lighter than the rim on every side.
void PictureTest::sphereIsLighterInTheMiddleThanAtItsRim() {
  Model m = EmptyDocument();
  Place(m, 1, 0.0L, 0.0L, 0.0L);
  ViewState view = LookView(600.0L);
  const QImage image =
      Drawn(m, view, {.What = Redraw::Particles, .Style = ParticleStyle::Spheres, .SphereRadius = 0.2L});
  const int x = view.ScreenX[1] + 1, y = view.ScreenY[1] + 1;
  const int middle = Lightness(image.pixel(x, y));
  for (const QPoint rim : {QPoint(55, 0), QPoint(-55, 0), QPoint(0, 55), QPoint(0, -55)})
    QVERIFY2(middle > Lightness(image.pixel(x + rim.x(), y + rim.y())) + 40,
             qPrintable(QString::number(middle)));
  QCOMPARE(image.pixel(x + 65, y), qRgb(0, 0, 0));  // beyond the radius
}

void PictureTest::stampedSphereIsTheDrawnOne_data() {
  QTest::addColumn<real>("x");
  QTest::addColumn<real>("y");
  QTest::addColumn<int>("scale");
  QTest::addColumn<real>("radius");
  QTest::newRow("whole") << 0.0L << 0.0L << 1 << 0.2L;
  QTest::newRow("cut by the left edge") << -0.3L << 0.0L << 1 << 0.2L;
  QTest::newRow("cut by a corner") << 0.3L << 0.3L << 1 << 0.2L;
  QTest::newRow("four times") << 0.1L << -0.05L << 4 << 0.2L;
  QTest::newRow("larger than any stamp") << 0.0L << 0.0L << 1 << 1.0e6L;
}

// An image of 32-bit opaque pixels gets spheres stamped; one of another format has them drawn
// as ellipses. Both show the same sphere, to the rounding of the blending, wherever it lies.
void PictureTest::stampedSphereIsTheDrawnOne() {
  QFETCH(real, x);
  QFETCH(real, y);
  QFETCH(int, scale);
  QFETCH(real, radius);
  Model m = EmptyDocument();
  Place(m, 1, x, y, 0.0L);
  ViewState view = LookView(600.0L);
  ProjectParticles(view, m);
  const PictureSource source{
      m,
      view,
      {.What = Redraw::Particles, .Style = ParticleStyle::Spheres, .SphereRadius = radius},
      LookArea};
  QImage stamped(LookArea * scale, QImage::Format_RGB32), drawn(LookArea * scale, QImage::Format_ARGB32);
  RenderInto(stamped, source, scale);
  RenderInto(drawn, source, scale);
  int worst = 0;
  for (int row = 0; row < stamped.height(); ++row)
    for (int column = 0; column < stamped.width(); ++column) {
      const QRgb a = stamped.pixel(column, row), b = drawn.pixel(column, row);
      worst = std::max({worst, std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                        std::abs(qBlue(a) - qBlue(b))});
    }
  QVERIFY2(worst <= 3, qPrintable(QString::number(worst)));
  QVERIFY(LitPixels(stamped) > 1000 * scale * scale);  // not two black pictures
}

// The slowest present particle gets the map's first colour, the fastest its last; the bar runs
// from the last (top) to the first (bottom).
void PictureTest::colourMapEndsAreTheLeastAndGreatestSpeed() {
  Model m = EmptyDocument();
  Place(m, 1, -0.5L, 0.0L, 0.0L);
  Place(m, 2, 0.0L, 0.0L, 0.0L);
  Place(m, 3, 0.5L, 0.0L, 0.0L);
  m.V[1] = 0.5L;
  m.V[2] = 1.0L;
  m.W[3] = -2.0L;
  ViewState view = LookView(120.0L);
  const QImage image = Drawn(m, view, {.What = Redraw::Particles, .Colour = ColourBy::Speed});
  const auto colour = [](const Colour& c) { return qRgb(c.Red, c.Green, c.Blue); };
  QCOMPARE(image.pixel(view.ScreenX[1], view.ScreenY[1]), colour(Viridis(0.0L)));
  QCOMPARE(image.pixel(view.ScreenX[3], view.ScreenY[3]), colour(Viridis(1.0L)));
  QCOMPARE(image.pixel(view.ScreenX[2], view.ScreenY[2]), colour(Viridis(1.0L / 3.0L)));
  // The bar's lowest and highest rows, within the gradient's rounding of the map's ends.
  const int barX = LookArea.width() - 8 - 6;
  const auto near = [](QRgb a, QRgb b) {
    return std::abs(qRed(a) - qRed(b)) <= 4 && std::abs(qGreen(a) - qGreen(b)) <= 4 &&
           std::abs(qBlue(a) - qBlue(b)) <= 4;
  };
  QVERIFY(near(image.pixel(barX, LookArea.height() - 9), colour(Viridis(0.0L))));
  int top = LookArea.height() - 9;
  while (top > 0 && image.pixel(barX, top - 1) != qRgb(0, 0, 0)) --top;
  QVERIFY(near(image.pixel(barX, top), colour(Viridis(1.0L))));
}

// A particle moving 2 pixels a step: after 30 steps with trails of 10 the path reaches back over
// the last 10 positions, 18 pixels, and no further.
void PictureTest::trailReachesBackKStepsAndNoFurther() {
  Model m = EmptyDocument();
  ViewState view = LookView(120.0L);
  TrailRecord trails(10);
  for (int step = 1; step <= 30; ++step) {
    Place(m, 1, step / 30.0L - 1.0L, 0.0L, 0.0L);  // 60 pixels a unit: 2 a step
    m.StepCount = step;
    trails.Add(m);
  }
  const QImage image = Drawn(m, view, {.What = Redraw::Particles}, &trails);
  const int x = view.ScreenX[1], y = view.ScreenY[1];
  const auto lit = [&](int dx) {
    return qGray(image.pixel(x + dx, y)) + qGray(image.pixel(x + dx, y + 1)) > 0;
  };
  QVERIFY(lit(-2));
  QVERIFY(lit(-14));
  QVERIFY(!lit(-21));
  QVERIFY(!lit(-30));
  QCOMPARE(Drawn(m, view, {.What = Redraw::Particles}).pixel(x - 14, y), qRgb(0, 0, 0));  // without trails
}

// While the left button is held 30 pixels to the right of its press, the picture shows the turn
// the release will make and the view is untouched; the release then leaves the view exactly as
// the view commands alone leave it, and the picture as it was shown.
void PictureTest::heldButtonTurnsThePictureAndTheReleaseTheView() {
  StartWithDocument(Scene(), QStringLiteral("scene.ato"));
  QWidget* canvas = Find<QWidget>("Canvas");
  const QPoint press(200, 150), held(230, 150);
  const QImage before = form_->CanvasImage();
  ViewState expected = *view_;
  Model model = *model_;
  MousePress(expected, MouseButton::Left, press.x(), press.y());
  MouseRelease(expected, model, MouseButton::Left, held.x(), held.y());

  QTest::mousePress(canvas, Qt::LeftButton, Qt::NoModifier, press);
  QMouseEvent move(QEvent::MouseMove, QPointF(held), canvas->mapToGlobal(QPointF(held)), Qt::NoButton,
                   Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(canvas, &move);
  const QImage turning = form_->CanvasImage();
  QVERIFY(turning != before);
  QCOMPARE(view_->ViewPhi, 0.0L);
  QTest::mouseRelease(canvas, Qt::LeftButton, Qt::NoModifier, held);
  QVERIFY(std::memcmp(&view_->ViewPhi, &expected.ViewPhi, 10) == 0 && view_->ViewPhi != 0.0L);
  const RotationMatrix &a = view_->RotM, &b = expected.RotM;
  QVERIFY(a.M11 == b.M11 && a.M12 == b.M12 && a.M13 == b.M13 && a.M21 == b.M21 && a.M22 == b.M22 &&
          a.M23 == b.M23 && a.M31 == b.M31 && a.M32 == b.M32 && a.M33 == b.M33);
  QVERIFY(form_->CanvasImage() == turning);
}

void PictureTest::sphereRadiusAndTrailStepsAreAskedForAndChecked_data() {
  QTest::addColumn<QString>("action");
  QTest::addColumn<QString>("typed");
  QTest::addColumn<QString>("error");  // empty: taken
  QTest::newRow("radius 0.3") << "SphereRadius"
                              << "0.3"
                              << "";
  QTest::newRow("radius 0") << "SphereRadius"
                            << "0"
                            << "The sphere radius must be above 0 and at most 1000.";
  QTest::newRow("radius 1000") << "SphereRadius"
                               << "1000"
                               << "";
  QTest::newRow("radius 1e16") << "SphereRadius"
                               << "10000000000000000"
                               << "The sphere radius must be above 0 and at most 1000.";
  QTest::newRow("radius 1000.001") << "SphereRadius"
                                   << "1000.001"
                                   << "The sphere radius must be above 0 and at most 1000.";
  QTest::newRow("radius no number") << "SphereRadius"
                                    << "abc"
                                    << "'abc' is not a valid floating point value.";
  QTest::newRow("trail steps 5") << "TrailSteps"
                                 << "5"
                                 << "";
  QTest::newRow("trail steps 0") << "TrailSteps"
                                 << "0"
                                 << "The trail steps must be 1 to 10000.";
  QTest::newRow("trail steps too many") << "TrailSteps"
                                        << "10001"
                                        << "The trail steps must be 1 to 10000.";
}

// A taken radius shows at once: slot 1's sphere reaches 15 pixels from its middle (0.3 is 18).
void PictureTest::sphereRadiusAndTrailStepsAreAskedForAndChecked() {
  QFETCH(QString, action);
  QFETCH(QString, typed);
  QFETCH(QString, error);
  StartWithDocument(Scene(), QStringLiteral("scene.ato"));
  Find<QAction>("LookSpheres")->trigger();
  DialogProvider::Instance().SetNextText(typed);
  Find<QAction>(action.toLatin1().constData())->trigger();
  QCOMPARE(ErrorTexts(), error.isEmpty() ? QStringList() : QStringList{error});
  const bool large = action == QLatin1String("SphereRadius") && error.isEmpty();
  QCOMPARE(Pixel(view_->ScreenX[1] + 16, view_->ScreenY[1] + 1) != qRgb(0, 0, 0), large);
}

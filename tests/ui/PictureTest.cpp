// Pictures and movies of the scene: the window's File > Export Picture... and velmora-render as
// a process, against the window's own canvas. Both draw through one painter, so the checks are
// about what that promises: the same pixels from the tool and the window, dots at the scaled
// places, one vector shape per particle, a frame per K steps, the frames of a faulting or
// interrupted run kept.

#include <QAction>
#include <QDir>
#include <QProcess>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSvgRenderer>
#include <QToolButton>
#include <QXmlStreamReader>
#include <QtTest>

#include <signal.h>
#include <sys/mount.h>
#include <unistd.h>

#include <numbers>

#include "picture/RowBands.h"
#include "tests/ui/MainFormHarness.h"

using namespace velmora;
using namespace velmora::testing;

namespace {

struct ToolRun {
  int status;
  QString err;
};

ToolRun RunRender(const QStringList& arguments, const QProcessEnvironment& environment =
                                                    QProcessEnvironment::systemEnvironment()) {
  QProcess process;
  process.setProcessEnvironment(environment);
  process.start(QStringLiteral(VELMORA_RENDER_PATH), arguments);
  if (!process.waitForFinished(60000)) return {-1, QStringLiteral("velmora-render did not end")};
  const int status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
  return {status, QString::fromLocal8Bit(process.readAllStandardError())};
}

int MovieFrames(const QString& movie) {
  QProcess probe;
  probe.start(QStringLiteral("ffprobe"), {"-v", "error", "-count_frames", "-select_streams", "v:0", "-show_entries",
                                           "stream=nb_read_frames", "-of", "csv=p=0", movie});
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
  for (int index = 0; index < ParameterCount; ++index) Parameter(m, index) = parameters[index % ParametersPerGroup];
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
  void bandsPaintWhatOnePieceWould_data();
  void bandsPaintWhatOnePieceWould();
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
  const QRgb column[] = {image.pixel(x, y - 1), image.pixel(x, y), image.pixel(x, y + 1), image.pixel(x, y + 2)};
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
  const ToolRun run = RunRender({"--steps", QString::number(steps), "--every", QString::number(every), "--output",
                                 FilePath(movie), FilePath("scene.ato")});
  QCOMPARE(run.err, QString());
  QCOMPARE(run.status, 0);
  QCOMPARE(MovieFrames(FilePath(movie)), steps / every + 1);
  QVERIFY(QFile::exists(FilePath(movie)));
  QCOMPARE(QDir(files_.path()).entryList({".velmora-*"}, QDir::Files | QDir::Hidden), QStringList());  // no pending file left
}

// An older movie of the target's name stays as it was; the frames of the run that could not end
// go beside it under a name that says so.
void PictureTest::faultingRunKeepsTheFramesBeforeTheFault_data() {
  QTest::addColumn<QString>("output");
  QTest::addColumn<QString>("kept");
  QTest::newRow("folder") << "frames/" << "frames/";
  QTest::newRow("movie") << "run.mp4" << "run.partial.mp4";
}

void PictureTest::faultingRunKeepsTheFramesBeforeTheFault() {
  QFETCH(QString, output);
  QFETCH(QString, kept);
  WriteScene(Approaching(), QStringLiteral("scene.ato"));
  if (output != kept) WriteFile(FilePath(output), "an older movie");
  const ToolRun run = RunRender({"--steps", "10", "--every", "2", "--output", FilePath(output), FilePath("scene.ato")});
  QCOMPARE(run.status, 1);
  QCOMPARE(run.err, "velmora-render: Floating point division by zero at step 5; 3 frames kept in " + FilePath(kept) +
                        "\n");
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
  QTest::newRow("folder") << "stopped/" << "stopped/";
  QTest::newRow("movie") << "stopped.mp4" << "stopped.partial.mp4";
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
  render.start(QStringLiteral(VELMORA_RENDER_PATH), {"--quiet", "--steps", "2000000000", "--output", FilePath(output),
                                                     FilePath("scene.ato")});
  QVERIFY(render.waitForStarted());
  QTest::qWait(1500);
  QCOMPARE(render.state(), QProcess::Running);
  ::kill(-static_cast<pid_t>(render.processId()), SIGINT);
  QVERIFY(render.waitForFinished(60000));
  QCOMPARE(render.exitStatus(), QProcess::CrashExit);
  const QString err = QString::fromLocal8Bit(render.readAllStandardError());
  const QRegularExpressionMatch said =
      QRegularExpression(QStringLiteral("^velmora-render: interrupted after step [0-9]+; ([0-9]+) frames kept in (.*)\n$"))
          .match(err);
  QVERIFY2(said.hasMatch(), qPrintable(err));
  QCOMPARE(said.captured(2), FilePath(kept));
  const int frames = said.captured(1).toInt();
  QVERIFY(frames > 1);
  if (output.endsWith('/')) QCOMPARE(QDir(FilePath(output)).entryList(QDir::Files).size(), frames);
  else QCOMPARE(MovieFrames(FilePath(kept)), frames);
  if (output != kept) QCOMPARE(ReadFile(FilePath(output)), QByteArray("an older movie"));
}

// A folder holding frames of another run is refused; --overwrite removes those frames, and only
// those, before the first new one.
void PictureTest::folderWithOtherFramesNeedsOverwrite() {
  WriteScene(Scene(), QStringLiteral("scene.ato"));
  QDir().mkpath(FilePath("others"));
  for (const char* name : {"frame-000000.png", "frame-000007.png", "notes.txt"}) WriteFile(FilePath("others/") + name, "old");
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
  if (::mount("tmpfs", StdPath("disk").c_str(), "tmpfs", 0, "size=64k") != 0) QSKIP("no file system can be mounted here");
  const ToolRun run = RunRender({"--steps", "100000", "--size", "64x64", "--output", FilePath("disk/"), FilePath("scene.ato")});
  const QStringList frames = QDir(FilePath("disk")).entryList(QDir::Files | QDir::Hidden);
  bool whole = true;
  for (const QString& frame : frames) whole = whole && !QImage(FilePath("disk/") + frame).isNull();
  ::umount(StdPath("disk").c_str());
  QCOMPARE(run.status, 1);
  const QRegularExpressionMatch said =
      QRegularExpression(QStringLiteral("^velmora-render: .*/frame-[0-9]+\\.png: Disk full; ([0-9]+) frames kept in (.*)\n$"))
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
  render.start(QStringLiteral(VELMORA_RENDER_PATH), {"--quiet", "--steps", "2", "--output", FilePath("unawaited.gif"),
                                                     FilePath("scene.ato")});
  QVERIFY(render.waitForFinished(60000));
  QCOMPARE(render.exitCode(), 1);
  QCOMPARE(QString::fromLocal8Bit(render.readAllStandardError()),
           QStringLiteral("velmora-render: ffmpeg could not make the movie (its end could not be awaited)\n"));
  QVERIFY(!QFile::exists(FilePath("unawaited.gif")));
}

void PictureTest::movieWithoutFfmpegIsAUsageError() {
  WriteScene(Scene(), QStringLiteral("scene.ato"));
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert(QStringLiteral("PATH"), FilePath("no-such-folder"));
  const ToolRun run = RunRender({"--steps", "5", "--output", FilePath("none.mp4"), FilePath("scene.ato")}, environment);
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

#pragma once
// What the main window's tests share: a scene with known positions, the window created on a
// model and a view state of the test's own, controls found by name, the canvas's pixels. The
// harness points XDG_CONFIG_HOME at a temporary folder before any window exists, so a test never
// touches the start file of the person running it, and switches the dialogs to test mode.

#include <sys/resource.h>
#include <unistd.h>

#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>
#include <csignal>
#include <memory>
#include <string>

#include "documents/DocumentFile.h"
#include "documents/StartFile.h"
#include "model/Model.h"
#include "model/ProgramError.h"
#include "sim/Stepper.h"
#include "tests/core/SceneFactory.h"
#include "ui/common/DialogProvider.h"
#include "ui/main/MainForm.h"
#include "view/SceneColours.h"
#include "view/ViewState.h"

namespace velmora::testing {

// Four taons of the three groups on the axes, one unit from the origin, moving slowly; slot 3 is
// empty but holds values, which the listing must not show.
inline Model Scene() {
  Model m;
  m.N = SlotCount;
  m.dt = 0.002L;
  const real parameters[ParametersPerGroup] = {1.0L, 2.718L, 5.0L, 10.0L, 20.0L, 30.0L};
  for (int index = 0; index < ParameterCount; ++index)
    Parameter(m, index) = parameters[index % ParametersPerGroup];
  Place(m, 1, 1.0L, 0.0L, 0.0L, 0.25L, 0.0L, -0.5L);
  Place(m, 2, 0.0L, 0.0L, -1.0L, 0.0L, 0.125L, 0.0L);
  Place(m, 51, 0.0L, 0.0L, 1.0L);
  Place(m, 76, -1.0L, 0.0L, 0.0L, -0.75L);
  m.X[3] = 7.0L;
  return m;
}

// A second scene, different from Scene() in every slot it fills.
inline Model OtherScene() {
  Model m = Scene();
  m.dt = 0.0005L;
  m.B2 = 3.5L;
  m.Present[2] = false;
  Place(m, 9, 0.5L, 0.5L, 0.5L, 0.0L, -0.25L, 0.0L);
  return m;
}

// The core's steps from `model` on, run by run as the window runs them: each run starts from the
// step count the last one left and ends at its first fault. The fault's message, or "".
inline std::string CoreRun(Model& model, int steps, const StepSettings& settings = {}) {
  Stepper stepper;
  int counter = model.StepCount;
  try {
    if (steps > 0) ThrowIfNotANumber(model);
    for (int step = 0; step < steps; ++step) stepper.Step(model, settings, counter);
  } catch (const FloatingPointFault& fault) {
    return fault.what();
  }
  return {};
}

// The texts of the error boxes shown since the dialogs were last reset.
inline QStringList ErrorTexts() {
  QStringList texts;
  for (const ShownDialog& dialog : DialogProvider::Instance().Shown())
    if (dialog.Kind == DialogKind::Error) texts << dialog.Text;
  return texts;
}

inline QRgb Rgb(const Colour& c) { return qRgb(c.Red, c.Green, c.Blue); }

inline bool SameArrays(const SlotArray<real>& a, const SlotArray<real>& b) {
  for (int i = 1; i <= SlotCount; ++i)
    if (!SameBits(a[i], b[i])) return false;
  return true;
}

// Lets writes fail beyond `bytes` bytes, as a full disk would, for as long as it lives.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    std::signal(SIGXFSZ, SIG_IGN);
    getrlimit(RLIMIT_FSIZE, &old_);
    rlimit limit = old_;
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &old_); }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

 private:
  rlimit old_{};
};

// The superuser reads and writes every file. A test of refused access acts, while this lives, as
// the conventional "nobody"; only the effective identity changes, so the test can come back.
// An ordinary user stays who it is.
class UnprivilegedUser {
 public:
  explicit UnprivilegedUser(bool drop = true) {
    if (!drop || geteuid() != 0) return;
    group_ = getegid();
    if (setegid(Nobody) != 0 || seteuid(Nobody) != 0) qFatal("cannot act as an ordinary user");
    dropped_ = true;
  }
  ~UnprivilegedUser() {
    if (dropped_ && (seteuid(0) != 0 || setegid(group_) != 0)) qFatal("cannot return to the superuser");
  }
  UnprivilegedUser(const UnprivilegedUser&) = delete;
  UnprivilegedUser& operator=(const UnprivilegedUser&) = delete;

 private:
  static constexpr uid_t Nobody = 65534;
  bool dropped_ = false;
  gid_t group_ = 0;
};

class MainFormHarness {
 public:
  // Once per test program.
  void InitTestCase() {
    QVERIFY(config_.isValid() && files_.isValid());
    qputenv("XDG_CONFIG_HOME", config_.path().toLocal8Bit());
    // Readable by the ordinary user that tests of refused access act as, the start file's folder
    // included.
    const QString startFolder = QFileInfo(QString::fromStdString(StartFilePath())).absolutePath();
    QVERIFY(QDir().mkpath(startFolder));
    for (const QString& folder : {config_.path(), files_.path(), startFolder})
      QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                        QFile::ReadOther | QFile::ExeOther);
    DialogProvider::Instance().EnableTestMode();
  }

  // Before each test: no start file, no recorded dialogs, a fresh model and view state.
  void Init() {
    DialogProvider::Instance().Reset();
    QFile::remove(QString::fromStdString(StartFilePath()));
    model_ = std::make_unique<Model>();
    view_ = std::make_unique<ViewState>();
  }

  void Cleanup() { form_.reset(); }

  // Creates the window, which runs its start-up, and shows it.
  void Start() {
    form_ = std::make_unique<TMainForm>(*model_, *view_);
    form_->show();
    QVERIFY(QTest::qWaitForWindowExposed(form_.get()));
  }

  void WriteScene(const Model& scene, const QString& name) const {
    Model writer = scene;
    WriteDocumentFile(writer, StdPath(name));
  }

  // Writes the scene as a document, names it in the start file and starts.
  void StartWithDocument(const Model& scene, const QString& name) {
    WriteScene(scene, name);
    WriteStartFile(StdPath(name));
    Start();
  }

  QString FilePath(const QString& name) const { return files_.filePath(name); }
  std::string StdPath(const QString& name) const { return FilePath(name).toStdString(); }

  template <class T>
  T* Find(const char* name) const {
    T* control = form_->findChild<T*>(QString::fromLatin1(name));
    if (!control) qFatal("no control %s", name);
    return control;
  }
  QString Text(const char* name) const { return Find<QLineEdit>(name)->text(); }

  void Activate() {
    form_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(form_.get()));
  }

  // Clicks "Go"; the run stops itself after the given number of steps.
  void Run(int steps) {
    form_->SetStopAfterSteps(steps);
    Find<QPushButton>("Go")->click();
  }

  QRgb Pixel(int x, int y) const { return form_->CanvasImage().pixel(x, y); }
  QRgb PixelOfSlot(int slot) const { return Pixel(view_->ScreenX[slot], view_->ScreenY[slot]); }

 protected:
  QTemporaryDir config_;
  QTemporaryDir files_;
  std::unique_ptr<Model> model_;
  std::unique_ptr<ViewState> view_;
  std::unique_ptr<TMainForm> form_;
};

}  // namespace velmora::testing

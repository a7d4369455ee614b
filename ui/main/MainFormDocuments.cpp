// The main window's File and View > Show Images commands, the comment memo's save question, the
// Help menu and the About box. Each command runs its steps in order and stops at a failing one:
// what it did before stays done, and the error box reports the failure.

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStringList>
#include <QToolButton>
#include <algorithm>
#include <filesystem>
#include <memory>

#include "documents/CommentFile.h"
#include "documents/DocumentFile.h"
#include "documents/RecentDocuments.h"
#include "documents/StartFile.h"
#include "documents/XyzFrameIndex.h"
#include "figures/FigureBuilder.h"
#include "ui/about/AboutBox.h"
#include "ui/common/DialogProvider.h"
#include "ui/common/ErrorReport.h"
#include "ui/common/FileNames.h"
#include "ui/common/PictureExport.h"
#include "ui/help/HelpWindow.h"
#include "ui/history/HistoryBar.h"
#include "ui/history/MovieExport.h"
#include "ui/history/SceneUndo.h"
#include "ui/main/MainForm.h"
#include "ui/main/MemoText.h"
#include "ui/main/SceneCanvas.h"

namespace velmora {

namespace {

constexpr const char* TaonsTitle = "This is a stabil structur of taons";
const QString CommentQuestion = QStringLiteral("The text was changed. Save now?");

}  // namespace

// Particle mode and figure mode differ in whether a run and a velocity reset are possible.
void TMainForm::SetDocumentControlsEnabled(bool enabled) {
  Go->setEnabled(enabled);
  Null00->setEnabled(enabled);
}

void TMainForm::Open1Click() {
  if (const std::optional<QString> name = DialogProvider::Instance().OpenFileName(this))
    OpenDocument(FileName(*name));
}

// File > Open Trajectory...: the file's frames play in the history bar over the particles; the
// scene stays as it is. Frames after a damaged one are not reached: the box says which frame and
// line, and the frames before it play.
void TMainForm::OpenTrajectory1Click() {
  if (model_.SpiralShown) {
    DialogProvider::Instance().ShowInformation(
        this, QStringLiteral(
                  "A trajectory plays over the particles: show them first (View > Show Images > Taons)."));
    return;
  }
  const std::optional<QString> name = DialogProvider::Instance().OpenFileName(
      this, QStringLiteral("Open Trajectory"),
      QStringLiteral("XYZ trajectories (*.xyz *.extxyz);;All files (*)"));
  if (!name) return;
  auto trajectory = std::make_unique<XyzFrameIndex>(FileName(*name));
  const std::string damage = trajectory->Damage();
  if (!History1->isChecked()) History1->trigger();
  historyBar_->PlayTrajectory(std::move(trajectory));
  if (!damage.empty()) DialogProvider::Instance().ShowError(this, QString::fromStdString(damage));
}

// File > Open from its chosen name on, also for a recent document, a dropped one and one named
// on the command line: first the comment's save question, with Cancel, for the memo then takes
// the new document's comment. A document that cannot be read leaves the
// model as it was and the name of the document that Save writes, but the window has already
// left figure mode.
void TMainForm::OpenDocument(const std::string& name) {
  if (!CommentLeaves()) return;
  model_.SpiralShown = false;
  SetDocumentControlsEnabled(true);
  TakeDocumentName(name, [this] {
    ReadDocumentFile(model_, model_.DocFileName);
    RememberLastDocument(model_);
  });
  ownDocument_ = true;
  ApplySnapshot(model_);
  undo_->Clear();
  model_.StepCount = 0;
  LTime->setText(QStringLiteral("0"));
  SceneReplaced();
  DrawParticles();
  FillListing();
  FillParameterFields();
  ApplyLoadedComment();
  TryAddRecentDocument(name);
}

// Whatever opens a document besides File > Open (a drop, File > Recent Documents) is taken
// only when File > Open would be taken now, and never while a modal box or dialog is up.
bool TMainForm::CanOpenDocument() const { return Open1->isEnabled() && !QApplication::activeModalWidget(); }

// A document dropped on the window opens as File > Open opens it.
void TMainForm::DocumentDropped(const QString& name) {
  if (!CanOpenDocument()) return;
  OpenDocument(FileName(name));
}

// File > Recent Documents, filled from the list's file each time it opens, so that what another
// instance of the program opened or saved shows too.
void TMainForm::FillRecentMenu() {
  RecentDocuments->clear();
  const std::vector<std::string> names = ReadRecentDocuments();
  for (std::size_t index = 0; index < names.size(); ++index) {
    const std::string& name = names[index];
    QString text = ShownFileName(name);
    text.replace(QLatin1Char('&'), QStringLiteral("&&"));
    QAction* entry = RecentDocuments->addAction(QStringLiteral("&%1 %2").arg(index + 1).arg(text));
    entry->setEnabled(CanOpenDocument());
    connect(entry, &QAction::triggered, this,
            [this, name] { RunCommand([this, name] { RecentDocumentClick(name); }); });
  }
  RecentDocuments->addSeparator();
  QAction* clear = RecentDocuments->addAction(QStringLiteral("Clear List"));
  clear->setObjectName(QStringLiteral("ClearList"));
  clear->setEnabled(!names.empty());
  connect(clear, &QAction::triggered, this, [this] { Guarded([this] { ClearListClick(); }); });
}

// A document that is no longer there leaves the list, with a word naming it; any other
// failure to open it is File > Open's.
void TMainForm::RecentDocumentClick(const std::string& name) {
  if (!CanOpenDocument()) return;
  std::error_code ignored;
  if (!std::filesystem::exists(name, ignored)) {
    RemoveRecentDocument(name);
    DialogProvider::Instance().ShowInformation(
        this,
        QStringLiteral("The document \"%1\" no longer exists and has been removed from the recent documents.")
            .arg(ShownFileName(name)));
    return;
  }
  OpenDocument(name);
}

void TMainForm::ClearListClick() { ClearRecentDocuments(); }

// File > Save: the scene under the current name, without a question; the start file and the
// comment file stay as they are. A scene of no document of the user's is saved as Save As does.
void TMainForm::Save1Click() {
  if (model_.SpiralShown) return;
  if (!ownDocument_) {
    Saveas1Click();
    return;
  }
  WriteDocumentFile(model_, model_.DocFileName);
  TryAddRecentDocument(model_.DocFileName);
}

void TMainForm::Saveas1Click() {
  if (model_.SpiralShown) return;
  if (const std::optional<QString> name = DialogProvider::Instance().SaveFileName(this))
    SaveAsSequence(*name);
}

// Save As from its chosen name on: the name becomes the document's, the scene is written and the
// start file remembers it.
void TMainForm::SaveAsSequence(const QString& name) {
  TakeDocumentName(FileName(name), [this] {
    WriteDocumentFile(model_, model_.DocFileName);
    RememberLastDocument(model_);
  });
  ownDocument_ = true;
  TryAddRecentDocument(model_.DocFileName);
}

void TMainForm::TakeDocumentName(const std::string& name, const std::function<void()>& steps) {
  const std::string before = model_.DocFileName;
  model_.DocFileName = name;
  ShowDocumentName();
  try {
    steps();
  } catch (...) {
    model_.DocFileName = before;
    ShowDocumentName();
    throw;
  }
}

// File > Export Picture...: the scene as the canvas shows it now, drawn again in the chosen
// format; the scene, the view and the figure's turn are left as they are.
void TMainForm::ExportPicture1Click() {
  ExportDrawing(this, QStringLiteral("Export Picture"), SceneDrawing(Canvas->Source(model_, view_)));
}

void TMainForm::ExportMovie1Click() {
  ExportMovie(this, *historyBar_, [this] { return Canvas->Source(model_, view_); });
}

// View > Show Images > Spiral: the figure in its first position; the scene stays in the model.
void TMainForm::Spiral1Click() {
  historyBar_->ReturnToScene();
  model_.SpiralShown = true;
  BuildFigure(model_, view_.FigureKind);
  SetDocumentControlsEnabled(false);
  SceneReplaced();
  DrawFigure();
}

// View > Show Images > Taons: back to the particles of the remembered document, or the easy
// square when none is remembered. The step count and the comment stay; the fields show the
// time step and parameters now in force. Undo names it for what it brought.
void TMainForm::Daons1Click() {
  {
    SceneUndo::Session entry(*undo_);
    entry.name = "Taons";
    ShowImagesOfTaons();
    if (model_.DocFileName == TaonsTitle) entry.name = "Easy Square";
  }
  SceneReplaced();
  FillParameterFields();
}

void TMainForm::ShowImagesOfTaons() {
  model_.SpiralShown = false;
  SetDocumentControlsEnabled(true);
  const std::optional<std::string> last = ReadStartFile();
  if (!last) {
    DialogProvider::Instance().ShowInformation(this, QStringLiteral("The start File not found."));
    return;
  }
  model_.LastDocFileName = *last;
  if (last->empty()) {
    BuildFigure(model_, view_.FigureKind);
    model_.DocFileName = TaonsTitle;
    ownDocument_ = false;
    FillListing();
    ShowDocumentName();
    DrawParticles();
    return;
  }
  model_.DocFileName = *last;
  ShowDocumentName();
  // A remembered document that cannot be read gives the easy square; it shows at the next redraw.
  if (!ReadRememberedDocument(model_.DocFileName)) {
    BuildFigure(model_, view_.FigureKind);
    return;
  }
  ApplySnapshot(model_);
  DrawParticles();
  FillListing();
}

void TMainForm::CommentChange() { commentChanged_ = true; }

// Leaving the memo after a change asks once whether to keep the text in the document's comment
// file; the question is not repeated until the text changes again. A text that could not be
// written keeps its mark, so that the question comes again.
void TMainForm::CommentExit() {
  if (!commentChanged_) return;
  if (DialogProvider::Instance().Confirm(this, CommentQuestion)) WriteComment();
  commentChanged_ = false;
}

// Before the memo's text goes (the window closes, another document comes): the same question
// with Cancel. False when the user cancels; a comment that could not be written throws.
bool TMainForm::CommentLeaves() {
  if (!commentChanged_) return true;
  const DialogProvider::Answer answer = DialogProvider::Instance().ConfirmOrCancel(this, CommentQuestion);
  if (answer == DialogProvider::Answer::Cancel) return false;
  if (answer == DialogProvider::Answer::Yes) WriteComment();
  commentChanged_ = false;
  return true;
}

void TMainForm::WriteComment() {
  WriteCommentFile(CommentFileName(model_.DocFileName), commentEncoding_.Encode(MemoText(*Comment)));
}

// The three help entries name their help file; the help window finds it by that name and shows
// its contents page, or says that it is missing.
void TMainForm::ShowHelp(const QString& helpFile) {
  if (!helpWindow_) helpWindow_ = new HelpWindow(this);
  helpWindow_->ShowContents(helpFile);
}

void TMainForm::Help1Click() { ShowHelp(QStringLiteral("HelpUK.hlp")); }

void TMainForm::RusHelpClick() { ShowHelp(QStringLiteral("HlpArtRu.hlp")); }

void TMainForm::PolHelpClick() { ShowHelp(QStringLiteral("HlpArtPl.hlp")); }

void TMainForm::About1Click() {
  if (aboutBox_) aboutBox_->exec();
}

}  // namespace velmora

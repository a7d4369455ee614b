// The main window's File and View > Show Images commands, the comment memo's save question, the
// Help menu and the About box. Each command runs its steps in order and stops at a failing one:
// what it did before stays done, and the error box reports the failure.

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolButton>

#include "documents/CommentFile.h"
#include "documents/DocumentFile.h"
#include "documents/StartFile.h"
#include "figures/FigureBuilder.h"
#include "ui/AboutBox.h"
#include "ui/DialogProvider.h"
#include "ui/FileNames.h"
#include "ui/HelpWindow.h"
#include "ui/MainForm.h"

namespace velmora {

namespace {

constexpr const char* TaonsTitle = "This is a stabil structur of taons";

}  // namespace

// Particle mode and figure mode differ in whether a run and a velocity reset are possible.
void TMainForm::SetDocumentControlsEnabled(bool enabled) {
  Go->setEnabled(enabled);
  Null00->setEnabled(enabled);
}

// File > Open. A document that cannot be read leaves the model as it was, but the window has
// already left figure mode and shows the chosen name.
void TMainForm::Open1Click() {
  const std::optional<QString> name = DialogProvider::Instance().OpenFileName(this);
  if (!name) return;
  model_.SpiralShown = false;
  SetDocumentControlsEnabled(true);
  model_.DocFileName = FileName(*name);
  ShowDocumentName();
  ReadDocumentFile(model_, model_.DocFileName);
  RememberLastDocument(model_);
  ApplySnapshot(model_);
  model_.StepCount = 0;
  LTime->setText(QStringLiteral("0"));
  DrawParticles();
  FillListing();
  FillParameterFields();
  ApplyLoadedComment();
}

// File > Save: the scene under the current name, without a question; the start file and the
// comment file stay as they are.
void TMainForm::Save1Click() {
  if (model_.SpiralShown) return;
  WriteDocumentFile(model_, model_.DocFileName);
}

void TMainForm::Saveas1Click() {
  if (model_.SpiralShown) return;
  if (const std::optional<QString> name = DialogProvider::Instance().SaveFileName(this)) SaveAsSequence(*name);
}

// Save As from its chosen name on: the name becomes the document's, the scene is written and the
// start file remembers it.
void TMainForm::SaveAsSequence(const QString& name) {
  model_.DocFileName = FileName(name);
  ShowDocumentName();
  WriteDocumentFile(model_, model_.DocFileName);
  RememberLastDocument(model_);
}

// View > Show Images > Spiral: the figure in its first position; the scene stays in the model.
void TMainForm::Spiral1Click() {
  model_.SpiralShown = true;
  BuildFigure(model_, view_.FigureKind);
  SetDocumentControlsEnabled(false);
  DrawFigure();
}

// View > Show Images > Taons: back to the particles of the remembered document, or the easy
// square when none is remembered. The step count, the fields and the comment stay.
void TMainForm::Daons1Click() {
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
    FillListing();
    ShowDocumentName();
    DrawParticles();
    return;
  }
  model_.DocFileName = *last;
  ShowDocumentName();
  // A remembered document that is gone gives the easy square, silently; it shows at the next
  // redraw.
  if (!TryReadDocumentFile(model_, model_.DocFileName)) {
    BuildFigure(model_, view_.FigureKind);
    return;
  }
  ApplySnapshot(model_);
  DrawParticles();
  FillListing();
}

void TMainForm::CommentChange() { commentChanged_ = true; }

// Leaving the memo after a change asks once whether to keep the text in the document's comment
// file; the question is not repeated until the text changes again.
void TMainForm::CommentExit() {
  if (!commentChanged_) return;
  commentChanged_ = false;
  if (!DialogProvider::Instance().Confirm(this, QStringLiteral("The text was changed. Save now?"))) return;
  WriteCommentFile(CommentFileName(model_.DocFileName), commentEncoding_.Encode(Comment->toPlainText()));
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

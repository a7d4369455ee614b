#include "ui/editor/EditDlg.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>

#include "documents/DocumentFile.h"
#include "documents/RecentDocuments.h"
#include "text/Listing.h"
#include "ui/common/ControlLook.h"
#include "ui/common/DialogProvider.h"
#include "ui/common/FileNames.h"
#include "ui/common/NumberFields.h"
#include "ui/editor/EditorGrid.h"

namespace velmora {

TEditDlg::TEditDlg(Model& model, TaoscopeQuery taoscopeSelected, char decimalSeparator, QWidget* parent)
    : QDialog(parent),
      model_(model),
      taoscopeSelected_(std::move(taoscopeSelected)),
      separator_(decimalSeparator) {
  CreateControls();
  ConnectControls();
}

// The dialog reloads its fields at every opening, centred on the screen (not on the main
// window) each time. It does not reload when the window system merely asks for it to be drawn
// again (a menu closing over it, a file dialog going away): that would throw away whatever was
// typed and not yet stored. The model cannot change behind the modal dialog; what its own
// buttons store, they show again themselves.
void TEditDlg::showEvent(QShowEvent* event) {
  adjustPosition(nullptr);
  QDialog::showEvent(event);
  storedSomething_ = false;
  wroteDocument_ = false;
  FormPaint();
}

// Text typed into a reloaded field and not yet stored is replaced by the model's value.
void TEditDlg::FormPaint() {
  look::SetFieldText(EditFileName, ShownFileName(model_.DocFileName));
  ShowSelectedParticle(DaonsTable->SelectedRow());
  look::SetFieldText(EditDT, NumberText(model_.dt, separator_));
  for (int i = 0; i < ParameterCount; ++i)
    look::SetFieldText(parameterFields_[i], NumberText(Parameter(model_, i), separator_));
  FillEditorGrid();
}

void TEditDlg::FillEditorGrid() {
  static const char* const PositionHeader[] = {"X", "Y", "Z"};
  static const char* const VelocityHeader[] = {"Velo", "u(x)", "u(y)", "u(z)"};
  if (!editorListVelocities_) {
    DaonsTable->SetCell(0, 0, taoscopeSelected_() ? QStringLiteral("Taons") : QStringLiteral("Gravons"));
    for (int column = 1; column <= 3; ++column) DaonsTable->SetCell(column, 0, PositionHeader[column - 1]);
  } else {
    for (int column = 0; column <= 3; ++column) DaonsTable->SetCell(column, 0, VelocityHeader[column]);
  }
  for (int i = 1; i <= model_.N; ++i) DaonsTable->SetCell(0, i, QString::number(i));
  for (int i = 1; i <= model_.N; ++i) {
    const auto cells = ListingCells(model_, i, editorListVelocities_, separator_);
    for (int column = 1; column <= 3; ++column)
      DaonsTable->SetCell(column, i, QString::fromStdString(cells[column - 1]));
  }
}

// Position and velocity whatever the grid shows, and the stored values of an empty slot too.
void TEditDlg::ShowSelectedParticle(int row) {
  NumberOfTaon->setText(QString::number(row));
  look::SetFieldText(EditX, NumberText(model_.X[row], separator_));
  look::SetFieldText(EditY, NumberText(model_.Y[row], separator_));
  look::SetFieldText(EditZ, NumberText(model_.Z[row], separator_));
  look::SetFieldText(EditV, NumberText(model_.V[row], separator_));
  look::SetFieldText(EditU, NumberText(model_.U[row], separator_));
  look::SetFieldText(EditW, NumberText(model_.W[row], separator_));
  DaoTrue->setChecked(model_.Present[row]);
}

// Leaving a row throws away whatever was typed for it and not stored.
void TEditDlg::DaonsTableSelectCell(int leavingRow) { ShowSelectedParticle(leavingRow); }

void TEditDlg::DaonsTableClick() {
  ShowSelectedParticle(DaonsTable->SelectedRow());
  FillEditorGrid();
}

void TEditDlg::DaonsTableDblClick() {
  editorListVelocities_ = !editorListVelocities_;
  FillEditorGrid();
}

// Each value is stored as soon as it is converted: a field that fails leaves the ones before
// it stored and the rest, the existence flag and the grid as they were. The slot's working and
// display copies follow at once, so that a run and the picture go on from what the grid shows.
void TEditDlg::SubmitClick() {
  const int r = ParseInteger(NumberOfTaon->text().toStdString());
  storedSomething_ = true;
  model_.X[r] = FieldValue(EditX, separator_);
  model_.Y[r] = FieldValue(EditY, separator_);
  model_.Z[r] = FieldValue(EditZ, separator_);
  model_.V[r] = FieldValue(EditV, separator_);
  model_.U[r] = FieldValue(EditU, separator_);
  model_.W[r] = FieldValue(EditW, separator_);
  model_.Present[r] = DaoTrue->isChecked();
  // In figure mode the display copies hold the figure; "OK" aligns the copies as it leaves it.
  if (!model_.SpiralShown) AlignCopies(model_, r);
  FillEditorGrid();
}

// The dialog closes with result OK whatever happens here (see ConnectControls). The time step
// and parameters are read again after the document and the start file are written, and the
// run loop's working and display copies of every present slot are brought into line with the
// edited particles. The comment file is neither written nor read.
void TEditDlg::OKBtnClick() {
  const std::optional<QString> chosen = DialogProvider::Instance().SaveFileName(this);
  if (!chosen) return;
  const std::string name = FileName(*chosen);
  StoreTimeStepAndParameters();
  WriteDocumentFile(model_, name);
  model_.DocFileName = name;
  wroteDocument_ = true;
  RememberLastDocument(model_);
  StoreTimeStepAndParameters();
  AlignCopiesOfPresentSlots();
  TryAddRecentDocument(name);
}

// Writes the scene under a chosen name and leaves the dialog open; the current document's
// name, the start file and the working copies stay as they are; the file-name field shows the
// chosen name until the next opening.
void TEditDlg::SaveasClick() {
  const std::optional<QString> chosen = DialogProvider::Instance().SaveFileName(this);
  if (!chosen) return;
  look::SetFieldText(EditFileName, *chosen);
  StoreTimeStepAndParameters();
  WriteDocumentFile(model_, FileName(*chosen));
  TryAddRecentDocument(FileName(*chosen));
}

void TEditDlg::StoreTimeStepAndParameters() {
  storedSomething_ = true;
  model_.dt = FieldValue(EditDT, separator_);
  for (int i = 0; i < ParameterCount; ++i) Parameter(model_, i) = FieldValue(parameterFields_[i], separator_);
}

void TEditDlg::AlignCopiesOfPresentSlots() {
  for (int i = 1; i <= model_.N; ++i)
    if (model_.Present[i]) AlignCopies(model_, i);
}

}  // namespace velmora

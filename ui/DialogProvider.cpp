#include "ui/DialogProvider.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>

#include "documents/DocumentFile.h"

namespace velmora {

namespace {

const QString ErrorCaption = QStringLiteral("Velmora");
const QString ConfirmCaption = QStringLiteral("Confirm");
const QString InformationCaption = QStringLiteral("Information");

}  // namespace

DialogProvider& DialogProvider::Instance() {
  static DialogProvider provider;
  return provider;
}

QString ErrorBoxText(const QString& message) {
  if (!message.isEmpty() && message.back() > QLatin1Char('.')) return message + QLatin1Char('.');
  return message;
}

std::optional<QString> DialogProvider::QueuedFileName() {
  if (nextFileNames_.empty()) return std::nullopt;
  const bool chosen = nextFileNames_.front().has_value();
  const QString name = nextFileNames_.front().value_or(QString());
  nextFileNames_.pop_front();
  if (!chosen) return std::nullopt;
  return name;
}

std::optional<QString> DialogProvider::AskFileName(QWidget* parent, DialogKind kind, const QString& caption) {
  std::optional<QString> chosen;
  if (testMode_) {
    shown_.push_back({kind, caption, {}});
    chosen = QueuedFileName();
  } else {
    QFileDialog dialog(parent, caption, QDir::currentPath(), QString::fromUtf8(DocumentFilter));
    dialog.setDefaultSuffix(QString::fromUtf8(DocumentExtension));
    // AnyFile: the open dialog, too, takes a name that does not exist yet; opening it then
    // reports "File not found" like any other failed open.
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setAcceptMode(kind == DialogKind::OpenFile ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
      chosen = dialog.selectedFiles().constFirst();
  }
  // As the platform's dialogs do, the chosen file's folder becomes the current directory: a
  // relative name such as the spiral's comment file lands beside the last document chosen.
  if (chosen && !testMode_) QDir::setCurrent(QFileInfo(*chosen).absolutePath());
  return chosen;
}

std::optional<QString> DialogProvider::OpenFileName(QWidget* parent) {
  return AskFileName(parent, DialogKind::OpenFile, {});
}

std::optional<QString> DialogProvider::SaveFileName(QWidget* parent, const QString& caption) {
  return AskFileName(parent, DialogKind::SaveFile, caption);
}

void DialogProvider::ShowError(QWidget* parent, const QString& message) {
  const QString text = ErrorBoxText(message);
  if (testMode_) {
    shown_.push_back({DialogKind::Error, ErrorCaption, text});
    return;
  }
  QMessageBox box(QMessageBox::Critical, ErrorCaption, text, QMessageBox::Ok, parent);
  box.exec();
}

bool DialogProvider::Confirm(QWidget* parent, const QString& question) {
  if (testMode_) {
    shown_.push_back({DialogKind::Confirmation, ConfirmCaption, question});
    if (nextAnswers_.empty()) return false;
    const bool yes = nextAnswers_.front();
    nextAnswers_.pop_front();
    return yes;
  }
  QMessageBox box(QMessageBox::Question, ConfirmCaption, question, QMessageBox::Yes | QMessageBox::No, parent);
  box.button(QMessageBox::Yes)->setText(QStringLiteral("&Yes"));
  box.button(QMessageBox::No)->setText(QStringLiteral("&No"));
  box.setDefaultButton(QMessageBox::Yes);
  return box.exec() == QMessageBox::Yes;
}

void DialogProvider::ShowInformation(QWidget* parent, const QString& message) {
  if (testMode_) {
    shown_.push_back({DialogKind::Information, InformationCaption, message});
    return;
  }
  QMessageBox box(QMessageBox::Information, InformationCaption, message, QMessageBox::Ok, parent);
  box.button(QMessageBox::Ok)->setText(QStringLiteral("OK"));
  box.exec();
}

void DialogProvider::EnableTestMode() { testMode_ = true; }

void DialogProvider::SetNextFileName(std::optional<QString> name) { nextFileNames_.push_back(std::move(name)); }

void DialogProvider::SetNextAnswer(bool yes) { nextAnswers_.push_back(yes); }

void DialogProvider::Reset() {
  nextFileNames_.clear();
  nextAnswers_.clear();
  shown_.clear();
}

}  // namespace velmora

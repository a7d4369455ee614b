#include "ui/common/DialogProvider.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QInputDialog>
#include <QLineEdit>
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

QString VisibleControls(const QString& text) {
  constexpr char16_t FirstControlPicture = 0x2400;  // U+2400 .. U+241F picture U+0000 .. U+001F
  constexpr char16_t DeletePicture = 0x2421;
  QString shown = text;
  for (QChar& c : shown) {
    if (c.unicode() < 0x20)
      c = QChar(char16_t(FirstControlPicture + c.unicode()));
    else if (c.unicode() == 0x7F)
      c = QChar(DeletePicture);
  }
  return shown;
}

QString ShownMessage(const QString& message) {
  const QString shown = VisibleControls(message);
  if (shown.size() <= MessageShownLength) return shown;
  const QString ellipsis = QStringLiteral(" \u2026 ");
  const qsizetype kept = (MessageShownLength - ellipsis.size()) / 2;
  return shown.left(kept) + ellipsis + shown.right(kept);
}

namespace {

// A message box's text exactly as ShownMessage gives it, never read as markup (which could
// make the box load files named in it).
void SetBoxText(QMessageBox& box, const QString& message) {
  box.setTextFormat(Qt::PlainText);
  box.setText(ShownMessage(message));
}

// The next of the answers queued for a test: none when there is none left or it is a cancel.
template <class T>
std::optional<T> TakeNext(std::deque<std::optional<T>>& answers) {
  std::optional<T> answer;
  if (answers.empty()) return answer;
  answer.swap(answers.front());
  answers.pop_front();
  return answer;
}

}  // namespace

std::optional<QString> DialogProvider::QueuedFileName() { return TakeNext(nextFileNames_); }

namespace {

// The extension a filter such as "SVG drawing (*.svg)" names.
QString FilterSuffix(const QString& filter) {
  const qsizetype star = filter.lastIndexOf(QStringLiteral("*."));
  return star < 0 ? QString() : filter.mid(star + 2).chopped(1);
}

constexpr QStringView FilterSeparator = u";;";

}  // namespace

std::optional<QString> DialogProvider::AskFileNameOnce(QWidget* parent, DialogKind kind,
                                                       const QString& caption, const FileKind& files,
                                                       QString* chosenFilter) {
  std::optional<QString> chosen;
  if (chosenFilter) *chosenFilter = files.Filter.section(FilterSeparator.toString(), 0, 0);
  if (testMode_) {
    shown_.push_back({kind, caption, {}});
    chosen = QueuedFileName();
    if (chosenFilter && !nextFilters_.empty()) {
      *chosenFilter = nextFilters_.front();
      nextFilters_.pop_front();
    }
  } else {
    QFileDialog dialog(parent, caption, QDir::currentPath(), files.Filter);
    dialog.setDefaultSuffix(files.Suffix);
    // Of several filters, the one chosen names the suffix of a name typed without one.
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                     [&dialog](const QString& filter) { dialog.setDefaultSuffix(FilterSuffix(filter)); });
    // AnyFile: the open dialog, too, takes a name that does not exist yet; opening it then
    // reports "File not found" like any other failed open.
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setAcceptMode(kind == DialogKind::OpenFile ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
    // The question comes from AskFileName, the same in every dialog.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()) {
      chosen = dialog.selectedFiles().constFirst();
      if (chosenFilter) *chosenFilter = dialog.selectedNameFilter();
    }
  }
  return chosen;
}

// A save dialog asks before an existing file is replaced; "No" shows the dialog again.
std::optional<QString> DialogProvider::AskFileName(QWidget* parent, DialogKind kind, const QString& caption,
                                                   const FileKind& files, QString* chosenFilter) {
  std::optional<QString> chosen;
  for (;;) {
    chosen = AskFileNameOnce(parent, kind, caption, files, chosenFilter);
    if (!chosen || kind != DialogKind::SaveFile) break;
    const QFileInfo existing(*chosen);
    if (!existing.exists() && !existing.isSymLink()) break;
    if (Confirm(parent,
                QStringLiteral("\"%1\" already exists. Replace it?").arg(QDir::toNativeSeparators(*chosen))))
      break;
  }
  // As the platform's dialogs do, the chosen file's folder becomes the current directory: a
  // relative name such as the spiral's comment file lands beside the last document chosen.
  if (chosen && !testMode_ && files.IsDocument) QDir::setCurrent(QFileInfo(*chosen).absolutePath());
  return chosen;
}

namespace {
const DialogProvider::FileKind Documents{QString::fromUtf8(DocumentFilter),
                                         QString::fromUtf8(DocumentExtension), true};
}

std::optional<QString> DialogProvider::OpenFileName(QWidget* parent) {
  return AskFileName(parent, DialogKind::OpenFile, {}, Documents);
}

std::optional<QString> DialogProvider::OpenFileName(QWidget* parent, const QString& caption,
                                                    const QString& filter) {
  return AskFileName(parent, DialogKind::OpenFile, caption, {filter, {}, false});
}

std::optional<QString> DialogProvider::SaveFileName(QWidget* parent, const QString& caption) {
  return AskFileName(parent, DialogKind::SaveFile, caption, Documents);
}

std::optional<QString> DialogProvider::ExportFileName(QWidget* parent, const QString& caption,
                                                      const QString& filter, const QString& suffix) {
  return AskFileName(parent, DialogKind::SaveFile, caption, {filter, suffix, false});
}

std::optional<QString> DialogProvider::ExportFileName(QWidget* parent, const QString& caption,
                                                      const QStringList& filters, QString& filter) {
  const FileKind files{filters.join(FilterSeparator), FilterSuffix(filters.constFirst()), false};
  return AskFileName(parent, DialogKind::SaveFile, caption, files, &filter);
}

void DialogProvider::ShowError(QWidget* parent, const QString& message, const QString& fileName) {
  const QString text = ErrorBoxText(message);
  // The whole name, however long: it says which file, where the message says what.
  const QString detail = VisibleControls(fileName);
  if (testMode_) {
    shown_.push_back({DialogKind::Error, ErrorCaption, ShownMessage(text), detail});
    return;
  }
  QMessageBox box(QMessageBox::Critical, ErrorCaption, {}, QMessageBox::Ok, parent);
  SetBoxText(box, text);
  box.setInformativeText(detail);
  box.exec();
}

bool DialogProvider::Confirm(QWidget* parent, const QString& question) {
  return Ask(parent, question, false) == Answer::Yes;
}

DialogProvider::Answer DialogProvider::ConfirmOrCancel(QWidget* parent, const QString& question) {
  return Ask(parent, question, true);
}

DialogProvider::Answer DialogProvider::Ask(QWidget* parent, const QString& question, bool cancel) {
  if (testMode_) {
    shown_.push_back({DialogKind::Confirmation, ConfirmCaption, ShownMessage(question)});
    if (nextAnswers_.empty()) return Answer::No;
    const Answer answer = nextAnswers_.front();
    nextAnswers_.pop_front();
    return answer == Answer::Cancel && !cancel ? Answer::No : answer;
  }
  QMessageBox::StandardButtons buttons = QMessageBox::Yes | QMessageBox::No;
  if (cancel) buttons |= QMessageBox::Cancel;
  QMessageBox box(QMessageBox::Question, ConfirmCaption, {}, buttons, parent);
  SetBoxText(box, question);
  box.button(QMessageBox::Yes)->setText(QStringLiteral("&Yes"));
  box.button(QMessageBox::No)->setText(QStringLiteral("&No"));
  if (cancel) box.button(QMessageBox::Cancel)->setText(QStringLiteral("Cancel"));
  box.setDefaultButton(QMessageBox::Yes);
  switch (box.exec()) {
    case QMessageBox::Yes:
      return Answer::Yes;
    case QMessageBox::No:
      return Answer::No;
    default:
      return cancel ? Answer::Cancel : Answer::No;
  }
}

std::optional<QString> DialogProvider::AskText(QWidget* parent, const QString& caption, const QString& label,
                                               const QString& initial) {
  if (testMode_) {
    shown_.push_back({DialogKind::Text, caption, label});
    return TakeNext(nextTexts_);
  }
  bool ok = false;
  const QString text = QInputDialog::getText(parent, caption, label, QLineEdit::Normal, initial, &ok);
  if (!ok) return std::nullopt;
  return text;
}

void DialogProvider::SetNextText(std::optional<QString> text) { nextTexts_.push_back(std::move(text)); }

std::optional<QStringList> DialogProvider::AskTexts(QWidget* parent, const QString& caption,
                                                    const QStringList& labels, const QStringList& initial) {
  if (testMode_) {
    shown_.push_back({DialogKind::Text, caption, labels.join(QLatin1Char('\n'))});
    return TakeNext(nextTextLists_);
  }
  QDialog dialog(parent);
  dialog.setWindowTitle(caption);
  auto* form = new QFormLayout(&dialog);
  std::vector<QLineEdit*> fields;
  for (qsizetype k = 0; k < labels.size(); ++k) {
    fields.push_back(new QLineEdit(k < initial.size() ? initial[k] : QString(), &dialog));
    fields.back()->setObjectName(QStringLiteral("Field%1").arg(k));
    form->addRow(labels[k], fields.back());
  }
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  form->addRow(buttons);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  QStringList texts;
  for (const QLineEdit* field : fields) texts.push_back(field->text());
  return texts;
}

void DialogProvider::SetNextTexts(std::optional<QStringList> texts) {
  nextTextLists_.push_back(std::move(texts));
}

void DialogProvider::ShowInformation(QWidget* parent, const QString& message) {
  if (testMode_) {
    shown_.push_back({DialogKind::Information, InformationCaption, ShownMessage(message)});
    return;
  }
  QMessageBox box(QMessageBox::Information, InformationCaption, {}, QMessageBox::Ok, parent);
  SetBoxText(box, message);
  box.button(QMessageBox::Ok)->setText(QStringLiteral("OK"));
  box.exec();
}

void DialogProvider::EnableTestMode() { testMode_ = true; }

void DialogProvider::DisableTestMode() { testMode_ = false; }

void DialogProvider::SetNextFileName(std::optional<QString> name) {
  nextFileNames_.push_back(std::move(name));
}

void DialogProvider::SetNextFilter(const QString& filter) { nextFilters_.push_back(filter); }

void DialogProvider::SetNextAnswer(bool yes) { nextAnswers_.push_back(yes ? Answer::Yes : Answer::No); }

void DialogProvider::SetNextCancel() { nextAnswers_.push_back(Answer::Cancel); }

void DialogProvider::Reset() {
  nextFileNames_.clear();
  nextAnswers_.clear();
  nextTexts_.clear();
  nextTextLists_.clear();
  nextFilters_.clear();
  shown_.clear();
}

}  // namespace velmora

#pragma once
// Every modal dialog of the program behind one provider: the document file dialogs and the three
// message boxes. Windows never call QFileDialog or QMessageBox themselves, so a test can switch
// the provider into its test mode, queue the user's answers and read what would have been shown,
// without a modal box ever blocking.
//
//   DialogProvider& dialogs = DialogProvider::Instance();
//   dialogs.EnableTestMode();
//   dialogs.SetNextFileName(QStringLiteral("/tmp/a.ato"));   // the next file dialog returns this
//   dialogs.SetNextFileName(std::nullopt);                   // ... and the one after is cancelled
//   dialogs.SetNextAnswer(true);                             // the next confirmation says Yes
//   ... drive the window ...
//   dialogs.Shown() holds every dialog asked for, in order.

#include <QString>
#include <QStringList>
#include <deque>
#include <optional>
#include <vector>

class QWidget;

namespace velmora {

enum class DialogKind { Error, Confirmation, Information, OpenFile, SaveFile, Text };

// One dialog as it was asked for: its caption, its text (the message as the box shows it; empty
// for file dialogs) and the line beneath it (an error box's file name; mostly empty).
struct ShownDialog {
  DialogKind Kind;
  QString Caption;
  QString Text;
  QString Detail = {};
};

class DialogProvider {
 public:
  static DialogProvider& Instance();

  // The open dialog for documents ("Taons files (*.ato)", default suffix "ato"). It accepts the
  // name of a missing file: opening that then fails with the file error. The chosen file's folder
  // becomes the current directory. Empty when cancelled.
  std::optional<QString> OpenFileName(QWidget* parent);
  // The open dialog for another kind of file (a trajectory): its own caption and filter.
  std::optional<QString> OpenFileName(QWidget* parent, const QString& caption, const QString& filter);
  // The save dialog for documents, with the same filter and suffix. `caption` empty gives the
  // platform's caption. Every save dialog (the export dialogs too) asks before it names an
  // existing file: "No" shows the dialog again (in test mode: takes the next queued name).
  std::optional<QString> SaveFileName(QWidget* parent, const QString& caption = {});
  // A save dialog for what a window exports (a table, a picture): its own filter and suffix;
  // the current directory stays where the documents put it.
  std::optional<QString> ExportFileName(QWidget* parent, const QString& caption, const QString& filter,
                                        const QString& suffix);
  // An export dialog offering several `filters`, the first selected; `filter` returns the one
  // chosen, whose extension is added to a name typed without one.
  std::optional<QString> ExportFileName(QWidget* parent, const QString& caption, const QStringList& filters,
                                        QString& filter);

  // Caption "Velmora", error icon, one OK button; the message as ErrorBoxText gives it, and
  // beneath it, when given, the full name of the file the failure concerns.
  void ShowError(QWidget* parent, const QString& message, const QString& fileName = {});
  // Caption "Confirm", question icon, buttons "&Yes" and "&No"; true for Yes.
  bool Confirm(QWidget* parent, const QString& question);
  // As Confirm, with a third button "Cancel" (also Escape and closing the box).
  enum class Answer { Yes, No, Cancel };
  Answer ConfirmOrCancel(QWidget* parent, const QString& question);
  // Caption "Information", information icon, one "OK" button.
  void ShowInformation(QWidget* parent, const QString& message);
  // A line of text asked for under `caption` with `label`, starting as `initial`; empty when
  // cancelled.
  std::optional<QString> AskText(QWidget* parent, const QString& caption, const QString& label,
                                 const QString& initial);
  // Several lines of text under `caption`, one beside each of `labels`, starting as `initial`;
  // OK and Cancel. Empty when cancelled. Recorded with the labels joined by "\n" as its text.
  std::optional<QStringList> AskTexts(QWidget* parent, const QString& caption, const QStringList& labels,
                                      const QStringList& initial);

  // Test mode: nothing modal is shown any more. File dialogs return the queued names in order
  // (cancelled when none is queued), confirmations the queued answers (No when none is queued),
  // and every dialog is recorded in Shown().
  void EnableTestMode();
  void DisableTestMode();
  void SetNextFileName(std::optional<QString> name);
  // The filter the next dialog of several filters returns as chosen (the first when none is queued).
  void SetNextFilter(const QString& filter);
  void SetNextAnswer(bool yes);
  // The next confirmation is cancelled (a Confirm without a Cancel button takes it as No).
  void SetNextCancel();
  // The text the next AskText returns (cancelled when none is queued).
  void SetNextText(std::optional<QString> text);
  // The lines the next AskTexts returns (cancelled when none are queued).
  void SetNextTexts(std::optional<QStringList> texts);
  const std::vector<ShownDialog>& Shown() const { return shown_; }
  // Forgets the record and every queued answer.
  void Reset();

  // The filter and default suffix of a file dialog; documents also set the current directory.
  struct FileKind {
    QString Filter;
    QString Suffix;
    bool IsDocument;
  };

 private:
  DialogProvider() = default;
  std::optional<QString> QueuedFileName();
  std::optional<QString> AskFileName(QWidget* parent, DialogKind kind, const QString& caption,
                                     const FileKind& files, QString* chosenFilter = nullptr);
  std::optional<QString> AskFileNameOnce(QWidget* parent, DialogKind kind, const QString& caption,
                                         const FileKind& files, QString* chosenFilter);
  Answer Ask(QWidget* parent, const QString& question, bool cancel);

  bool testMode_ = false;
  std::deque<std::optional<QString>> nextFileNames_;
  std::deque<Answer> nextAnswers_;
  std::deque<std::optional<QString>> nextTexts_;
  std::deque<std::optional<QStringList>> nextTextLists_;
  std::deque<QString> nextFilters_;
  std::vector<ShownDialog> shown_;
};

// The error box's text: the message with "." appended when its last character's code is above
// that of "." (a message ending in ".", or in a character coded below it, gets none).
QString ErrorBoxText(const QString& message);

// Every control character of the text as its visible picture (a tab as U+2409, ...).
QString VisibleControls(const QString& text);

// What a message box shows of a message, which may quote whatever a field or a file held: every
// control character as its visible picture (a tab as U+2409, ...), and of a message longer than
// MessageShownLength characters its beginning and its end around a spaced ellipsis (" … ", where
// the box may break the line), so that the box fits on the screen and still says what the
// matter is. Boxes show it as plain text, never as markup.
constexpr int MessageShownLength = 160;
QString ShownMessage(const QString& message);

}  // namespace velmora

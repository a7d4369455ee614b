#pragma once
// The program's help viewer. The Help menu names a help file ("HelpUK.hlp", "HlpArtRu.hlp",
// "HlpArtPl.hlp"); each is a folder of HTML pages of the same name without ".hlp", whose
// contents page is index.html. The window shows that page with Back, Forward and Contents
// buttons, and says so in its own page when the help file cannot be found.

#include <QStringList>
#include <QUrl>
#include <QWidget>

class QTextBrowser;
class QToolButton;

namespace velmora {

class HelpWindow : public QWidget {
  Q_OBJECT

 public:
  explicit HelpWindow(QWidget* parent);

  // Shows the contents page of the help file and brings the window to the front; the file
  // stays the window's help file until another one is asked for.
  void ShowContents(const QString& helpFile);

  QString HelpFile() const { return helpFile_; }
  // The page shown: a file URL, or empty for the page about a missing help file.
  QUrl Source() const;
  QString PageText() const;

  // The folders searched for help files, in order: the one VELMORA_HELP_DIR names, beside the
  // program (../share/velmora/help, which the build folder links to the source tree's pages),
  // the system's data folders, the install prefix.
  static QStringList HelpFolders();
  // The contents page of the help file, or empty when no folder holds it.
  static QString ContentsPage(const QString& helpFile);

 private:
  void ShowMissing(const QString& helpFile);

  QString helpFile_;
  QTextBrowser* Browser = nullptr;
  QToolButton* Back = nullptr;
  QToolButton* Forward = nullptr;
  QToolButton* Contents = nullptr;
};

}  // namespace velmora

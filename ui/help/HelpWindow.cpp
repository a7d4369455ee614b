#include "ui/help/HelpWindow.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QShortcut>
#include <QStandardPaths>
#include <QStyle>
#include <QTextBrowser>
#include <QToolButton>
#include <QVBoxLayout>

#include "ui/common/ProgramIcon.h"

namespace velmora {

namespace {

constexpr const char* HelpExtension = ".hlp";
constexpr const char* ContentsFileName = "index.html";
constexpr const char* HelpFolderVariable = "VELMORA_HELP_DIR";  // a folder of help files searched first

QToolButton* Button(QWidget* parent, const char* name, const QString& text, QStyle::StandardPixmap icon,
                    const QKeySequence& shortcut) {
  auto* button = new QToolButton(parent);
  button->setObjectName(QString::fromLatin1(name));
  button->setText(text);
  button->setIcon(parent->style()->standardIcon(icon));
  button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
  button->setShortcut(shortcut);
  return button;
}

}  // namespace

HelpWindow::HelpWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
  setObjectName(QStringLiteral("HelpWindow"));
  setWindowIcon(ProgramIcon());
  resize(760, 580);

  Back = Button(this, "Back", QStringLiteral("Back"), QStyle::SP_ArrowBack, QKeySequence::Back);
  Forward =
      Button(this, "Forward", QStringLiteral("Forward"), QStyle::SP_ArrowForward, QKeySequence::Forward);
  Contents = Button(this, "Contents", QStringLiteral("Contents"), QStyle::SP_DirHomeIcon,
                    QKeySequence(Qt::ALT | Qt::Key_Home));
  Browser = new QTextBrowser(this);
  Browser->setObjectName(QStringLiteral("Browser"));
  Browser->setOpenLinks(true);
  Browser->setOpenExternalLinks(false);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(Back);
  buttons->addWidget(Forward);
  buttons->addWidget(Contents);
  buttons->addStretch();
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(buttons);
  layout->addWidget(Browser);

  // Escape closes the window, as it closes a dialog.
  auto* close = new QShortcut(QKeySequence(Qt::Key_Escape), this);
  connect(close, &QShortcut::activated, this, &QWidget::close);

  Back->setEnabled(false);
  Forward->setEnabled(false);
  connect(Back, &QToolButton::clicked, Browser, &QTextBrowser::backward);
  connect(Forward, &QToolButton::clicked, Browser, &QTextBrowser::forward);
  connect(Contents, &QToolButton::clicked, Browser, &QTextBrowser::home);
  connect(Browser, &QTextBrowser::backwardAvailable, Back, &QToolButton::setEnabled);
  connect(Browser, &QTextBrowser::forwardAvailable, Forward, &QToolButton::setEnabled);
  connect(Browser, &QTextBrowser::sourceChanged, this, [this] { setWindowTitle(Browser->documentTitle()); });
}

QStringList HelpWindow::HelpFolders() {
  QStringList folders;
  const QString chosen = qEnvironmentVariable(HelpFolderVariable);
  if (!chosen.isEmpty()) folders << QDir::cleanPath(chosen);
  folders << QDir::cleanPath(QCoreApplication::applicationDirPath() +
                             QStringLiteral("/../share/velmora/help"));
  for (const QString& data : QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation))
    folders << data + QStringLiteral("/velmora/help");
  folders << QStringLiteral(VELMORA_HELP_INSTALL_DIR);
  folders.removeDuplicates();
  return folders;
}

QString HelpWindow::ContentsPage(const QString& helpFile) {
  QString name = QFileInfo(helpFile).fileName();
  if (name.endsWith(QLatin1String(HelpExtension), Qt::CaseInsensitive))
    name.chop(int(qstrlen(HelpExtension)));
  if (name.isEmpty()) return {};
  for (const QString& folder : HelpFolders()) {
    const QFileInfo page(folder + QLatin1Char('/') + name + QLatin1Char('/') +
                         QLatin1String(ContentsFileName));
    if (page.isFile() && page.isReadable()) return page.absoluteFilePath();
  }
  return {};
}

void HelpWindow::ShowContents(const QString& helpFile) {
  helpFile_ = helpFile;
  const QString page = ContentsPage(helpFile);
  if (page.isEmpty()) {
    ShowMissing(helpFile);
  } else {
    Browser->setSearchPaths({QFileInfo(page).absolutePath()});
    Browser->setSource(QUrl::fromLocalFile(page));
    Browser->clearHistory();
  }
  show();
  raise();
  activateWindow();
}

void HelpWindow::ShowMissing(const QString& helpFile) {
  QString places;
  for (const QString& folder : HelpFolders())
    places += QStringLiteral("<li>%1</li>").arg(folder.toHtmlEscaped());
  Browser->clearHistory();
  Browser->setSource(QUrl());
  Browser->setHtml(
      QStringLiteral("<html><head><title>Velmora Help</title></head><body>"
                     "<h2>Help file not found</h2>"
                     "<p>The help file <b>%1</b> was not found. Velmora looks for it in these folders:</p>"
                     "<ul>%2</ul></body></html>")
          .arg(helpFile.toHtmlEscaped(), places));
  setWindowTitle(QStringLiteral("Velmora Help"));
}

QUrl HelpWindow::Source() const { return Browser->source(); }

QString HelpWindow::PageText() const { return Browser->toPlainText(); }

}  // namespace velmora

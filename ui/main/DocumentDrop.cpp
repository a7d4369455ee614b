#include "ui/main/DocumentDrop.h"

#include <QDropEvent>
#include <QMimeData>
#include <QTimer>
#include <QUrl>
#include <QWidget>

#include "documents/DocumentFile.h"

namespace velmora {

DocumentDrop::DocumentDrop(QWidget* window, std::function<bool()> canOpen,
                           std::function<void(const QString&)> open)
    : QObject(window), window_(window), canOpen_(std::move(canOpen)), open_(std::move(open)) {
  window->setAcceptDrops(true);
  window->installEventFilter(this);
  // Fields and the memo take dragged files as text of their own; they hand them to the window.
  for (QWidget* child : window->findChildren<QWidget*>())
    if (child->acceptDrops()) child->installEventFilter(this);
}

std::optional<QString> DocumentDrop::DraggedDocument(const QMimeData& data) {
  const QList<QUrl> urls = data.urls();
  if (urls.size() != 1 || !urls.front().isLocalFile()) return std::nullopt;
  const QString name = urls.front().toLocalFile();
  if (!name.endsWith(QStringLiteral(".") + QLatin1String(DocumentExtension), Qt::CaseInsensitive))
    return std::nullopt;
  return name;
}

bool DocumentDrop::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop) return false;
  auto* drop = static_cast<QDropEvent*>(event);
  if (!drop->mimeData()->hasUrls()) return false;
  // Left unaccepted here, a drag over a child goes on to the window, which decides.
  drop->ignore();
  if (watched != window_) return true;
  const std::optional<QString> document = DraggedDocument(*drop->mimeData());
  // Taken as a copy, whatever the source proposed: a move would let it delete the user's file.
  if (!document || !canOpen_() || !(drop->possibleActions() & Qt::CopyAction)) return true;
  drop->setDropAction(Qt::CopyAction);
  drop->accept();
  if (type == QEvent::Drop) QTimer::singleShot(0, window_, [this, name = *document] { open_(name); });
  return true;
}

}  // namespace velmora

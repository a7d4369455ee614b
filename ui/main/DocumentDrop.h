#pragma once
// Documents dropped on the main window. A drag that carries exactly one local file named *.ato
// is taken by the window wherever it is dropped, fields and the comment memo included; a drag
// of any other file or files is refused, so the cursor says so before anything is dropped. A
// drop is always taken as a copy, so that the source never moves or deletes the file.
// Text dragged into a field or the memo stays theirs. The opening itself happens after the drop
// has finished, so that the drag source is not kept waiting by a question or an error box.

#include <QObject>
#include <QString>
#include <functional>
#include <optional>

class QMimeData;
class QWidget;

namespace velmora {

class DocumentDrop : public QObject {
 public:
  // `canOpen` says whether a document may be opened now; `open` opens the dropped one.
  DocumentDrop(QWidget* window, std::function<bool()> canOpen, std::function<void(const QString&)> open);

  // The local file a drag carries when it is one document and nothing else.
  static std::optional<QString> DraggedDocument(const QMimeData& data);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWidget* window_;
  std::function<bool()> canOpen_;
  std::function<void(const QString&)> open_;
};

}  // namespace velmora

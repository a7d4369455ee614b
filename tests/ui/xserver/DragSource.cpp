// A file manager's drag, for the window tests on a real X server: a small window that, pressed
// and moved, drags the file named on its command line, offering a move (the proposed action, as
// a file manager with Shift) or a copy. It prints where its middle is once it shows, then the
// action the drop target took ("copy", "move" or "none"), and ends.

#include <QApplication>
#include <QDrag>
#include <QMimeData>
#include <QMouseEvent>
#include <QTimer>
#include <QUrl>
#include <QWidget>
#include <cstdio>

namespace {

class DragSource : public QWidget {
 public:
  explicit DragSource(QString file) : file_(std::move(file)) { resize(120, 120); }

 protected:
  void mouseMoveEvent(QMouseEvent* event) override {
    if (!(event->buttons() & Qt::LeftButton) || dragged_) return;
    dragged_ = true;
    auto* data = new QMimeData;
    data->setUrls({QUrl::fromLocalFile(file_)});
    auto* drag = new QDrag(this);
    drag->setMimeData(data);
    const Qt::DropAction taken = drag->exec(Qt::CopyAction | Qt::MoveAction, Qt::MoveAction);
    std::printf("%s\n", taken == Qt::CopyAction ? "copy" : taken == Qt::MoveAction ? "move" : "none");
    std::fflush(stdout);
    QTimer::singleShot(0, qApp, &QApplication::quit);
  }

  void showEvent(QShowEvent*) override {
    QTimer::singleShot(200, this, [this] {
      const QPoint middle = mapToGlobal(rect().center());
      std::printf("%d %d\n", middle.x(), middle.y());
      std::fflush(stdout);
    });
  }

 private:
  QString file_;
  bool dragged_ = false;
};

}  // namespace

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  if (argc != 2) return 2;
  DragSource source(QString::fromLocal8Bit(argv[1]));
  source.move(0, 0);
  source.show();
  return application.exec();
}

#include "ui/common/ProgramIcon.h"

// The resources live in a static library: the program pulls them in by calling their
// initialiser, which must be named outside any namespace.
static void InitialiseProgramResources() { Q_INIT_RESOURCE(velmora); }

namespace velmora {

namespace {

constexpr int IconSizes[] = {16, 24, 32, 48, 64, 128, 256};

}  // namespace

QIcon ProgramIcon() {
  static const QIcon icon = [] {
    InitialiseProgramResources();
    QIcon sizes;
    for (int size : IconSizes)
      sizes.addFile(QStringLiteral(":/velmora/icons/velmora-%1.png").arg(size), QSize(size, size));
    return sizes;
  }();
  return icon;
}

QPixmap ProgramIconPixmap(int size) { return ProgramIcon().pixmap(size, size); }

}  // namespace velmora

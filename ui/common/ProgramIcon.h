#pragma once
// The program's icon (drawn as icons/velmora.svg, kept as PNG images of the usual sizes): the
// windows show it, the About box shows it twice, the desktop entry names it.

#include <QIcon>
#include <QPixmap>

namespace velmora {

QIcon ProgramIcon();
// The icon's image at `size` pixels square.
QPixmap ProgramIconPixmap(int size);

}  // namespace velmora

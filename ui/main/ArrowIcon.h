#pragma once
// The arrows on the view buttons, drawn rather than taken from a symbol font, which Linux
// desktops do not have: a block arrow pointing in a compass direction, either outlined (the
// turn buttons) or solid (the two zoom buttons).

#include <QIcon>

namespace velmora {

enum class ArrowStyle { Outline, Solid };

// degrees: 0 points right, 90 up, 180 left, 270 down; diagonals in between.
QIcon ArrowIcon(int degrees, ArrowStyle style, int size);

}  // namespace velmora

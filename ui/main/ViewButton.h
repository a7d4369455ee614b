#pragma once
// The view's mouse button for Qt's: the right and left as they are, any other as the middle.

#include <Qt>

#include "view/ViewCommands.h"

namespace velmora {

inline MouseButton ViewButton(Qt::MouseButton button) {
  switch (button) {
    case Qt::RightButton:
      return MouseButton::Right;
    case Qt::LeftButton:
      return MouseButton::Left;
    default:
      return MouseButton::Middle;
  }
}

}  // namespace velmora

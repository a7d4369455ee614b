#pragma once
// Qt's GUI module without a display: drawing on images (fonts included) needs an application
// object, which here runs on the offscreen platform.

#include <QtGlobal>

namespace velmora {

// Qt's notes about the offscreen platform (no runtime folder, no fonts of the desktop) are not
// the user's concern; its criticals still are.
void QuietQtNotes(QtMsgType type, const QMessageLogContext& context, const QString& message);

// Makes an application object on the offscreen platform unless the process has one, for a
// library that draws inside a program it does not own (the Python module). The process's
// QT_QPA_PLATFORM is left as it was.
void EnsureOffscreenGui();

}  // namespace velmora

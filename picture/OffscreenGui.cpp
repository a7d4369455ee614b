#include "picture/OffscreenGui.h"

#include <QGuiApplication>
#include <cstdio>

namespace velmora {

void QuietQtNotes(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (type == QtCriticalMsg || type == QtFatalMsg) std::fprintf(stderr, "%s\n", qPrintable(message));
}

void EnsureOffscreenGui() {
  if (QGuiApplication::instance()) return;
  static int argc = 1;
  static char name[] = "velmora";
  static char* argv[] = {name, nullptr};
  const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
  const bool hadPlatform = qEnvironmentVariableIsSet("QT_QPA_PLATFORM");
  qputenv("QT_QPA_PLATFORM", "offscreen");
  qInstallMessageHandler(QuietQtNotes);
  // Lives as long as the process: the host program ends without Qt's help.
  new QGuiApplication(argc, argv);
  if (hadPlatform)
    qputenv("QT_QPA_PLATFORM", platform);
  else
    qunsetenv("QT_QPA_PLATFORM");
}

}  // namespace velmora

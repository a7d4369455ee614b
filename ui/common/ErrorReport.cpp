#include "ui/common/ErrorReport.h"

#include <QApplication>
#include <QString>

#include "ui/common/DialogProvider.h"

namespace velmora {

void ReportError(const std::exception& error) {
  // The messages are the program's own texts and file names, which the core keeps as UTF-8.
  DialogProvider::Instance().ShowError(QApplication::activeWindow(), QString::fromUtf8(error.what()));
}

}  // namespace velmora

#include "ui/common/ErrorReport.h"

#include <QApplication>
#include <QFileInfo>
#include <QString>

#include "model/ProgramError.h"
#include "ui/common/DialogProvider.h"
#include "ui/common/FileNames.h"

namespace velmora {

void ReportError(const std::exception& error) {
  // The messages are the program's own texts, which the core keeps as UTF-8; a file's name goes
  // beneath, in full, as the file system names it.
  QString fileName;
  if (const auto* fileError = dynamic_cast<const IoError*>(&error); fileError && !fileError->file().empty())
    fileName = QFileInfo(ShownFileName(fileError->file())).absoluteFilePath();
  DialogProvider::Instance().ShowError(QApplication::activeWindow(), QString::fromUtf8(error.what()),
                                       fileName);
}

}  // namespace velmora

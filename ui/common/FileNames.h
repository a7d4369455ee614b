#pragma once
// File names travel between the windows and the core in the file system's encoding: what a
// dialog returns is handed to the core unchanged, and what the core holds is shown as the file
// system names it.

#include <QFile>
#include <QString>
#include <string>

namespace velmora {

inline std::string FileName(const QString& name) { return QFile::encodeName(name).toStdString(); }

inline QString ShownFileName(const std::string& name) {
  return QFile::decodeName(QByteArray::fromStdString(name));
}

}  // namespace velmora

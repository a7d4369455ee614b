#include "ui/main/LocaleSeparator.h"

#include <QLocale>

namespace velmora {

char LocaleDecimalSeparator() {
  const QString point = QLocale::system().decimalPoint();
  if (point.size() == 1 && point.at(0).unicode() > 32 && point.at(0).unicode() < 128)
    return static_cast<char>(point.at(0).unicode());
  return '.';
}

}  // namespace velmora

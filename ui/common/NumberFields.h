#pragma once
// Number text as the windows show and read it: the core's general number format and its
// conversion, between a real and the text of a field, with the locale's decimal separator.

#include <QLineEdit>
#include <QString>

#include "model/Real.h"
#include "text/NumberText.h"

namespace velmora {

inline QString NumberText(real value, char separator) {
  return QString::fromStdString(FormatReal(value, separator));
}

// The field's text as typed (or pasted) converted; refused text throws the ConversionError whose
// message quotes it.
inline real FieldValue(const QLineEdit* field, char separator) {
  return ParseReal(field->text().toStdString(), separator);
}

}  // namespace velmora

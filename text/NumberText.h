#pragma once
// Number text: how every field, grid cell and label shows a real, and how typed text becomes
// one. The decimal separator is the user's locale setting; the window passes it in, so the
// core never depends on the process locale.

#include <string>

#include "model/Real.h"

namespace velmora {

// The general number format: rounded to 15 significant digits (correctly, ties to even),
// no trailing zeros, "-" when negative, "0" for either zero; fixed notation for
// 0.0001 <= |value| < 1E15 after rounding, otherwise d[<separator>ddd]E<exponent>.
// Values a document may hold but no computation shows are written "INF", "-INF" and "NAN".
std::string FormatReal(real value, char separator);

// The exact form for tables that are read back by programs: 21 significant digits in scientific
// notation with "." ("-1.23456789012345678901e-05"), enough for every extended value to read back
// (ParseReal with '.') to the same bits; "INF", "-INF" and "NAN" as FormatReal writes them.
std::string FormatExact(real value);

// Text to real: optional blanks, optional sign, digits with at most one separator and at
// least one digit, an optional exponent ("E" or "e", optional sign, digits), optional blanks.
// The result is the nearest extended value, whatever the process locale. Anything else, and
// values beyond the extended range, throw ConversionError
// "'<text>' is not a valid floating point value". Values below the smallest subnormal become 0.
real ParseReal(const std::string& text, char separator);

// Plain decimal integers (optional blanks around an optional sign and digits) within the
// 32-bit range; anything else throws ConversionError "'<text>' is not a valid integer value".
int ParseInteger(const std::string& text);

}  // namespace velmora

#include "text/NumberText.h"

#include <locale.h>

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <optional>
#include <stdexcept>
#include <string_view>

#include "model/FloatingPointFaults.h"
#include "model/ProgramError.h"

namespace velmora {

namespace {

constexpr int SignificantDigits = 15;
constexpr int ExactDigits = 21;  // ceil(1 + 64 log10 2): every 64-bit significand reads back
// 0.d1d2... x 10^e is written in fixed notation for these e, i.e. 0.0001 <= |value| < 1E15.
constexpr int SmallestFixedExponent = -3;
constexpr int LargestFixedExponent = 15;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The rounded value as its significant digits (no trailing zeros) and e of 0.d1d2... x 10^e.
struct DecimalDigits {
  bool negative;
  std::string digits;
  int exponent;
};

// A pseudo-denormal (exponent field 0 with the integer bit set) is a value a document may hold
// but no computation produces. The FPU computes with it as with the same significand under the
// exponent field 1, its significand times 2^-16445; the conversion below would take the integer
// bit for a fraction bit and show a different number. The same bits under the exponent field 1
// are the value's canonical encoding.
real WithCanonicalExponent(real value) {
  constexpr int SignAndExponent = 8;
  unsigned char bytes[ExtendedBytes];
  StoreExtended(bytes, value);
  const bool integerBit = bytes[7] & 0x80;
  const bool exponentZero = bytes[SignAndExponent] == 0 && (bytes[SignAndExponent + 1] & 0x7F) == 0;
  if (!integerBit || !exponentZero) return value;
  bytes[SignAndExponent] = 1;
  return LoadExtended(bytes);
}

// std::to_chars is correctly rounded and, unlike printf, never looks at the locale.
DecimalDigits RoundToSignificantDigits(real value) {
  char buffer[64];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific,
                                    SignificantDigits - 1);
  const std::string_view text(buffer, result.ptr - buffer);  // [-]d.dddddddddddddde(+|-)x
  DecimalDigits decimal{text.front() == '-', "", 0};
  const std::size_t e = text.find('e');
  for (char c : text.substr(0, e))
    if (IsDigit(c)) decimal.digits += c;
  decimal.digits.erase(decimal.digits.find_last_not_of('0') + 1);
  std::string_view exponent = text.substr(e + 1);
  if (exponent.front() == '+') exponent.remove_prefix(1);
  int scientific = 0;
  std::from_chars(exponent.data(), exponent.data() + exponent.size(), scientific);
  decimal.exponent = scientific + 1;
  return decimal;
}

std::string FixedNotation(const DecimalDigits& decimal, char separator) {
  const std::string& digits = decimal.digits;
  const int e = decimal.exponent;
  if (e <= 0) return "0" + std::string(1, separator) + std::string(-e, '0') + digits;
  if (e >= static_cast<int>(digits.size())) return digits + std::string(e - digits.size(), '0');
  return digits.substr(0, e) + separator + digits.substr(e);
}

std::string ExponentNotation(const DecimalDigits& decimal, char separator) {
  std::string text = decimal.digits.substr(0, 1);
  if (decimal.digits.size() > 1) text += separator + decimal.digits.substr(1);
  return text + "E" + std::to_string(decimal.exponent - 1);
}

// A cursor over typed text for the two grammars below.
class Scanner {
 public:
  explicit Scanner(std::string_view text) : text_(text) {}

  void SkipBlanks() {
    while (pos_ < text_.size() && text_[pos_] == ' ') ++pos_;
  }
  bool AtEnd() const { return pos_ == text_.size(); }
  bool Take(char c) {
    if (AtEnd() || text_[pos_] != c) return false;
    ++pos_;
    return true;
  }
  // Appends an optional sign to out.
  void TakeSign(std::string& out) {
    if (Take('-'))
      out += '-';
    else
      Take('+');
  }
  // Appends the digits at the cursor to out and returns how many there were.
  int TakeDigits(std::string& out) {
    int count = 0;
    while (!AtEnd() && IsDigit(text_[pos_])) {
      out += text_[pos_++];
      ++count;
    }
    return count;
  }

 private:
  std::string_view text_;
  std::size_t pos_ = 0;
};

// The accepted real text rewritten in the C library's own form ("-12.5e-3"); nothing when the
// text does not follow the grammar.
std::optional<std::string> CanonicalRealText(std::string_view text, char separator) {
  Scanner scan(text);
  std::string canonical;
  scan.SkipBlanks();
  scan.TakeSign(canonical);
  int digits = scan.TakeDigits(canonical);
  if (scan.Take(separator)) {
    canonical += '.';
    digits += scan.TakeDigits(canonical);
  }
  if (digits == 0) return std::nullopt;
  if (scan.Take('E') || scan.Take('e')) {
    canonical += 'e';
    scan.TakeSign(canonical);
    if (scan.TakeDigits(canonical) == 0) return std::nullopt;
  }
  scan.SkipBlanks();
  if (!scan.AtEnd()) return std::nullopt;
  return canonical;
}

// strtold is correctly rounded but reads the decimal point of LC_NUMERIC, which the window's
// toolkit sets from the user's locale; the "C" locale object makes it read ".".
locale_t CLocale() {
  static const locale_t locale = newlocale(LC_ALL_MASK, "C", locale_t{});
  if (locale == locale_t{}) throw std::runtime_error("The C locale is not available");
  return locale;
}

ConversionError NotAReal(const std::string& text) {
  return ConversionError("'" + text + "' is not a valid floating point value");
}

// "NAN", "INF" or "-INF" for the values that have no digits, nothing for the others.
std::optional<std::string> NonFiniteText(real value) {
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value < 0.0L ? "-INF" : "INF";
  return std::nullopt;
}

}  // namespace

std::string FormatReal(real value, char separator) {
  // The conversions raise inexact, underflow or overflow on their own account; they must not
  // surface at the caller's next fault checkpoint.
  FaultFlagsKept flagsKept;  // comparing a signaling NaN or an unnormal flags an invalid operation
  if (const auto text = NonFiniteText(value)) return *text;
  if (value == 0.0L) return "0";
  const DecimalDigits decimal = RoundToSignificantDigits(WithCanonicalExponent(value));
  const bool fixed = decimal.exponent >= SmallestFixedExponent && decimal.exponent <= LargestFixedExponent;
  return (decimal.negative ? "-" : "") +
         (fixed ? FixedNotation(decimal, separator) : ExponentNotation(decimal, separator));
}

std::string FormatExact(real value) {
  FaultFlagsKept flagsKept;
  if (const auto text = NonFiniteText(value)) return *text;
  char buffer[64];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, WithCanonicalExponent(value),
                                    std::chars_format::scientific, ExactDigits - 1);
  return std::string(buffer, result.ptr);
}

real ParseReal(const std::string& text, char separator) {
  const std::optional<std::string> canonical = CanonicalRealText(text, separator);
  if (!canonical) throw NotAReal(text);
  FaultFlagsKept flagsKept;
  char* end = nullptr;
  const real value = strtold_l(canonical->c_str(), &end, CLocale());
  // Overflow gives an infinity; underflow gives the nearest subnormal or zero, which is kept.
  if (end != canonical->c_str() + canonical->size() || std::isinf(value)) throw NotAReal(text);
  return value;
}

int ParseInteger(const std::string& text) {
  Scanner scan(text);
  std::string sign, digits;
  scan.SkipBlanks();
  scan.TakeSign(sign);
  const int count = scan.TakeDigits(digits);
  scan.SkipBlanks();
  const bool negative = !sign.empty();
  std::int64_t magnitude = 0;
  const std::int64_t limit = negative ? -std::int64_t{std::numeric_limits<int>::min()}
                                      : std::int64_t{std::numeric_limits<int>::max()};
  bool inRange = count > 0 && scan.AtEnd();
  for (std::size_t i = 0; inRange && i < digits.size(); ++i) {
    magnitude = magnitude * 10 + (digits[i] - '0');
    inRange = magnitude <= limit;
  }
  if (!inRange) throw ConversionError("'" + text + "' is not a valid integer value");
  return static_cast<int>(negative ? -magnitude : magnitude);
}

}  // namespace velmora

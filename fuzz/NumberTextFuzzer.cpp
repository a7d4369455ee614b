// Typed text to number, as every field and calculator converts it. The input is the text, any
// bytes at all. Promises checked, for both decimal separators:
// - text is accepted as a real or refused with "'<text>' is not a valid floating point value",
//   as an integer or refused with "'<text>' is not a valid integer value";
// - no conversion leaves a floating-point fault flag for the caller's next checkpoint;
// - an accepted real is finite, and the text the fields show for it reads back to that text;
// - accepted text holds only blanks, signs, digits, the separator and an exponent letter;
// - an accepted integer is also accepted as a real, with the same value.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "fuzz/FuzzSupport.h"
#include "model/FloatingPointFaults.h"
#include "model/ProgramError.h"
#include "text/NumberText.h"

namespace velmora::fuzz {
namespace {

// The message as the error box shows it: a NUL typed or pasted into the text ends it there.
bool IsMessage(const ConversionError& error, const std::string& message) {
  return std::string(error.what()) == message.c_str();
}

bool OnlyNumberCharacters(const std::string& text, char separator, bool integer) {
  for (char c : text) {
    const bool digit = c >= '0' && c <= '9';
    const bool allowed =
        digit || c == ' ' || c == '+' || c == '-' || (!integer && (c == separator || c == 'e' || c == 'E'));
    if (!allowed) return false;
  }
  return true;
}

std::optional<real> RealOf(const std::string& text, char separator) {
  ClearFaultFlags();
  try {
    const real value = ParseReal(text, separator);
    Require(!FaultFlagged(), "an accepted real leaves no fault flag");
    return value;
  } catch (const ConversionError& error) {
    Require(!FaultFlagged(), "a refused real leaves no fault flag");
    Require(IsMessage(error, "'" + text + "' is not a valid floating point value"),
            "the real's message names the text");
    return std::nullopt;
  }
}

std::optional<int> IntegerOf(const std::string& text) {
  try {
    return ParseInteger(text);
  } catch (const ConversionError& error) {
    Require(IsMessage(error, "'" + text + "' is not a valid integer value"),
            "the integer's message names the text");
    return std::nullopt;
  }
}

void CheckReal(const std::string& text, char separator) {
  const std::optional<real> value = RealOf(text, separator);
  if (!value) return;
  Require(std::isfinite(*value), "an accepted real is finite");
  Require(OnlyNumberCharacters(text, separator, false), "accepted real text holds only number characters");
  ClearFaultFlags();
  const std::string shown = FormatReal(*value, separator);
  Require(!FaultFlagged(), "showing a real leaves no fault flag");
  const std::optional<real> reread = RealOf(shown, separator);
  Require(reread.has_value(), "the shown text is accepted: " + shown);
  Require(FormatReal(*reread, separator) == shown, "the shown text reads back to itself: " + shown);
}

void CheckInteger(const std::string& text) {
  const std::optional<int> value = IntegerOf(text);
  if (!value) return;
  Require(OnlyNumberCharacters(text, '.', true), "accepted integer text holds only number characters");
  Require(IntegerOf(std::to_string(*value)) == value, "the integer's decimal text reads back");
  for (char separator : {'.', ','}) {
    const std::optional<real> asReal = RealOf(text, separator);
    Require(asReal.has_value() && *asReal == static_cast<real>(*value), "an integer is also that real");
  }
}

}  // namespace
}  // namespace velmora::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace velmora::fuzz;
  const std::string text(reinterpret_cast<const char*>(data), size);
  for (char separator : {'.', ','}) CheckReal(text, separator);
  CheckInteger(text);
  return 0;
}

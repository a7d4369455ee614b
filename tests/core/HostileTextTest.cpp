// Text that no one types on purpose but that reaches the fields anyway, pasted or generated:
// very long text, digits of other scripts, control characters, several separators and huge
// exponents. Each is read exactly or refused with the program's message, and no conversion
// leaves a floating-point fault flag behind.

#include <gtest/gtest.h>

#include <cfloat>
#include <optional>
#include <string>

#include "model/FloatingPointFaults.h"
#include "model/ProgramError.h"
#include "text/NumberText.h"

namespace velmora {
namespace {

// The text with control and non-ASCII bytes written as \xNN, for the failure messages.
std::string Printable(const std::string& text) {
  std::string shown;
  char escape[8];
  for (unsigned char c : text) {
    if (c >= 0x20 && c < 0x7F) {
      shown += static_cast<char>(c);
    } else {
      std::snprintf(escape, sizeof escape, "\\x%02X", c);
      shown += escape;
    }
  }
  return shown.size() > 80 ? shown.substr(0, 80) + "..." : shown;
}

struct RealCase {
  std::string text;
  char separator;
  std::optional<real> value;  // nothing: refused
};

// The message as the error box shows it: a NUL in the text ends it there, as it ends every
// message text of the platform.
void ExpectMessage(const ConversionError& error, const std::string& message) {
  EXPECT_EQ(std::string(error.what()), message.c_str());
}

// The conversion's result, or nothing when it refused the text with the program's message.
std::optional<real> RealOf(const std::string& text, char separator) {
  try {
    return ParseReal(text, separator);
  } catch (const ConversionError& error) {
    ExpectMessage(error, "'" + text + "' is not a valid floating point value");
    return std::nullopt;
  }
}

std::optional<int> IntegerOf(const std::string& text) {
  try {
    return ParseInteger(text);
  } catch (const ConversionError& error) {
    ExpectMessage(error, "'" + text + "' is not a valid integer value");
    return std::nullopt;
  }
}

const std::string ManyZeros(5000, '0');

TEST(HostileText, RealsAreReadExactlyOrRefused) {
  const RealCase cases[] = {
      // Very long text: every digit counts, however many there are.
      {std::string(100000, '9'), '.', std::nullopt},  // 10^100000: beyond the range
      {"0." + ManyZeros + "1e5001", '.', 1.0L},
      {"0," + ManyZeros + "1", ',', 0.0L},  // below the least denormal
      {ManyZeros + "2.5", '.', 2.5L},
      {"1" + ManyZeros + "e-5000", '.', 1.0L},
      {std::string(3000, ' ') + "7" + std::string(3000, ' '), ',', 7.0L},
      {std::string(100000, '1') + "x", '.', std::nullopt},
      // Digits of other scripts are no digits here.
      {"\xD9\xA1\xD9\xA2", '.', std::nullopt},          // Arabic-Indic 1 2
      {"\xEF\xBC\x91\xEF\xBC\x92", '.', std::nullopt},  // fullwidth 1 2
      {"1\xC2\xB2", '.', std::nullopt},                 // superscript two
      {"\xE0\xA5\xA7", ',', std::nullopt},              // Devanagari 1
      {"1\xC2\xA0"
       "5",
       '.', std::nullopt},  // no-break space
      {"\xE2\x88\x92"
       "1",
       '.', std::nullopt},  // minus sign
      {"1\xD9\xAB"
       "5",
       '.', std::nullopt},  // Arabic decimal separator
      // Control characters, as a paste brings them along.
      {"1.5\n", '.', std::nullopt},
      {"1.5\r\n", '.', std::nullopt},
      {"\t1.5", '.', std::nullopt},
      {"1\x1B", ',', std::nullopt},
      {"\x7F"
       "1",
       '.', std::nullopt},
      {std::string("1\0", 2), '.', std::nullopt},
      {std::string("\0"
                   "1",
                   2),
       ',', std::nullopt},
      // Several separators, of the same kind or both.
      {"1.2.3", '.', std::nullopt},
      {"1,,2", ',', std::nullopt},
      {"1.,2", ',', std::nullopt},
      {"1,.2", ',', std::nullopt},
      {"1.000,5", ',', std::nullopt},
      {"1,000.5", '.', std::nullopt},
      {"1e2.5", '.', std::nullopt},
      {"1e2,5", ',', std::nullopt},
      // Huge and tiny exponents, in digits and in count.
      {"1e4932", '.', 1e4932L},
      {"1e4933", '.', std::nullopt},
      {"1e99999999999999999999", '.', std::nullopt},
      {"-1e99999999999999999999", ',', std::nullopt},
      {"1e-99999999999999999999", '.', 0.0L},
      {"0e99999999999999999999", '.', 0.0L},
      {"1e" + std::string(10000, '9'), '.', std::nullopt},
      {"1e-" + std::string(10000, '9'), ',', 0.0L},
      {"1e+" + ManyZeros + "5", '.', 1e5L},
      {"1e5e5", '.', std::nullopt},
      {"1ee5", '.', std::nullopt},
  };
  for (const RealCase& c : cases) {
    SCOPED_TRACE(Printable(c.text));
    ClearFaultFlags();
    const std::optional<real> value = RealOf(c.text, c.separator);
    EXPECT_FALSE(FaultFlagged());
    ASSERT_EQ(value.has_value(), c.value.has_value());
    if (value) {
      EXPECT_TRUE(SameBits(*value, *c.value)) << FormatReal(*value, '.');
    }
  }
}

TEST(HostileText, IntegersAreReadExactlyOrRefused) {
  const struct {
    std::string text;
    std::optional<int> value;
  } cases[] = {
      {ManyZeros + "42", 42},
      {"-" + ManyZeros + "2147483648", -2147483647 - 1},
      {std::string(10000, '9'), std::nullopt},
      {"1" + ManyZeros, std::nullopt},
      {"\xD9\xA1", std::nullopt},
      {"\xEF\xBC\x97", std::nullopt},
      {"7\n", std::nullopt},
      {"\t7", std::nullopt},
      {std::string("7\0", 2), std::nullopt},
      {"7 7", std::nullopt},
      {"+-7", std::nullopt},
      {"7.", std::nullopt},
      {"7,0", std::nullopt},
      {"7e0", std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(Printable(c.text));
    EXPECT_EQ(IntegerOf(c.text), c.value);
  }
}

// A fault flag raised before a conversion belongs to the computation that raised it; the
// conversion neither clears it nor adds one of its own.
TEST(HostileText, ConversionsKeepTheFlagsTheyFound) {
  volatile real zero = 0.0L;
  ClearFaultFlags();
  volatile real quotient = 1.0L / zero;
  (void)quotient;
  ASSERT_TRUE(FaultFlagged());
  EXPECT_THROW(ParseReal("1e99999", '.'), ConversionError);
  ParseReal("1e-99999", '.');
  FormatReal(LDBL_TRUE_MIN, '.');
  try {
    ThrowIfFaulted();
    ADD_FAILURE() << "the flag went";
  } catch (const FloatingPointFault& fault) {
    EXPECT_STREQ(fault.what(), DivisionByZeroText);
  }
}

}  // namespace
}  // namespace velmora

// Numbers as typed, and text that no one types on purpose but that reaches the fields anyway,
// pasted or generated: very long text, digits of other scripts, control characters, several
// separators and huge exponents. Each is read exactly (to the nearest extended value) or refused
// with the program's message naming the text, and no conversion leaves a floating-point fault
// flag behind.

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
constexpr std::nullopt_t Refused = std::nullopt;

TEST(HostileText, RealsAreReadExactlyOrRefused) {
  const RealCase cases[] = {
      // As typed. The compiler converts the L literals correctly rounded, so they are the expected bits.
      {"0.5", '.', 0.5L},
      {"0,5", ',', 0.5L},
      {"0.1", '.', 0.1L},
      {"0,001", ',', 0.001L},
      {"  -2.5e3  ", '.', -2500.0L},
      {"+1", '.', 1.0L},
      {".5", '.', 0.5L},
      {"5,", ',', 5.0L},
      {"-0", '.', -0.0L},
      {"00012", '.', 12.0L},
      {"1E15", '.', 1e15L},
      {"1e-5", ',', 1e-5L},
      {"1e+3", '.', 1000.0L},
      {"-1,25E2", ',', -125.0L},
      {"123456789.123456789", '.', 123456789.123456789L},
      {"6,66666666666667E-11", ',', 6.66666666666667E-11L},
      {"1.18973149535723176502e4932", '.', LDBL_MAX},
      {"4e-4951", '.', LDBL_TRUE_MIN},
      {"1e-5000", '.', 0.0L},
      // 1 + 2^-64 lies halfway between 1 and the next extended value: ties go to even.
      {"1.0000000000000000000542101086242752217003726400434970855712890625", '.', 1.0L},
      {"1.00000000000000000005421010862427522170037264004349708557128906250001", '.', 1.0L + 0x1p-63L},
      {"", '.', Refused},
      {"   ", ',', Refused},
      {"0,5", '.', Refused},
      {"0.5", ',', Refused},
      {"1.2.3", '.', Refused},
      {"1,2,3", ',', Refused},
      {"--1", '.', Refused},
      {"+-1", '.', Refused},
      {"-", '.', Refused},
      {".", '.', Refused},
      {",E5", ',', Refused},
      {"e5", '.', Refused},
      {"1e", '.', Refused},
      {"1e+", ',', Refused},
      {"1 2", '.', Refused},
      {"1-", '.', Refused},
      {"\t1", '.', Refused},
      {"0x10", '.', Refused},
      {"inf", '.', Refused},
      {"INF", '.', Refused},
      {"nan", '.', Refused},
      {"abc", '.', Refused},
      {"1e5000", '.', Refused},
      {"-1,2e4933", ',', Refused},
      // Very long text: every digit counts, however many there are.
      {std::string(100000, '9'), '.', Refused},  // 10^100000: beyond the range
      {"0." + ManyZeros + "1e5001", '.', 1.0L},
      {"0," + ManyZeros + "1", ',', 0.0L},  // below the least denormal
      {ManyZeros + "2.5", '.', 2.5L},
      {"1" + ManyZeros + "e-5000", '.', 1.0L},
      {std::string(3000, ' ') + "7" + std::string(3000, ' '), ',', 7.0L},
      {std::string(100000, '1') + "x", '.', Refused},
      // Digits of other scripts are no digits here.
      {"\xD9\xA1\xD9\xA2", '.', Refused},          // Arabic-Indic 1 2
      {"\xEF\xBC\x91\xEF\xBC\x92", '.', Refused},  // fullwidth 1 2
      {"1\xC2\xB2", '.', Refused},                 // superscript two
      {"\xE0\xA5\xA7", ',', Refused},              // Devanagari 1
      {"1\xC2\xA0"
       "5",
       '.', Refused},  // no-break space
      {"\xE2\x88\x92"
       "1",
       '.', Refused},  // minus sign
      {"1\xD9\xAB"
       "5",
       '.', Refused},  // Arabic decimal separator
      // Control characters, as a paste brings them along.
      {"1.5\n", '.', Refused},
      {"1.5\r\n", '.', Refused},
      {"\t1.5", '.', Refused},
      {"1\x1B", ',', Refused},
      {"\x7F"
       "1",
       '.', Refused},
      {std::string("1\0", 2), '.', Refused},
      {std::string("\0"
                   "1",
                   2),
       ',', Refused},
      // Several separators, of the same kind or both.
      {"1.2.3", '.', Refused},
      {"1,,2", ',', Refused},
      {"1.,2", ',', Refused},
      {"1,.2", ',', Refused},
      {"1.000,5", ',', Refused},
      {"1,000.5", '.', Refused},
      {"1e2.5", '.', Refused},
      {"1e2,5", ',', Refused},
      // Huge and tiny exponents, in digits and in count.
      {"1e4932", '.', 1e4932L},
      {"1e4933", '.', Refused},
      {"1e99999999999999999999", '.', Refused},
      {"-1e99999999999999999999", ',', Refused},
      {"1e-99999999999999999999", '.', 0.0L},
      {"0e99999999999999999999", '.', 0.0L},
      {"1e" + std::string(10000, '9'), '.', Refused},
      {"1e-" + std::string(10000, '9'), ',', 0.0L},
      {"1e+" + ManyZeros + "5", '.', 1e5L},
      {"1e5e5", '.', Refused},
      {"1ee5", '.', Refused},
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
      // The 32-bit range, as typed.
      {"42", 42},
      {" -7 ", -7},
      {"+3", 3},
      {"0000000000000000000001", 1},
      {"2147483647", 2147483647},
      {"-2147483648", -2147483647 - 1},
      {"", Refused},
      {" ", Refused},
      {"-", Refused},
      {"2147483648", Refused},
      {"-2147483649", Refused},
      {"99999999999999999999", Refused},
      {"1.0", Refused},
      {"1,0", Refused},
      {"1e3", Refused},
      {"0x1F", Refused},
      {"1 2", Refused},
      {"--1", Refused},
      {"x", Refused},
      {ManyZeros + "42", 42},
      {"-" + ManyZeros + "2147483648", -2147483647 - 1},
      {std::string(10000, '9'), Refused},
      {"1" + ManyZeros, Refused},
      {"\xD9\xA1", Refused},
      {"\xEF\xBC\x97", Refused},
      {"7\n", Refused},
      {"\t7", Refused},
      {std::string("7\0", 2), Refused},
      {"7 7", Refused},
      {"+-7", Refused},
      {"7.", Refused},
      {"7,0", Refused},
      {"7e0", Refused},
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

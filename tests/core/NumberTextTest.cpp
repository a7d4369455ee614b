#include <gtest/gtest.h>

#include <cfloat>
#include <clocale>
#include <cstdlib>
#include <limits>
#include <random>
#include <string>

#include "TemporaryFolder.h"
#include "model/FloatingPointFaults.h"
#include "model/ProgramError.h"
#include "text/KeyFilter.h"
#include "text/NumberText.h"

namespace velmora {
namespace {

struct FormatCase {
  real value;
  char separator;
  const char* text;
};

void PrintTo(const FormatCase& c, std::ostream* os) { *os << "'" << c.separator << "' " << c.text; }

class FormatRealTest : public ::testing::TestWithParam<FormatCase> {};

TEST_P(FormatRealTest, WritesTheGeneralNumberFormat) {
  EXPECT_EQ(FormatReal(GetParam().value, GetParam().separator), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Examples, FormatRealTest,
                         ::testing::Values(FormatCase{0.001L, '.', "0.001"},
                                           FormatCase{0.0001L, '.', "0.0001"},
                                           FormatCase{0.00001L, '.', "1E-5"}, FormatCase{1e15L, '.', "1E15"},
                                           FormatCase{-2.5L, '.', "-2.5"},
                                           FormatCase{123456789.123456789L, '.', "123456789.123457"},
                                           FormatCase{2.0L / 3.0L * 1e-10L, '.', "6.66666666666667E-11"},
                                           FormatCase{0.01L, ',', "0,01"}, FormatCase{-2.5L, ',', "-2,5"},
                                           FormatCase{2.0L / 3.0L * 1e-10L, ',', "6,66666666666667E-11"}));

INSTANTIATE_TEST_SUITE_P(
    Boundaries, FormatRealTest,
    ::testing::Values(
        FormatCase{0.0L, '.', "0"}, FormatCase{-0.0L, '.', "0"}, FormatCase{1.0L, '.', "1"},
        FormatCase{100.0L, '.', "100"}, FormatCase{1.0L / 3.0L, '.', "0.333333333333333"},
        FormatCase{-1.0L / 3.0L, ',', "-0,333333333333333"}, FormatCase{0.000123L, '.', "0.000123"},
        FormatCase{0.0000123L, '.', "1.23E-5"},
        // Fixed notation pads with zeros up to the separator's place.
        FormatCase{1e14L, '.', "100000000000000"}, FormatCase{999999999999999.0L, '.', "999999999999999"},
        // Rounding to 15 digits carries across 1E15 and into 0.0001, which decides the notation.
        FormatCase{999999999999999.5L, '.', "1E15"}, FormatCase{999999999999999.9L, '.', "1E15"},
        FormatCase{-999999999999999.9L, ',', "-1E15"}, FormatCase{0.00009999999999999999L, '.', "0.0001"},
        FormatCase{0.0000999999999999994L, '.', "9.99999999999994E-5"},
        // An exact tie rounds to the even neighbour.
        FormatCase{1000000000000005.0L, '.', "1E15"},
        FormatCase{1000000000000015.0L, '.', "1.00000000000002E15"},
        FormatCase{123456789012345678.0L, '.', "1.23456789012346E17"}, FormatCase{1.5e20L, ',', "1,5E20"},
        FormatCase{LDBL_MAX, '.', "1.18973149535723E4932"},
        FormatCase{-LDBL_MAX, ',', "-1,18973149535723E4932"},
        FormatCase{LDBL_MIN, '.', "3.36210314311209E-4932"},
        FormatCase{LDBL_TRUE_MIN, '.', "3.64519953188247E-4951"},
        FormatCase{std::numeric_limits<real>::infinity(), '.', "INF"},
        FormatCase{-std::numeric_limits<real>::infinity(), '.', "-INF"},
        FormatCase{std::numeric_limits<real>::quiet_NaN(), '.', "NAN"},
        FormatCase{-std::numeric_limits<real>::quiet_NaN(), '.', "NAN"}));

// The texts of every bit pattern a document may hold, shown without a floating-point fault, are
// checked with the documents' encodings (HostileDocumentTest); reading numbers, ordinary and
// hostile text alike, in HostileTextTest.

// The window's toolkit sets the process locale from the user's settings; a locale with a
// decimal comma must not change what "." means to the conversions. The test makes that locale
// itself (localedef, from the locales package) in a folder of its own, so it runs everywhere.
TEST(NumberText, IgnoresTheProcessLocale) {
  testing::TemporaryFolder folder;
  const std::string command =
      "localedef -c -i de_DE -f ISO-8859-1 '" + folder.Path("de_DE") + "' >/dev/null 2>&1";
  ASSERT_NE(std::system(command.c_str()), -1) << "no shell to run localedef";
  testing::EnvironmentVariable path("LOCPATH", folder.Path());
  struct NumericLocaleRestored {
    std::string saved = std::setlocale(LC_NUMERIC, nullptr);
    ~NumericLocaleRestored() { std::setlocale(LC_NUMERIC, saved.c_str()); }
  } restored;
  ASSERT_NE(std::setlocale(LC_NUMERIC, "de_DE"), nullptr) << "localedef made no German locale";
  ASSERT_STREQ(std::localeconv()->decimal_point, ",");
  EXPECT_TRUE(SameBits(ParseReal("0.1", '.'), 0.1L));
  EXPECT_THROW(ParseReal("0,1", '.'), ConversionError);
  EXPECT_EQ(FormatReal(0.1L, '.'), "0.1");
}

// A failed or inexact conversion must not leave flags for the caller's next fault checkpoint.
TEST(NumberText, ConversionsLeaveNoFaultFlags) {
  ClearFaultFlags();
  EXPECT_THROW(ParseReal("1e5000", '.'), ConversionError);
  ParseReal("1e-5000", '.');
  ParseReal("0.1", '.');
  FormatReal(LDBL_MAX, '.');
  EXPECT_FALSE(FaultFlagged());
}

// What the fields show reads back as the same text, in both notations and both separators.
TEST(NumberText, ShownTextReadsBackToTheSameText) {
  std::mt19937_64 random(20261207);
  std::uniform_real_distribution<double> mantissa(-10.0, 10.0);
  std::uniform_int_distribution<int> exponent(-4950, 4930);
  for (int i = 0; i < 2000; ++i) {
    const real value = static_cast<real>(mantissa(random)) * powl(10.0L, exponent(random) % 40);
    const real tiny = static_cast<real>(mantissa(random)) * powl(10.0L, exponent(random));
    for (real v : {value, tiny})
      for (char separator : {'.', ','}) {
        const std::string shown = FormatReal(v, separator);
        ASSERT_EQ(FormatReal(ParseReal(shown, separator), separator), shown);
      }
  }
}

TEST(KeyFilter, PassesWhatANumberIsTypedWithAndEscapesTheRest) {
  for (char32_t ch : {U'0', U'5', U'9', U',', U'-', U'.', Backspace}) EXPECT_EQ(FilterKey(ch), ch);
  for (char32_t ch : {U'e', U'E', U'+', U' ', U'a', U'/', U':', char32_t{13}, Escape, U'\u0663'})
    EXPECT_EQ(FilterKey(ch), Escape) << static_cast<unsigned>(ch);
}

}  // namespace
}  // namespace velmora

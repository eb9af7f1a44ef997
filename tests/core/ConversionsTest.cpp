// Stored texts to numbers, as _wtoi and _wtof read them.
#include "Conversions.h"
#include "Printing.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

struct IntRow {
  const char16_t* text;
  int32_t value;
};

void PrintTo(const IntRow& row, std::ostream* out) { *out << "\"" << Text(row.text) << "\""; }

struct RealRow {
  const char16_t* text;
  double value;
};

void PrintTo(const RealRow& row, std::ostream* out) { *out << "\"" << Text(row.text) << "\""; }

const double kInfinity = std::numeric_limits<double>::infinity();

} // namespace

class WideToIntTest : public testing::TestWithParam<IntRow> {};

TEST_P(WideToIntTest, ReadsTheLeadingNumber) {
  EXPECT_EQ(WideToInt(GetParam().text), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, WideToIntTest,
    testing::Values(IntRow{u"", 0}, IntRow{u"4", 4}, IntRow{u"  42", 42}, IntRow{u"+7", 7},
                    IntRow{u"-13", -13}, IntRow{u" \t\n\v\f\r-0012x", -12}, IntRow{u"   3abc", 3},
                    IntRow{u"abc", 0}, IntRow{u"- 5", 0}, IntRow{u"+-5", 0}, IntRow{u"1.9", 1},
                    IntRow{u"2147483647", 2147483647}, IntRow{u"2147483648", 2147483647},
                    IntRow{u"-2147483648", -2147483647 - 1},
                    IntRow{u"-2147483649", -2147483647 - 1},
                    IntRow{u"99999999999999999999999999", 2147483647},
                    IntRow{u"00000000000000000000000000042", 42},
                    IntRow{u"\u3000"
                           u"5",
                           0},                    // an ideographic space is no blank
                    IntRow{u"\uff11\uff12", 0})); // nor are full-width digits digits

class WideToRealTest : public testing::TestWithParam<RealRow> {};

TEST_P(WideToRealTest, ReadsTheLeadingNumber) {
  double value = WideToReal(GetParam().text);
  EXPECT_EQ(value, GetParam().value);
  EXPECT_EQ(std::signbit(value), std::signbit(GetParam().value));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, WideToRealTest,
    testing::Values(
        RealRow{u"", 0.0}, RealRow{u"4", 4.0}, RealRow{u"  1.5", 1.5}, RealRow{u"-2.5e3", -2500.0},
        RealRow{u"+3.25E-2x", 0.0325}, RealRow{u"1e", 1.0}, RealRow{u"1e+", 1.0},
        RealRow{u"1e+2x", 100.0}, RealRow{u".5", 0.5}, RealRow{u"5.", 5.0}, RealRow{u".", 0.0},
        RealRow{u"-.", 0.0}, RealRow{u"-0", -0.0}, RealRow{u"abc", 0.0}, RealRow{u"1,5", 1.0},
        RealRow{u"0x10", 0.0}, RealRow{u"inf", 0.0}, RealRow{u"nan", 0.0}, RealRow{u"1d2", 1.0},
        RealRow{u"0.1", 0.1}, RealRow{u"123456789012345678901234567890", 1.2345678901234568e29},
        RealRow{u"1.7976931348623157e308", 1.7976931348623157e308}, RealRow{u"1e400", kInfinity},
        RealRow{u"-1e400", -kInfinity}, RealRow{u"1e-400", 0.0}, RealRow{u"0e999999999999", 0.0},
        RealRow{u"0.000001e300", 1e294}, RealRow{u"4.9e-324", 4.9e-324},
        RealRow{u"1.5\u0132", 1.5})); // no digit, though its low byte is "2"

TEST(WideToRealTest, ALongRunOfDigitsIsReadWhole) {
  std::u16string digits(10000, u'1');
  EXPECT_EQ(WideToReal(digits), kInfinity);
  EXPECT_EQ(WideToReal(u"0." + digits), 0.11111111111111111);
}

// Beyond a double's range, infinity or zero by the place of the first
// significant digit, wherever it stands and however many digits follow.
TEST(WideToRealTest, OutOfRangeByThePlaceOfTheFirstSignificantDigit) {
  std::u16string ones(400, u'1'), zeros(400, u'0');
  struct {
    std::u16string text;
    double value;
  } rows[] = {
      {u"2" + ones + u"e-92", kInfinity},    // 2.1e308
      {u"0.5e309", kInfinity},               // 5e308
      {u"0.5" + ones + u"e309", kInfinity},  // 5.1e308
      {u"0." + zeros + u"1", 0.0},           // 1e-401
      {u"-0." + zeros + u"1e-10", -0.0},     // 1e-411
      {u"0." + zeros + u"1e710", kInfinity}, // 1e309
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(testing::PrintToString(std::string(row.text.begin(), row.text.begin() + 8)));
    double value = WideToReal(row.text);
    EXPECT_EQ(value, row.value);
    EXPECT_EQ(std::signbit(value), std::signbit(row.value));
  }
}

// Measures to text, with both rounding rules; the same texts on both builds.
#include "MeasureFormat.h"
#include "Printing.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

struct Row {
  double value;
  int32_t decimals;
  std::u16string text;
};

void PrintTo(const Row& row, std::ostream* out) {
  *out << row.value << " in " << row.decimals << " decimals";
}

const char16_t kExact1e300[] =
    u"1000000000000000052504760255204420248704468581108159154915854115511802457988908195786371375"
    u"0804478640437044438328838781769425232353604305756447921847867069828483872009265758037378302"
    u"3379478809005936895323497079994508111903896764088007465274278014249457925878882005684283811"
    u"5669472196386865459400540160";

} // namespace

class FormatMeasureTest : public testing::TestWithParam<Row> {};

TEST_P(FormatMeasureTest, RoundsHalfAwayFromZeroAndShowsTheDecimals) {
  EXPECT_EQ(FormatMeasure(GetParam().value, GetParam().decimals, GetParam().decimals),
            GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, FormatMeasureTest,
    testing::Values(Row{12, 2, u"12.00"}, Row{12.25, 1, u"12.3"}, Row{12.5, 0, u"13"},
                    Row{0.5, 3, u"0.500"}, Row{0, 2, u"0.00"}, Row{0, 0, u"0"}, Row{-0.4, 0, u"0"},
                    Row{-0.5, 0, u"-1"}, Row{-1.25, 1, u"-1.3"}, Row{125, -1, u"130"},
                    Row{1.5, 8, u"1.50000000"}, Row{1.123456789, 8, u"1.12345700"},
                    Row{100.04, 1, u"100.0"}, Row{-2.5, 0, u"-3"}, Row{1234.5678, -2, u"1200"},
                    // Out of range: written unrounded, then trimmed or filled.
                    Row{1e300, 2, std::u16string(kExact1e300) + u".00"},
                    Row{-9.3e18, 0, u"-9300000000000000000"},
                    Row{std::numeric_limits<double>::infinity(), 2, u"inf"},
                    Row{-std::numeric_limits<double>::infinity(), 8, u"-inf"}, // no point, no zeros
                    Row{std::numeric_limits<double>::quiet_NaN(), 0, u"nan"}));

TEST(FormatMeasureLimitsTest, DecimalCountsAreTakenWithinAHundred) {
  EXPECT_EQ(FormatMeasure(1.5, 2147483647, 2147483647), u"1.5" + std::u16string(99, u'0'));
  EXPECT_EQ(FormatMeasure(125, -2147483647 - 1, -2147483647 - 1), u"0");
  EXPECT_EQ(FormatMeasure(1e-5, 100, -2147483647 - 1), u"0." + std::u16string(100, u'0'));
  EXPECT_EQ(RoundToDecimals(0.5, 1000), 0.5); // scaled past 2^63: unchanged
}

class FormatFixedTest : public testing::TestWithParam<Row> {};

TEST_P(FormatFixedTest, RoundsHalfUpAndPrintsThePrecision) {
  EXPECT_EQ(FormatFixed(GetParam().value, GetParam().decimals), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, FormatFixedTest,
    testing::Values(Row{12.25, 1, u"12.3"}, Row{-1.25, 1, u"-1.2"}, Row{2, 2, u"2.00"},
                    Row{12.5, 0, u"13"}, Row{125, -1, u"130.000000"}, Row{-2.5, 0, u"-2"},
                    Row{100.04, 1, u"100.0"}, Row{50.25, 1, u"50.3"}, Row{20, 7, u"20.0000000"},
                    Row{0.1, 20, u"0.10000000000000000555"},
                    Row{2, 1000, u"2." + std::u16string(100, u'0')},
                    Row{125, -2147483647 - 1, u"0.000000"}, Row{1e300, 0, kExact1e300}));

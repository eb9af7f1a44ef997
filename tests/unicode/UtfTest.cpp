// UTF-8 and UTF-16 both ways: Korean, the diameter signs, emoji, and broken
// input of every kind.
#include "Utf.h"

#include <gtest/gtest.h>

namespace {

struct Row {
  const char* what;
  std::string utf8;
  std::u16string utf16;
};

void PrintTo(const Row& row, std::ostream* out) { *out << row.what; }

class ValidTextTest : public testing::TestWithParam<Row> {};

TEST_P(ValidTextTest, GoesBothWaysUnchanged) {
  EXPECT_EQ(utf::ToUtf16(GetParam().utf8), GetParam().utf16);
  EXPECT_EQ(utf::ToUtf8(GetParam().utf16), GetParam().utf8);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ValidTextTest,
    testing::Values(Row{"empty", "", u""}, Row{"ASCII", "100X50", u"100X50"},
                    Row{"NUL inside", std::string("a\0b", 3), std::u16string(u"a\0b", 3)},
                    Row{"Latin", "\xC3\x98", u"\u00D8"},                        // Ø
                    Row{"Korean", "\xEA\xB0\x80\xEB\xA1\x9C", u"\uAC00\uB85C"}, // 가로
                    Row{"private use", "\xEE\x80\x80\xEE\x84\x9D", u"\uE000\uE11D"},
                    Row{"last of the plane", "\xEF\xBF\xBF", u"\uFFFF"},
                    Row{"emoji", "\xF0\x9F\x93\x90", u"\U0001F4D0"}, // 📐
                    Row{"last code point", "\xF4\x8F\xBF\xBF", u"\U0010FFFF"}));

const char16_t R = utf::kReplacement;

class BrokenUtf8Test : public testing::TestWithParam<Row> {};

TEST_P(BrokenUtf8Test, GivesReplacementCharacters) {
  EXPECT_EQ(utf::ToUtf16(GetParam().utf8), GetParam().utf16);
}

INSTANTIATE_TEST_SUITE_P(Rows, BrokenUtf8Test,
                         testing::Values(Row{"lone continuation", "a\x80z", {u'a', R, u'z'}},
                                         Row{"cut short at the end", "a\xEA\xB0", {u'a', R}},
                                         Row{"cut short before ASCII",
                                             "\xF0\x9F"
                                             "a",
                                             {R, u'a'}},
                                         Row{"overlong two bytes", "\xC0\xAF", {R, R}},
                                         Row{"overlong three bytes", "\xE0\x80\xAF", {R}},
                                         Row{"overlong four bytes", "\xF0\x80\x80\xAF", {R}},
                                         Row{"surrogate", "\xED\xA0\x80", {R}},
                                         Row{"beyond U+10FFFF", "\xF4\x90\x80\x80", {R}},
                                         Row{"no such lead byte", "\xF5\xFF", {R, R}}));

TEST(BrokenUtf16Test, LoneSurrogatesGiveReplacementCharacters) {
  EXPECT_EQ(utf::ToUtf8(std::u16string{0xD83D, u'a'}), "\xEF\xBF\xBD"
                                                       "a");
  EXPECT_EQ(utf::ToUtf8(std::u16string{0xDCD0}), "\xEF\xBF\xBD");
  EXPECT_EQ(utf::ToUtf8(std::u16string{0xD83D}), "\xEF\xBF\xBD");
  EXPECT_EQ(utf::ToUtf8(std::u16string{0xDCD0, 0xD83D}), "\xEF\xBF\xBD\xEF\xBF\xBD");
}

} // namespace

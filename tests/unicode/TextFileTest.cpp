// Text files as Windows tools save them: read whole, or refused with a line
// that says what the bytes seem to be. Korean "가로" in each encoding.
#include "TextFile.h"

#include <gtest/gtest.h>

namespace {

using namespace std::string_literals;

const std::string kKorean = "\xEA\xB0\x80\xEB\xA1\x9C"; // 가로 in UTF-8

struct Read {
  const char* what;
  std::string bytes;
  std::string text;
};

void PrintTo(const Read& row, std::ostream* out) { *out << row.what; }

class ReadTextTest : public testing::TestWithParam<Read> {};

TEST_P(ReadTextTest, GivesTheTextAsUtf8) {
  utf::Refusal why{utf::Refusal::NulBytes, 99};
  std::optional<std::string> text = utf::DecodeTextFile(GetParam().bytes, why);
  ASSERT_TRUE(text) << utf::RefusalText(why);
  EXPECT_EQ(*text, GetParam().text);
  EXPECT_EQ(why.byte, 99u) << "untouched";
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ReadTextTest,
    testing::Values(Read{"empty", "", ""}, Read{"UTF-8", "a " + kKorean, "a " + kKorean},
                    Read{"UTF-8 with its mark", "\xEF\xBB\xBF#" + kKorean, "#" + kKorean},
                    Read{"only the UTF-8 mark", "\xEF\xBB\xBF", ""},
                    Read{"UTF-16LE with its mark", "\xFF\xFE#\0\x00\xAC\x5C\xB8\r\0\n\0"s,
                         "#" + kKorean + "\r\n"},
                    Read{"UTF-16BE with its mark", "\xFE\xFF\0#\xAC\x00\xB8\x5C"s, "#" + kKorean},
                    Read{"only the UTF-16 mark", "\xFF\xFE", ""},
                    Read{"UTF-16 beyond the basic plane", "\xFF\xFE\x3D\xD8\xD0\xDC"s,
                         "\xF0\x9F\x93\x90"}));

struct Refused {
  const char* what;
  std::string bytes;
  std::string why; // the start of the refusal
};

void PrintTo(const Refused& row, std::ostream* out) { *out << row.what; }

class RefuseTextTest : public testing::TestWithParam<Refused> {};

TEST_P(RefuseTextTest, SaysWhatTheBytesSeemToBe) {
  utf::Refusal refusal;
  EXPECT_FALSE(utf::DecodeTextFile(GetParam().bytes, refusal));
  std::string why = utf::RefusalText(refusal);
  EXPECT_EQ(why.substr(0, std::string(GetParam().why).size()), GetParam().why) << why;
  EXPECT_NE(why.find("save it as UTF-8"), std::string::npos) << why;
}

INSTANTIATE_TEST_SUITE_P(
    Rows, RefuseTextTest,
    testing::Values(
        Refused{"CP949", "# \xB0\xA1\xB7\xCE", "is in the Korean Windows code page (CP949"},
        Refused{"UTF-16LE without its mark", "#\0a\0"s,
                "seems to be UTF-16 without a byte-order mark"},
        Refused{"UTF-16BE without its mark", "\0#\0a"s,
                "seems to be UTF-16 without a byte-order mark"},
        Refused{"UTF-16 cut short", "\xFF\xFE#\0a"s, "is UTF-16 cut in the middle of a character"},
        Refused{"Latin-1 byte alone", "caf\xE9", "is not UTF-8 text (byte 4)"},
        Refused{"a surrogate in UTF-8", "ab\xED\xA0\x80", "is not UTF-8 text (byte 3)"},
        Refused{"a byte UTF-8 never has", "a\xF8", "is not UTF-8 text (byte 2)"}));

TEST(TextFileTest, NulBytesInsideAreNoText) {
  utf::Refusal why;
  EXPECT_FALSE(utf::DecodeTextFile("abc\0def"s, why));
  EXPECT_EQ(utf::RefusalText(why), "holds NUL bytes: it is no text file");
}

TEST(TextFileTest, ValidUtf8EndsExactlyAtItsLastByte) {
  size_t at = 99;
  EXPECT_TRUE(utf::IsValidUtf8("\xF4\x8F\xBF\xBF", &at)); // U+10FFFF
  EXPECT_EQ(at, 99u);
  EXPECT_FALSE(utf::IsValidUtf8("ok\xF4\x90\x80\x80", &at)); // beyond U+10FFFF
  EXPECT_EQ(at, 2u);
  EXPECT_FALSE(utf::IsValidUtf8("\xE0\x9F\xBF", &at));     // overlong three-byte form
  EXPECT_FALSE(utf::IsValidUtf8("\xF0\x8F\xBF\xBF", &at)); // overlong four-byte form
  EXPECT_FALSE(utf::IsValidUtf8("\xEA\xB0", &at));         // cut short
  EXPECT_EQ(at, 0u);
  EXPECT_TRUE(utf::IsValidUtf8("\xED\x9F\xBF\xEE\x80\x80", &at)); // either side of the surrogates
}

TEST(TextFileTest, CodePage949GivesKoreanAndRefusesBrokenPairs) {
  EXPECT_EQ(utf::FromCodePage949("X\xB0\xA1\xB7\xCE"), "X" + kKorean);
  EXPECT_EQ(utf::FromCodePage949("\x81\x41"), "\xEA\xB0\x82"); // 갂: beyond EUC-KR
  EXPECT_EQ(utf::FromCodePage949(""), "");
  EXPECT_FALSE(utf::FromCodePage949("\xB0"));     // a lead byte alone
  EXPECT_FALSE(utf::FromCodePage949("\xFF\xFF")); // no character
}

} // namespace

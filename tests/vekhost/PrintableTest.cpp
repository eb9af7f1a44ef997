// What vekhost prints: control characters from files and the plug-in
// escaped, everything else as it is.
#include "Printable.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

struct Row {
  std::string text, shown;
};

void PrintTo(const Row& row, std::ostream* out) { *out << row.shown; }

class EscapeControlsTest : public testing::TestWithParam<Row> {};

TEST_P(EscapeControlsTest, ShowsControlsAsEscapes) {
  EXPECT_EQ(vekhost::EscapeControls(GetParam().text), GetParam().shown);
  std::ostringstream printed;
  std::unique_ptr<std::streambuf> escaping = vekhost::EscapingBuffer(printed.rdbuf());
  std::ostream out(escaping.get());
  for (char c : GetParam().text) out << c; // a byte at a time: C1 pairs arrive apart
  out << std::flush;
  std::string expected = GetParam().shown;
  for (size_t at; (at = expected.find("\\x0a")) != std::string::npos;) expected.replace(at, 4, "\n");
  EXPECT_EQ(printed.str(), expected) << "the stream keeps line feeds";
}

INSTANTIATE_TEST_SUITE_P(
    Texts, EscapeControlsTest,
    testing::Values(Row{"100X50X20 가로 Ø", "100X50X20 가로 Ø"}, Row{"\x1b[2J", "\\x1b[2J"},
                    Row{std::string("a\0b", 3), "a\\x00b"}, Row{"\t\r\x7f", "\\x09\\x0d\\x7f"},
                    Row{"\xc2\x9b" "31m", "\\x9b31m"}, Row{"\xc2\x80\xc2\x9f\xc2\xa0", "\\x80\\x9f\xc2\xa0"},
                    Row{"line\n", "line\\x0a"}, Row{"\xc2", "\xc2"}, Row{"", ""}));

TEST(EscapeControlsTest, AStreamPassesLongTextsWhole) {
  std::ostringstream printed;
  std::unique_ptr<std::streambuf> escaping = vekhost::EscapingBuffer(printed.rdbuf());
  std::ostream out(escaping.get());
  std::string text(10000, 'x');
  out << text << '\n' << std::flush;
  EXPECT_EQ(printed.str(), text + "\n");
}

} // namespace

// vekhost's own texts in Korean or English: the language a run chooses, the
// parts put into a text, and a Korean form, with all its parts, for every
// text the sources give to Tr.
#include "Language.h"
#include "Printable.h"
#include "TextFile.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>

namespace {

using vekhost::Language;

struct LanguageRow {
  std::vector<std::string> arguments;
  const char *lcAll, *lcMessages, *lang;
  Language expected;
};

void SetOrUnset(const char* name, const char* value) {
  if (value)
    setenv(name, value, 1);
  else
    unsetenv(name);
}

class StartLanguageTest : public testing::TestWithParam<LanguageRow> {
protected:
  void TearDown() override {
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) SetOrUnset(name, saved_[name]);
  }
  std::map<std::string, const char*> saved_ = {{"LC_ALL", std::getenv("LC_ALL")},
                                               {"LC_MESSAGES", std::getenv("LC_MESSAGES")},
                                               {"LANG", std::getenv("LANG")}};
};

TEST_P(StartLanguageTest, FollowsTheOptionThenTheLocale) {
  const LanguageRow& row = GetParam();
  SetOrUnset("LC_ALL", row.lcAll);
  SetOrUnset("LC_MESSAGES", row.lcMessages);
  SetOrUnset("LANG", row.lang);
  std::vector<char*> argv = {const_cast<char*>("vekhost")};
  for (const std::string& argument : row.arguments)
    argv.push_back(const_cast<char*>(argument.c_str()));
  EXPECT_EQ(vekhost::StartLanguage(int(argv.size()), argv.data()), row.expected);
}

const Language ko = Language::Korean, en = Language::English;

INSTANTIATE_TEST_SUITE_P(
    Rows, StartLanguageTest,
    testing::Values(LanguageRow{{}, nullptr, nullptr, nullptr, en},
                    LanguageRow{{}, nullptr, nullptr, "ko_KR.UTF-8", ko},
                    LanguageRow{{}, nullptr, nullptr, "ko", ko},
                    LanguageRow{{}, nullptr, nullptr, "en_US.UTF-8", en},
                    LanguageRow{{}, nullptr, nullptr, "C", en},
                    LanguageRow{{}, nullptr, "ko_KR.eucKR", "en_US.UTF-8", ko},
                    LanguageRow{{}, nullptr, "C", "ko_KR.UTF-8", en},
                    LanguageRow{{}, "C.UTF-8", "ko_KR", "ko_KR", en},
                    LanguageRow{{}, "ko_KR.UTF-8", nullptr, "C", ko},
                    LanguageRow{{}, "", "", "ko_KR.UTF-8", ko},
                    LanguageRow{{}, nullptr, nullptr, "kok_IN", en},
                    LanguageRow{{}, nullptr, nullptr, "ko.eucKR", ko},
                    LanguageRow{{"--lang", "en"}, nullptr, nullptr, "ko_KR.UTF-8", en},
                    LanguageRow{{"--lang=ko"}, nullptr, nullptr, "C", ko},
                    LanguageRow{
                        {"box.json", "--lang", "ko", "box.events"}, nullptr, nullptr, nullptr, ko},
                    LanguageRow{{"--lang", "xx"}, nullptr, nullptr, "ko_KR.UTF-8", ko},
                    LanguageRow{{"--lang"}, nullptr, nullptr, "ko_KR.UTF-8", ko},
                    LanguageRow{{"--language=en"}, nullptr, nullptr, "ko_KR.UTF-8", ko}));

TEST(FillTest, PutsThePartsInTheirPlaces) {
  using vekhost::Fill;
  EXPECT_EQ(Fill("{}: cannot be read", {"a.json"}), "a.json: cannot be read");
  EXPECT_EQ(Fill("{} {} and {}", {"1", "2", "3"}), "1 2 and 3");
  EXPECT_EQ(Fill("{1}, {0}", {"x", "y"}), "y, x");
  EXPECT_EQ(Fill("바뀜: {0}, 도형프레임의 {1}, {2}", {"size", "5", "8"}),
            "바뀜: size, 도형프레임의 5, 8");
  EXPECT_EQ(Fill("{0} {0}", {"a"}), "a a");
  EXPECT_EQ(Fill("no parts", {}), "no parts");
  EXPECT_EQ(Fill("{} and {}", {"one"}), "one and ");
  EXPECT_EQ(Fill("{ ... } {x} {", {"z"}), "{ ... } {x} {");
  EXPECT_EQ(Fill("{}", {"{}"}), "{}");
}

TEST(TrTest, GivesTheRunsLanguage) {
  vekhost::SetLanguage(Language::Korean);
  EXPECT_STREQ(vekhost::Tr("command ended"), "명령 끝");
  EXPECT_STREQ(vekhost::Tr("no such text"), "no such text") << "unknown texts stay English";
  vekhost::SetLanguage(Language::English);
  EXPECT_STREQ(vekhost::Tr("command ended"), "command ended");
}

// The parts a text takes, "{}" counted in order and "{N}" by number.
std::multiset<std::string> Parts(const std::string& text) {
  std::multiset<std::string> parts;
  int next = 0;
  static const std::regex part(R"(\{(\d?)\})");
  for (std::sregex_iterator i(text.begin(), text.end(), part), end; i != end; ++i)
    parts.insert((*i)[1].length() ? (*i)[1].str() : std::to_string(next++));
  return parts;
}

TEST(TranslationsTest, EachKoreanFormTakesTheSamePartsAndIsKorean) {
  std::set<std::string> english;
  for (const vekhost::Translation& t : vekhost::Translations()) {
    EXPECT_TRUE(english.insert(t.english).second) << "twice: " << t.english;
    EXPECT_EQ(Parts(t.korean), Parts(t.english)) << t.english << " / " << t.korean;
    EXPECT_NE(std::string(t.korean), t.english);
  }
}

// The texts of a source given to Tr or marked with N_, as the compiler joins
// adjacent literals; literals apart (the two sides of a ?:) are two texts.
std::vector<std::string> TextsToTranslate(const std::string& source) {
  static const std::regex call(R"(\b(Tr|N_)\()");
  static const std::regex literal(R"re("((?:[^"\\]|\\.)*)")re");
  std::vector<std::string> texts;
  for (std::sregex_iterator i(source.begin(), source.end(), call), end; i != end; ++i) {
    size_t at = size_t(i->position() + i->length());
    int depth = 1;
    std::string joined;
    bool open = false;
    while (depth > 0 && at < source.size()) {
      char c = source[at];
      if (c == '"') {
        std::smatch m;
        std::string rest = source.substr(at);
        std::regex_search(rest, m, literal, std::regex_constants::match_continuous);
        joined += m[1].str();
        open = true;
        at += size_t(m.length());
        continue;
      }
      if (!std::isspace(uint8_t(c)) && open) {
        texts.push_back(joined);
        joined.clear();
        open = false;
      }
      depth += c == '(' ? 1 : c == ')' ? -1 : 0;
      ++at;
    }
  }
  return texts;
}

std::string Unescape(const std::string& literal) {
  std::string text;
  for (size_t i = 0; i < literal.size(); ++i) {
    char c = literal[i];
    if (c == '\\' && i + 1 < literal.size()) c = literal[++i] == 'n' ? '\n' : literal[i];
    text += c;
  }
  return text;
}

TEST(TranslationsTest, EveryTextGivenToTrHasItsKoreanForm) {
  std::set<std::string> known, used;
  for (const vekhost::Translation& t : vekhost::Translations()) known.insert(t.english);
  for (const auto& entry : std::filesystem::directory_iterator(TRISPAN_VEKHOST_SOURCES)) {
    if (entry.path().extension() != ".cpp") continue;
    std::ifstream in(entry.path());
    std::stringstream source;
    source << in.rdbuf();
    for (const std::string& text : TextsToTranslate(source.str())) {
      used.insert(Unescape(text));
      EXPECT_EQ(known.count(Unescape(text)), 1u)
          << entry.path().filename() << ": no Korean form for \"" << text << "\"";
    }
  }
  ASSERT_FALSE(used.empty());
  // The encodings' refusals come from the text file library.
  used.insert(utf::kRemedy);
  for (auto kind : {utf::Refusal::Utf16Cut, utf::Refusal::Utf16WithoutMark, utf::Refusal::NulBytes,
                    utf::Refusal::CodePage949, utf::Refusal::NotUtf8})
    used.insert(utf::RefusalPattern(kind));
  for (const std::string& text : used)
    EXPECT_EQ(known.count(text), 1u) << "no Korean form: " << text;
  for (const std::string& text : known) EXPECT_EQ(used.count(text), 1u) << "never used: " << text;
}

TEST(TerminalColumnsTest, CountsHangulTwice) {
  EXPECT_EQ(vekhost::TerminalColumns(""), 0u);
  EXPECT_EQ(vekhost::TerminalColumns("pick"), 4u);
  EXPECT_EQ(vekhost::TerminalColumns("가로x세로"), 9u);
  EXPECT_EQ(vekhost::TerminalColumns("Ø30"), 3u);
  EXPECT_EQ(vekhost::TerminalColumns("\xe0\xa4\x85"), 1u) << "U+0905 is narrow";
  EXPECT_EQ(vekhost::TerminalColumns("→◆"), 2u) << "arrows and shapes are narrow";
}

} // namespace

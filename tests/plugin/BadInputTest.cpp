// Bad input of every kind: each stored setting in every odd form, each host
// query failing at each step, unknown events at each step. The command
// always ends or goes on as a drafter would expect, and nothing stored is
// lost.
#include "DialogDriver.h"
#include "PluginSession.h"
#include "Printing.h"
#include "SettingsTable.h"

#include <tuple>

using testreg::Bytes;
using testreg::TextBytes;

namespace {

struct StoredForm {
  const char* what;
  DWORD type; // REG_NONE: the value is missing
  Bytes data;
  bool kept; // false: the default replaces it
};

const std::vector<StoredForm> kForms = {
    {"missing", REG_NONE, {}, false},
    {"empty", REG_SZ, TextBytes(u""), true},
    {"blanks", REG_SZ, TextBytes(u"   \t "), true},
    {"not_a_number", REG_SZ, TextBytes(u"abc"), true},
    {"huge", REG_SZ, TextBytes(u"99999999999999999999999999"), true},
    {"huge_real", REG_SZ, TextBytes(u"1e400"), true},
    {"negative", REG_SZ, TextBytes(u"-5"), true},
    {"ten_thousand_units", REG_SZ, TextBytes(std::u16string(10000, u'7')), true},
    {"without_nul", REG_SZ, TextBytes(u"3", false), true},
    {"dword", REG_DWORD, {7, 0, 0, 0}, true},
    {"binary", REG_BINARY, {'1', 0, 0, 0}, false},
    {"multiple_texts", REG_MULTI_SZ, {'1', 0, 0, 0, 0, 0}, false},
};

} // namespace

class StoredSettingTest : public PluginTest,
                          public testing::WithParamInterface<std::tuple<int, int>> {};

// The drafter still gets a note, and the stored value is as it was (or, when
// it was missing or unreadable, its default).
TEST_P(StoredSettingTest, TheCommandWritesANoteAndTheValueStays) {
  int setting = std::get<0>(GetParam());
  const StoredForm& form = kForms[size_t(std::get<1>(GetParam()))];
  if (form.type != REG_NONE) testreg::SetValue(kSettingFields[setting].name, form.type, form.data);
  VekElementId width = AddDimension(100);
  StartWith();
  EXPECT_EQ(Send(Pick(width)), EXEC_NEXT);
  EXPECT_EQ(Send(Keyin("50")), EXEC_NEXT);
  EXPECT_EQ(Send(Keyin("20")), EXEC_NEXT);
  EXPECT_EQ(Send(DataPoint(10, 10)), EXEC_END);
  EXPECT_EQ(WrittenNotes().size(), 1u);
  EXPECT_TRUE(Errors().empty());
  DWORD type = 0;
  Bytes data;
  ASSERT_TRUE(testreg::GetValue(kSettingFields[setting].name, type, data));
  if (form.kept) {
    EXPECT_EQ(type, form.type);
    EXPECT_EQ(data, form.data);
  } else {
    EXPECT_EQ(type, DWORD(REG_SZ));
    EXPECT_EQ(data, TextBytes(kSettingFields[setting].defaultText));
  }
}

INSTANTIATE_TEST_SUITE_P(EverySettingEveryForm, StoredSettingTest,
                         testing::Combine(testing::Range(0, kSettingCount),
                                          testing::Range(0, int(kForms.size()))),
                         [](const testing::TestParamInfo<std::tuple<int, int>>& info) {
                           return Text(kSettingFields[std::get<0>(info.param)].name) + "_" +
                                  kForms[size_t(std::get<1>(info.param))].what;
                         });

namespace {

// The Korean lines a drafter may see when something goes wrong.
const std::vector<std::string> kKnownErrors = {
    "치수치 검출에러(1).", "치수주기 검출에러",
    "치수속성 검출에러",   "치수치 검출에러(2).",
    "치수치 검출에러(3).", "잘못된 지시.",
    "주기속성 검출에러",   "일반주기를 선택하셔야 합니다.",
    "주기생성 에러"};

enum Step { Width, Length, LengthPoint, Height, HeightPoint, Note, NotePick };
const char* const kStepNames[] = {"Width",       "Length", "LengthPoint", "Height",
                                  "HeightPoint", "Note",   "NotePick"};

class StepTest : public PluginTest {
protected:
  // Plays the command up to `step`; the event that step then takes.
  SimEvent ReachStep(Step step) {
    VekElementId width = AddDimension(100, 1, 3, "W", "mm");
    VekElementId other = AddDimension(50, 0, 1, "\x1c!", nullptr);
    SimNote general{VEK_NOTE_KIND_GENERAL, 5, 5, "old", 3, 3, 0, 0, 0};
    VekElementId note = SimAddNote(&general);
    StartWith();
    if (step == Width) return Pick(width, 1, 1);
    Send(Pick(width));
    if (step == Length) return Pick(other, 2, 2);
    if (step == LengthPoint) {
      Send(DataPoint(0, 0));
      return DataPoint(3, 4);
    }
    Send(Keyin("50"));
    if (step == Height) return Pick(other, 2, 2);
    if (step == HeightPoint) {
      Send(DataPoint(0, 0));
      return DataPoint(3, 4);
    }
    Send(Keyin("20"));
    return step == Note ? DataPoint(10, 10) : Pick(note, 5, 5);
  }
  void ExpectNothingLost(const std::vector<std::u16string>& before) {
    for (const std::string& error : Errors())
      EXPECT_NE(std::find(kKnownErrors.begin(), kKnownErrors.end(), error), kKnownErrors.end())
          << error;
    std::vector<std::u16string> after;
    for (const SettingField& field : kSettingFields) after.push_back(testreg::GetText(field.name));
    EXPECT_EQ(after, before);
    SimCancelCommand();
    SimStartCommand();
    EXPECT_EQ(SimStaleTextCount(), 0);
  }
  std::vector<std::u16string> Stored() {
    std::vector<std::u16string> texts;
    for (const SettingField& field : kSettingFields) texts.push_back(testreg::GetText(field.name));
    return texts;
  }
};

} // namespace

class FailingQueryTest : public StepTest,
                         public testing::WithParamInterface<std::tuple<int, int>> {};

// A host query fails at a step: the step goes on or ends, with at most one of
// the command's own error lines; no setting is touched.
TEST_P(FailingQueryTest, TheStepCopes) {
  Step step = Step(std::get<0>(GetParam()));
  const char* query = SimFailableCall(std::get<1>(GetParam()));
  SimEvent event = ReachStep(step);
  std::vector<std::u16string> before = Stored();
  SimFailCall(query, 1);
  int32_t result = Send(event);
  // SIM_FILTERED: without an element type the host's filter keeps a pick back.
  EXPECT_TRUE(result == EXEC_NEXT || result == EXEC_STAY || result == EXEC_END ||
              result == SIM_FILTERED)
      << result;
  EXPECT_LE(Errors().size(), 1u);
  if (!Errors().empty()) {
    EXPECT_EQ(result, EXEC_END) << "an error line ends the command";
  }
  SimFailCall(query, 0);
  ExpectNothingLost(before);
}

INSTANTIATE_TEST_SUITE_P(EveryStepEveryQuery, FailingQueryTest,
                         testing::Combine(testing::Range(0, 7),
                                          testing::Range(0, SIM_FAILABLE_CALLS)),
                         [](const testing::TestParamInfo<std::tuple<int, int>>& info) {
                           return std::string(kStepNames[std::get<0>(info.param)]) + "_" +
                                  SimFailableCall(std::get<1>(info.param));
                         });

class UnknownEventTest : public StepTest,
                         public testing::WithParamInterface<std::tuple<int, int, bool>> {};

// An event of a kind the host never sends, with or without a position: it is
// ignored; with a position the width step takes it for a pick (of nothing,
// so the measure fails) and the length and height steps call it a wrong
// indication.
TEST_P(UnknownEventTest, IsIgnoredOrAWrongIndication) {
  Step step = Step(std::get<0>(GetParam()));
  const int32_t kinds[] = {0, 4, 6, 8, -1, 1000};
  int32_t kind = kinds[std::get<1>(GetParam())];
  bool withPoint = std::get<2>(GetParam());
  ReachStep(step);
  std::vector<std::u16string> before = Stored();
  SimDeliverAll(1);
  int32_t result = Send(SimEvent{kind, withPoint ? 1 : 0, 1, 1, 0, 0, "1"});
  std::vector<std::string> expected;
  if (withPoint && step == Width) expected = {"치수치 검출에러(1)."};
  if (withPoint && step != Width && step != Note && step != NotePick) expected = {"잘못된 지시."};
  EXPECT_EQ(result, expected.empty() ? EXEC_STAY : EXEC_END);
  EXPECT_EQ(Errors(), expected);
  ExpectNothingLost(before);
}

INSTANTIATE_TEST_SUITE_P(EveryStepEveryKind, UnknownEventTest,
                         testing::Combine(testing::Range(0, 6), testing::Range(0, 6),
                                          testing::Bool()),
                         [](const testing::TestParamInfo<std::tuple<int, int, bool>>& info) {
                           return std::string(kStepNames[std::get<0>(info.param)]) + "_kind" +
                                  std::to_string(std::get<1>(info.param)) +
                                  (std::get<2>(info.param) ? "_withPoint" : "_withoutPoint");
                         });

// The width step: the dimension's text, the diameter skip, the failures, and
// the events it lets pass.
#include "DialogDriver.h"
#include "PluginSession.h"
#include "Printing.h"

namespace {

// With Round 4 the note joins the step texts: it shows the width text.
std::string NoteWithWidth(VekElementId width) {
  Send(Pick(width));
  Send(Keyin("5"));
  Send(Keyin("6"));
  Send(DataPoint(0, 0));
  return WrittenText();
}

} // namespace

using WidthStepTest = PluginTest;

struct WidthTextRow {
  double measure;
  int32_t decimals;
  int32_t noteResult;
  const char* prefix;
  const char* suffix;
  std::string text;
};

void PrintTo(const WidthTextRow& row, std::ostream* out) {
  *out << row.measure << ", " << row.decimals << " decimals, note result " << row.noteResult;
}

class WidthTextTest : public PluginTest, public testing::WithParamInterface<WidthTextRow> {};

TEST_P(WidthTextTest, JoinsTheDimensionsTextsAroundItsValue) {
  const WidthTextRow& row = GetParam();
  VekElementId width =
      AddDimension(row.measure, row.decimals, row.noteResult, row.prefix, row.suffix);
  StartWith();
  EXPECT_EQ(NoteWithWidth(width), row.text + "X5X6");
}

INSTANTIATE_TEST_SUITE_P(NoteResults, WidthTextTest,
                         testing::Values(WidthTextRow{100, 0, 0, "R", "mm", "100"},
                                         WidthTextRow{100.256, 2, 1, "R", "mm", "R100.26"},
                                         WidthTextRow{100, 1, 2, "R", "mm", "100.0mm"},
                                         WidthTextRow{100, 0, 3, "R", "mm", "R100mm"},
                                         WidthTextRow{100, 0, 4, "R", "mm",
                                                      "R"}, // the prefix replaces the value
                                         WidthTextRow{100, 0, 9, "", "mm", ""},
                                         WidthTextRow{125, -1, 0, "", "", "130"}));

TEST_F(WidthStepTest, APickAsksTheFourQueriesThenInstallsTheLengthStep) {
  VekElementId width = AddDimension(100, 0, 0);
  StartWith();
  SimJournalClear();
  EXPECT_EQ(Send(Pick(width, 3, 4)), EXEC_NEXT);
  std::string id = std::to_string(width);
  std::vector<std::string> journal = Journal();
  ASSERT_GE(journal.size(), 12u);
  EXPECT_EQ(std::vector<std::string>(journal.begin() + 1, journal.end()),
            (std::vector<std::string>{
                "VekEvtGetPoint(1, 1) = 0 (3, 4)",
                "VekEvtGetElementId(1, 1) = " + id,
                "VekDimGetMeasure(" + id + ") = 0 100",
                "VekDimGetNote(" + id + ") = 0",
                "VekDimGetMark(" + id + ") = 0",
                "VekDimGetDecimalPlace(" + id + ") = 0",
                "VekCtlSetReadyFunc(ready#1, \"\") = 0",
                "VekIddClearSysIdData() = 0",
                "VekEvtSetEventMask(0x1021000) = 0",
                "VekEvtSetObject({4, 0, 0x7c2f, 0, 0}) = 0",
                "VekMsgPutMessage(\"세로치수선택 :\") = 0",
                "VekCtlSetExecuteFunc(exec#1, \"\") = 0",
            }));
  EXPECT_EQ(journal[0], "VekElmGetType(" + id + ") = 12"); // the compare function
}

TEST_F(WidthStepTest, EventsWithoutAPositionKeepTheStepWaiting) {
  StartWith();
  SimJournalClear();
  OnNextDialog({}); // the end button's settings dialog, cancelled
  EXPECT_EQ(Send(EndButton()), EXEC_STAY);
  EXPECT_EQ(Send(Keyin("12")), EXEC_STAY);
  EXPECT_EQ(Journal(),
            (std::vector<std::string>{"VekEvtGetPoint(7, 1) = 1", "VekEvtGetPoint(5, 2) = 1"}));
  EXPECT_EQ(SimCommandRunning(), 1);
}

struct DiameterRow {
  int32_t noteResult;
  const char* prefix;
  const char* suffix;
  int32_t mark;
  bool skipsLength;
};

void PrintTo(const DiameterRow& row, std::ostream* out) {
  *out << "note result " << row.noteResult << ", prefix \"" << (row.prefix ? row.prefix : "")
       << "\", mark " << row.mark;
}

class DiameterTest : public PluginTest, public testing::WithParamInterface<DiameterRow> {};

TEST_P(DiameterTest, SkipsTheLengthForADiameterWidth) {
  const DiameterRow& row = GetParam();
  VekElementId width = AddDimension(30, 0, row.noteResult, row.prefix, row.suffix, row.mark);
  StartWith();
  EXPECT_EQ(Send(Pick(width)), EXEC_NEXT);
  EXPECT_STREQ(SimPrompt(), row.skipsLength ? "높이치수선택 :" : "세로치수선택 :");
}

INSTANTIATE_TEST_SUITE_P(
    MarksAndPrefixes, DiameterTest,
    testing::Values(DiameterRow{0, nullptr, nullptr, 2, true}, DiameterRow{3, "\x1c!", "", 0, true},
                    DiameterRow{1, "\x1c!30", "", 0, true}, DiameterRow{2, "", "\x1c!", 0, false},
                    DiameterRow{0, "\x1c!", "", 0, false}, DiameterRow{4, "\x1c!", "", 0, false},
                    DiameterRow{1, "\x1c", "", 0, false}, DiameterRow{1, "!\x1c", "", 0, false},
                    DiameterRow{1, "", "", 1, false}));

struct FailureRow {
  std::vector<const char*> failing;
  std::string error;
};

class WidthFailureTest : public PluginTest, public testing::WithParamInterface<FailureRow> {};

TEST_P(WidthFailureTest, ReportsTheFirstFailedQueryAndEnds) {
  VekElementId width = AddDimension(100, 3);
  StartWith();
  for (const char* function : GetParam().failing) SimFailCall(function, 1);
  EXPECT_EQ(Send(Pick(width)), EXEC_END);
  EXPECT_EQ(Errors(), std::vector<std::string>{GetParam().error});
  EXPECT_EQ(SimCommandRunning(), 0);
  EXPECT_EQ(JournalOf("VekDimGetDecimalPlace").size(), 1u); // asked before any test
}

INSTANTIATE_TEST_SUITE_P(
    Queries, WidthFailureTest,
    testing::Values(FailureRow{{"VekDimGetMeasure"}, "치수치 검출에러(1)."},
                    FailureRow{{"VekDimGetNote"}, "치수주기 검출에러"},
                    FailureRow{{"VekDimGetMark"}, "치수속성 검출에러"},
                    FailureRow{{"VekDimGetNote", "VekDimGetMark"}, "치수주기 검출에러"},
                    FailureRow{{"VekDimGetMeasure", "VekDimGetMark"}, "치수치 검출에러(1)."}));

TEST_F(WidthStepTest, LongDimensionTextsAreReadUpToTheirBuffers) {
  std::string prefix(200, 'p'); // the host fills all 104 units, no NUL
  VekElementId width = AddDimension(7, 0, 3, prefix.c_str(), "s");
  StartWith();
  EXPECT_EQ(NoteWithWidth(width), std::string(104, 'p') + "7sX5X6");
}

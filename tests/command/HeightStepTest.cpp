// The height step and the note text it composes: the worked examples, the
// diameter forms, the frame policy and the failures.
#include "PluginSession.h"
#include "Printing.h"

namespace {

using Settings = std::vector<std::pair<std::u16string, std::u16string>>;

struct NoteRow {
  const char* what;
  Settings settings;
  double width;
  int32_t widthDecimals;
  const char* length; // typed; null when the width skips the length
  const char* height; // typed; null for the end button
  std::string note;
};

void PrintTo(const NoteRow& row, std::ostream* out) { *out << row.what; }

std::string RowName(const testing::TestParamInfo<NoteRow>& info) { return info.param.what; }

} // namespace

class NoteTextTest : public PluginTest, public testing::WithParamInterface<NoteRow> {};

TEST_P(NoteTextTest, ComposesTheMeasures) {
  const NoteRow& row = GetParam();
  VekElementId width =
      AddDimension(row.width, row.widthDecimals, 0, nullptr, nullptr, row.length ? 0 : 2);
  StartWith(row.settings);
  Send(Pick(width));
  if (row.length) Send(Keyin(row.length));
  EXPECT_EQ(Send(row.height ? Keyin(row.height) : EndButton()), EXEC_NEXT);
  Send(DataPoint(0, 0));
  EXPECT_EQ(WrittenText(), row.note);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, NoteTextTest,
    testing::Values(
        NoteRow{"RoundOne", {{u"Round", u"1"}}, 100.04, 2, "50.25", "20", "100.0X50.3X20.0"},
        NoteRow{"RoundFourKeepsTypedTexts", {}, 100, 0, "50", "12.50", "100X50X12.50"},
        NoteRow{"ZeroLengthFontZero", {{u"Round", u"0"}}, 30, 0, "0", "120", "\uE00030X120"},
        NoteRow{"HeightLeftOut",
                {{u"Round", u"0"}, {u"Font", u"1"}, {u"PreComment", u"SUS-"}},
                30,
                0,
                "200",
                nullptr,
                "SUS-\uE11D30X200"},
        NoteRow{"TypedHeightAbc", {}, 100, 0, "50", "abc", "100X50Xabc"},
        NoteRow{"NegativeHalfRoundsUp", {{u"Round", u"0"}}, 10, 0, "5", "-2.5", "10X5X-2"},
        NoteRow{"RoundSeven", {{u"Round", u"7"}}, 1, 0, "2", "3", "1.0000000X2.0000000X3.0000000"},
        NoteRow{"NegativeRound",
                {{u"Round", u"-1"}},
                125,
                0,
                "44",
                "5",
                "130.000000X40.000000X10.000000"},
        NoteRow{"Connector",
                {{u"MTitle", u" x "}, {u"PreComment", u"W"}},
                1,
                0,
                "2",
                "3",
                "W1 x 2 x 3"},
        NoteRow{"DiameterWidthWithHeight", {}, 30, 0, nullptr, "120", "\uE00030X120"},
        // The width skipped the length and the height is left out: the sign and
        // the width alone.
        NoteRow{"DiameterWidthAlone", {}, 30, 1, nullptr, nullptr, "\uE00030.0"},
        NoteRow{"DiameterWidthAloneFixed",
                {{u"Round", u"2"}, {u"Font", u"1"}},
                30,
                0,
                nullptr,
                nullptr,
                "\uE11D30.00"},
        // A typed length of 0 then the end button keeps the sign, width and length.
        NoteRow{"ZeroLengthHeightLeftOut", {}, 30, 0, "0", nullptr, "\uE00030X0"}),
    RowName);

TEST_F(PluginTest, NoLengthOfAnEarlierCommandReachesADiameterNote) {
  VekElementId box = AddDimension(100);
  VekElementId cylinder = AddDimension(30, 0, 0, nullptr, nullptr, 2);
  StartWith();
  Send(Pick(box));
  Send(Keyin("77"));
  Send(Keyin("5"));
  Send(DataPoint(0, 0));
  StartWith();
  Send(Pick(cylinder));
  Send(EndButton());
  Send(DataPoint(0, 0));
  std::vector<SimNote> notes = WrittenNotes();
  ASSERT_EQ(notes.size(), 2u);
  EXPECT_STREQ(notes[0].text, "100X77X5");
  EXPECT_STREQ(notes[1].text, "\uE00030");
}

// A diameter dimension whose prefix text is the host's own diameter code:
// one sign in the note, whether the note takes the step texts or the values.
TEST_F(PluginTest, ADiameterWidthWithItsOwnCodeCarriesOneSign) {
  for (const char16_t* round : {u"4", u"0"}) {
    SimReset();
    testreg::Reset();
    VekElementId width = AddDimension(30, 0, VEK_DIM_NOTE_PREFIX, "\x1C!", nullptr, 2);
    VekElementId height = AddDimension(120, 0, 0, nullptr, nullptr, 0, 13);
    StartWith({{u"Round", round}});
    Send(Pick(width));
    Send(Pick(height));
    Send(DataPoint(0, 0));
    EXPECT_EQ(WrittenText(), "\uE000"
                             "30X120")
        << "Round " << Text(round);
  }
}

TEST_F(PluginTest, AHeightLeftOutDoesNotCarryIntoTheNextCommand) {
  VekElementId box = AddDimension(100);
  for (const char* height : {(const char*)nullptr, "20"}) {
    StartWith();
    Send(Pick(box));
    Send(Keyin("50"));
    Send(height ? Keyin(height) : EndButton());
    Send(DataPoint(0, 0));
  }
  std::vector<SimNote> notes = WrittenNotes();
  ASSERT_EQ(notes.size(), 2u);
  EXPECT_STREQ(notes[0].text, "\uE000100X50");
  EXPECT_STREQ(notes[1].text, "100X50X20");
}

namespace {

class HeightStepTest : public PluginTest {
protected:
  void ReachHeight(const Settings& settings = {}) {
    VekElementId width = AddDimension(100);
    StartWith(settings);
    Send(Pick(width));
    ASSERT_EQ(Send(Keyin("50")), EXEC_NEXT);
    ASSERT_STREQ(SimPrompt(), "높이치수선택 :");
  }
};

} // namespace

TEST_F(HeightStepTest, TheReadyFunctionSetsUpTheDimensionPick) {
  VekElementId width = AddDimension(100);
  StartWith();
  Send(Pick(width));
  SimJournalClear();
  Send(Keyin("50"));
  EXPECT_EQ(
      JournalFrom("VekIddClearSysIdData"),
      (std::vector<std::string>{"VekIddClearSysIdData() = 0", "VekEvtSetEventMask(0x1021000) = 0",
                                "VekEvtSetObject({4, 0, 0x7c2f, 0, 0}) = 0",
                                "VekMsgPutMessage(\"높이치수선택 :\") = 0",
                                "VekCtlSetExecuteFunc(exec#1, \"\") = 0"}));
}

struct DimensionRow {
  const char16_t* round;
  int32_t noteResult;
  std::string note;
};

void PrintTo(const DimensionRow& row, std::ostream* out) {
  *out << "Round " << Text(row.round) << ", note result " << row.noteResult;
}

class HeightDimensionTest : public HeightStepTest,
                            public testing::WithParamInterface<DimensionRow> {};

TEST_P(HeightDimensionTest, TakesTheDimensionsTextOrValue) {
  VekElementId height = AddDimension(20.5, 1, GetParam().noteResult, "H=", "mm");
  ReachHeight({{u"Round", GetParam().round}});
  EXPECT_EQ(Send(Pick(height)), EXEC_NEXT);
  Send(DataPoint(0, 0));
  EXPECT_EQ(WrittenText(), GetParam().note);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, HeightDimensionTest,
    testing::Values(DimensionRow{u"4", 3, "100X50XH=20.5mm"}, DimensionRow{u"4", 4, "100X50XH="},
                    DimensionRow{u"4", -1, "100X50X20.5"}, // failed: value alone
                    DimensionRow{u"2", 4, "100.00X50.00X20.50"}));

TEST_F(HeightStepTest, TwoPointsMeasureFromTheFirst) {
  // Round 4 writes the distance in the width dimension's decimals (0 here).
  for (auto [round, note] : {std::pair{u"2", "100.00X50.00X5.00"}, std::pair{u"4", "100X50X5"}}) {
    SimReset();
    testreg::Reset();
    ReachHeight({{u"Round", round}});
    EXPECT_EQ(Send(DataPoint(1, 1)), EXEC_NEXT);
    EXPECT_STREQ(SimCursorText(), "높이");
    VekEcho echo{};
    SimGetEcho(&echo);
    EXPECT_EQ(echo.kind, 1);
    EXPECT_EQ(echo.unused, 0) << "every byte set";
    EXPECT_EQ(echo.x, 1);
    EXPECT_EQ(echo.y, 1);
    EXPECT_EQ(Send(DataPoint(4, 5)), EXEC_NEXT);
    Send(DataPoint(0, 0));
    EXPECT_EQ(WrittenText(), note);
  }
}

TEST_F(HeightStepTest, TheEndButtonAtTheSecondPointEndsTheCommand) {
  ReachHeight();
  Send(DataPoint(1, 1));
  EXPECT_EQ(Send(EndButton()), EXEC_END);
  EXPECT_EQ(SimCommandRunning(), 0);
  EXPECT_TRUE(WrittenNotes().empty());
}

struct FrameRow {
  const char16_t* frameChar;
  bool heightTaken;
  std::vector<std::string> frameCalls;
};

void PrintTo(const FrameRow& row, std::ostream* out) {
  *out << "FrameChar " << Text(row.frameChar)
       << (row.heightTaken ? ", height taken" : ", height left out");
}

class FrameCharTest : public HeightStepTest, public testing::WithParamInterface<FrameRow> {};

TEST_P(FrameCharTest, AppliesToATakenHeightOnly) {
  ReachHeight({{u"FrameChar", GetParam().frameChar}});
  SimJournalClear();
  Send(GetParam().heightTaken ? Keyin("5") : EndButton());
  EXPECT_EQ(JournalOf("VekEnvSetFrame"), GetParam().frameCalls);
}

INSTANTIATE_TEST_SUITE_P(Policies, FrameCharTest,
                         testing::Values(FrameRow{u"0", true, {"VekEnvSetFrame(1) = 0"}},
                                         FrameRow{u"1", true, {"VekEnvSetFrame(2) = 0"}},
                                         FrameRow{u"2", true, {}}, FrameRow{u"1", false, {}},
                                         FrameRow{u"0", false, {}}));

struct HeightEndingRow {
  bool twoPoints;
  SimEvent event;
  int32_t result;
  std::vector<std::string> errors;
};

void PrintTo(const HeightEndingRow& row, std::ostream* out) {
  *out << (row.twoPoints ? "second point, " : "height step, ") << testing::PrintToString(row.event);
}

class HeightEndingTest : public HeightStepTest,
                         public testing::WithParamInterface<HeightEndingRow> {};

TEST_P(HeightEndingTest, EndsOrWaitsAsTheEventSays) {
  ReachHeight();
  if (GetParam().twoPoints) Send(DataPoint(1, 1));
  SimDeliverAll(1);
  EXPECT_EQ(Send(GetParam().event), GetParam().result);
  EXPECT_EQ(Errors(), GetParam().errors);
  EXPECT_EQ(SimCommandRunning(), GetParam().result == EXEC_END ? 0 : 1);
}

INSTANTIATE_TEST_SUITE_P(
    Events, HeightEndingTest,
    testing::Values(HeightEndingRow{false,
                                    SimEvent{EVT_FURTHER, 1, 1, 1, 0, 0, nullptr},
                                    EXEC_END,
                                    {"잘못된 지시."}},
                    HeightEndingRow{false, SimEvent{9, 0, 0, 0, 0, 0, nullptr}, EXEC_STAY, {}},
                    HeightEndingRow{true, Pick(1), EXEC_END, {"잘못된 지시."}},
                    HeightEndingRow{true, Keyin("1"), EXEC_STAY, {}}));

TEST_F(HeightStepTest, AFailedMeasureEndsTheCommandWithoutANote) {
  VekElementId height = AddDimension(20);
  ReachHeight();
  SimFailCall("VekDimGetMeasure", 1);
  EXPECT_EQ(Send(Pick(height)), EXEC_END);
  EXPECT_EQ(Errors(), std::vector<std::string>{"치수치 검출에러(3)."});
  EXPECT_TRUE(WrittenNotes().empty());
}

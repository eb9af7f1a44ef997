// Each run of the command: its start (frame saved, settings loaded, FrameDim
// applied, width step set up) and its end (FrameCmd applied).
#include "PluginSession.h"
#include "Printing.h"

namespace {

const std::vector<std::string> kWidthStepSetUp = {
    "VekIddClearSysIdData() = 0",
    "VekEvtSetEventMask(0x1001000) = 0",
    "VekEvtSetCompareFunction(compare#1) = 0",
    "VekMsgPutMessage(\"가로치수선택 : (종료버튼:Dialog)\") = 0",
    "VekCtlSetExecuteFunc(exec#1, \"\") = 0",
};

// The journal of a start with frame `current`: the frame query, any frame
// switch, then the width step.
std::vector<std::string> StartJournal(int current, std::vector<std::string> switches) {
  std::vector<std::string> journal = {"VekEnvGetCurrentFrame() = " + std::to_string(current)};
  journal.insert(journal.end(), switches.begin(), switches.end());
  journal.insert(journal.end(), kWidthStepSetUp.begin(), kWidthStepSetUp.end());
  return journal;
}

} // namespace

using LifecycleTest = PluginTest;

TEST_F(LifecycleTest, StartSavesTheFrameThenSetsUpTheWidthStep) {
  SimSetCurrentFrame(FRAME_TITLE);
  EXPECT_EQ(SimStartCommand(), 0);
  // Defaults: FrameDim 2 leaves the frame as it is.
  EXPECT_EQ(Journal(), StartJournal(2, {}));
  EXPECT_STREQ(SimPrompt(), "가로치수선택 : (종료버튼:Dialog)");
  EXPECT_EQ(SimEventMask(), 0x1001000u);
  EXPECT_EQ(SimGetCurrentFrame(), FRAME_TITLE);
}

struct FrameDimRow {
  const char16_t* stored;
  int startFrame;
  std::vector<std::string> switches;
  int frameAfter;
};

void PrintTo(const FrameDimRow& row, std::ostream* out) {
  *out << "FrameDim " << Text(row.stored) << " from frame " << row.startFrame;
}

class FrameDimTest : public PluginTest, public testing::WithParamInterface<FrameDimRow> {};

// The stored FrameDim holds from the first run of a freshly loaded library.
TEST_P(FrameDimTest, AppliesTheStoredPolicyFromTheFirstRun) {
  const FrameDimRow& row = GetParam();
  testreg::SetText(u"FrameDim", row.stored);
  SimSetCurrentFrame(row.startFrame);
  SimStartCommand();
  EXPECT_EQ(Journal(), StartJournal(row.startFrame, row.switches));
  EXPECT_EQ(SimGetCurrentFrame(), row.frameAfter);
}

INSTANTIATE_TEST_SUITE_P(
    Policies, FrameDimTest,
    testing::Values(FrameDimRow{u"0", FRAME_TITLE, {"VekEnvSetFrame(1) = 0"}, FRAME_FIGURE},
                    FrameDimRow{u"1", FRAME_FIGURE, {"VekEnvSetFrame(2) = 0"}, FRAME_TITLE},
                    FrameDimRow{u"2", FRAME_TITLE, {}, FRAME_TITLE},
                    FrameDimRow{u"9", FRAME_TITLE, {}, FRAME_TITLE},
                    FrameDimRow{u"-1", FRAME_FIGURE, {}, FRAME_FIGURE}));

TEST_F(LifecycleTest, AFrameDimChangedBetweenRunsHoldsAtTheNextStart) {
  SimStartCommand();
  SimCancelCommand();
  testreg::SetText(u"FrameDim", u"1");
  SimJournalClear();
  SimStartCommand();
  EXPECT_EQ(Journal(), StartJournal(1, {"VekEnvSetFrame(2) = 0"}));
}

struct FrameCmdRow {
  const char16_t* stored;
  int startFrame;
  int frameDuringRun;
  std::string endCall;
  int frameAfter;
};

void PrintTo(const FrameCmdRow& row, std::ostream* out) {
  *out << "FrameCmd " << Text(row.stored) << " from frame " << row.startFrame;
}

class FrameCmdTest : public PluginTest, public testing::WithParamInterface<FrameCmdRow> {};

TEST_P(FrameCmdTest, EndAppliesThePolicy) {
  const FrameCmdRow& row = GetParam();
  testreg::SetText(u"FrameCmd", row.stored);
  SimSetCurrentFrame(row.startFrame);
  SimStartCommand();
  SimSetCurrentFrame(row.frameDuringRun);
  SimJournalClear();
  EXPECT_EQ(SimCancelCommand(), 0);
  EXPECT_EQ(Journal(), std::vector<std::string>{row.endCall});
  EXPECT_EQ(SimGetCurrentFrame(), row.frameAfter);
}

// Any policy but 0 and 1 returns to the frame saved at the start, even when
// the run changed frames.
INSTANTIATE_TEST_SUITE_P(
    Policies, FrameCmdTest,
    testing::Values(FrameCmdRow{u"0", FRAME_TITLE, FRAME_TITLE, "VekEnvSetFrame(1) = 0", 1},
                    FrameCmdRow{u"1", FRAME_FIGURE, FRAME_FIGURE, "VekEnvSetFrame(2) = 0", 2},
                    FrameCmdRow{u"2", FRAME_TITLE, FRAME_FIGURE, "VekEnvSetFrame(2) = 0", 2},
                    FrameCmdRow{u"2", FRAME_FIGURE, FRAME_TITLE, "VekEnvSetFrame(1) = 0", 1},
                    FrameCmdRow{u"7", FRAME_FIGURE, FRAME_TITLE, "VekEnvSetFrame(1) = 0", 1}));

TEST_F(LifecycleTest, EndHandsBackWhateverTheFrameQueryGaveAtTheStart) {
  SimFailCall("VekEnvGetCurrentFrame", 1);
  SimStartCommand();
  SimJournalClear();
  SimCancelCommand();
  EXPECT_EQ(Journal(), std::vector<std::string>{"VekEnvSetFrame(-1) = -1"});
}

TEST_F(LifecycleTest, QueryStartLetsTheHostGoAhead) {
  // The host asks before every start; a refusal would show as SIM_REFUSED.
  EXPECT_EQ(SimStartCommand(), 0);
  EXPECT_EQ(SimStartCommand(), 0);
}

TEST_F(LifecycleTest, PicksOfNonDimensionsNeverReachTheWidthStep) {
  VekElementId line = SimAddElement(SIM_TYPE_LINE);
  SimDimension dimension{12, 100, 0, 0, nullptr, nullptr, 0};
  VekElementId width = SimAddDimension(&dimension);
  SimStartCommand();
  SimJournalClear();
  EXPECT_EQ(Send(Pick(line)), SIM_FILTERED);
  EXPECT_EQ(JournalOf("VekElmGetType"),
            std::vector<std::string>{"VekElmGetType(" + std::to_string(line) + ") = 1"});
  EXPECT_NE(Send(Pick(width)), SIM_FILTERED);
}

struct FilterRow {
  int32_t type;
  int32_t accepted;
};

void PrintTo(const FilterRow& row, std::ostream* out) { *out << "type " << row.type; }

class FilterDimensionTest : public PluginTest, public testing::WithParamInterface<FilterRow> {};

// The compare function accepts the dimension types 12 to 15, 17, 22 to 26.
TEST_P(FilterDimensionTest, AcceptsDimensionTypesOnly) {
  VekElementId element = SimAddElement(GetParam().type);
  SimStartCommand();
  EXPECT_EQ(Send(Pick(element)) != SIM_FILTERED, GetParam().accepted == 1) << GetParam().type;
}

INSTANTIATE_TEST_SUITE_P(Types, FilterDimensionTest,
                         testing::Values(FilterRow{11, 0}, FilterRow{12, 1}, FilterRow{15, 1},
                                         FilterRow{16, 0}, FilterRow{17, 1}, FilterRow{18, 0},
                                         FilterRow{21, 0}, FilterRow{22, 1}, FilterRow{26, 1},
                                         FilterRow{27, 0}, FilterRow{58, 0}, FilterRow{-1, 0},
                                         FilterRow{-2147483647 - 1 + 12, 0}));

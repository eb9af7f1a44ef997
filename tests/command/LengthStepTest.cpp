// The length step: a dimension, a data point on one, two points or a typed
// value; and the ways it ends the command.
#include "PluginSession.h"
#include "Printing.h"

namespace {

class LengthStepTest : public PluginTest {
protected:
  // Starts with the settings and picks a width of 100 with 2 decimals.
  void ReachLength(const std::vector<std::pair<std::u16string, std::u16string>>& settings = {}) {
    width_ = AddDimension(100, 2);
    StartWith(settings);
    ASSERT_EQ(Send(Pick(width_)), EXEC_NEXT);
    ASSERT_STREQ(SimPrompt(), "세로치수선택 :");
  }
  // Ends the command with a typed height of 6 and a note at the origin.
  std::string FinishNote() {
    Send(Keyin("6"));
    Send(DataPoint(0, 0));
    return WrittenText();
  }
  VekElementId width_ = 0;
};

} // namespace

struct TypedRow {
  const char16_t* round;
  const char* typed;
  std::string note;
};

void PrintTo(const TypedRow& row, std::ostream* out) {
  *out << "Round " << Text(row.round) << ", typed \"" << row.typed << "\"";
}

class TypedLengthTest : public LengthStepTest, public testing::WithParamInterface<TypedRow> {};

TEST_P(TypedLengthTest, TakesTheTypedValue) {
  ReachLength({{u"Round", GetParam().round}});
  EXPECT_EQ(Send(Keyin(GetParam().typed)), EXEC_NEXT);
  EXPECT_STREQ(SimPrompt(), "높이치수선택 :");
  EXPECT_EQ(FinishNote(), GetParam().note);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, TypedLengthTest,
    testing::Values(TypedRow{u"2", "12.5", "100.00X12.50X6.00"},
                    TypedRow{u"4", " 12.5 mm", "100.00X 12.5 mmX6"}, // as typed
                    TypedRow{u"4", "1e1", "100.00X1e1X6"},
                    // No leading number: a length of 0, the diameter form.
                    TypedRow{u"4", "abc", "\uE000100.00X6"}, TypedRow{u"0", "  -0", "\uE000100X6"},
                    TypedRow{u"4", nullptr, "\uE000100.00X6"})); // no text from the host

TEST_F(LengthStepTest, ADataPointOnADimensionIsMeasuredLikeAPick) {
  VekElementId length = AddDimension(50.5, 1, 2, nullptr, "L");
  ReachLength();
  EXPECT_EQ(Send(DataPoint(1, 1, length)), EXEC_NEXT);
  EXPECT_EQ(FinishNote(), "100.00X50.5LX6");
  EXPECT_EQ(JournalOf("VekElmGetType").back(),
            "VekElmGetType(" + std::to_string(length) + ") = 12");
}

TEST_F(LengthStepTest, APickedLengthKeepsItsOwnDecimals) {
  VekElementId length = AddDimension(50.25, 1, 0);
  ReachLength({{u"Round", u"4"}});
  EXPECT_EQ(Send(Pick(length)), EXEC_NEXT);
  EXPECT_EQ(FinishNote(), "100.00X50.3X6");
}

TEST_F(LengthStepTest, TwoPointsGiveTheDistance) {
  ReachLength();
  VekElementId line = SimAddElement(SIM_TYPE_LINE);
  SimJournalClear();
  EXPECT_EQ(Send(DataPoint(10, 20, line)), EXEC_NEXT);
  EXPECT_EQ(JournalFrom("VekEvtSetEventMask"), (std::vector<std::string>{
                                                   "VekEvtSetEventMask(0x20000) = 0",
                                                   "VekEvtSetEcho({kind 1, (10, 20)}) = 0",
                                                   "VekMsgPutCursorMessage(\"세로\") = 0",
                                                   "VekMsgPutMessage(\"포인트 입력 :\") = 0",
                                                   "VekCtlSetExecuteFunc(exec#1, \"\") = 0",
                                               }));
  EXPECT_EQ(JournalOf("VekIddClearSysIdData").size(), 0u);
  EXPECT_EQ(Send(DataPoint(13, 24)), EXEC_NEXT);
  EXPECT_EQ(JournalOf("VekAriLen2Pnts"),
            std::vector<std::string>{"VekAriLen2Pnts((10, 20), (13, 24)) = 5"});
  // Round 4: the distance in the width dimension's decimals.
  EXPECT_EQ(FinishNote(), "100.00X5.00X6");
}

TEST_F(LengthStepTest, ADataPointOnNothingStartsTwoPoints) {
  ReachLength({{u"Round", u"1"}});
  EXPECT_EQ(Send(DataPoint(0, 0)), EXEC_NEXT);
  EXPECT_STREQ(SimCursorText(), "세로");
  EXPECT_EQ(Send(Keyin("9")), SIM_MASKED); // the second point takes data points alone
  EXPECT_EQ(Send(DataPoint(0, 2.25)), EXEC_NEXT);
  EXPECT_EQ(FinishNote(), "100.0X2.3X6.0");
}

struct EndingRow {
  bool twoPoints;
  SimEvent event;
  int32_t result;
  std::vector<std::string> errors;
};

void PrintTo(const EndingRow& row, std::ostream* out) {
  *out << (row.twoPoints ? "second point, " : "length step, ") << testing::PrintToString(row.event);
}

class LengthEndingTest : public LengthStepTest, public testing::WithParamInterface<EndingRow> {};

TEST_P(LengthEndingTest, EndsOrWaitsAsTheEventSays) {
  ReachLength();
  if (GetParam().twoPoints) Send(DataPoint(1, 1));
  SimDeliverAll(1);
  EXPECT_EQ(Send(GetParam().event), GetParam().result);
  EXPECT_EQ(Errors(), GetParam().errors);
  EXPECT_EQ(SimCommandRunning(), GetParam().result == EXEC_END ? 0 : 1);
  EXPECT_TRUE(WrittenNotes().empty());
}

const SimEvent kFurther{EVT_FURTHER, 1, 1, 1, 0, 0, nullptr};
const SimEvent kUnknownWithPoint{9, 1, 1, 1, 0, 0, nullptr};
const SimEvent kUnknownWithoutPoint{9, 0, 0, 0, 0, 0, nullptr};

INSTANTIATE_TEST_SUITE_P(Events, LengthEndingTest,
                         testing::Values(EndingRow{false, EndButton(), EXEC_END, {}},
                                         EndingRow{false, kFurther, EXEC_END, {"잘못된 지시."}},
                                         EndingRow{
                                             false, kUnknownWithPoint, EXEC_END, {"잘못된 지시."}},
                                         EndingRow{false, kUnknownWithoutPoint, EXEC_STAY, {}},
                                         EndingRow{true, EndButton(), EXEC_END, {}},
                                         EndingRow{true, Pick(1), EXEC_END, {"잘못된 지시."}},
                                         EndingRow{true, kFurther, EXEC_END, {"잘못된 지시."}},
                                         EndingRow{true, Keyin("5"), EXEC_STAY, {}}));

TEST_F(LengthStepTest, AFailedMeasureEndsTheCommand) {
  VekElementId length = AddDimension(50);
  ReachLength();
  SimFailCall("VekDimGetMeasure", 1);
  EXPECT_EQ(Send(Pick(length)), EXEC_END);
  EXPECT_EQ(Errors(), std::vector<std::string>{"치수치 검출에러(2)."});
}

TEST_F(LengthStepTest, AFailedNoteQueryGivesTheValueAlone) {
  VekElementId length = AddDimension(50, 0, 3, "P", "S");
  ReachLength();
  SimFailCall("VekDimGetNote", 1);
  EXPECT_EQ(Send(Pick(length)), EXEC_NEXT);
  SimFailCall("VekDimGetNote", 0);
  EXPECT_EQ(FinishNote(), "100.00X50X6");
  EXPECT_TRUE(Errors().empty());
}

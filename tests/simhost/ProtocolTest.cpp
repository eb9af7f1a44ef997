// The simulated host's command protocol: registration, the ready/execute
// chain, the event mask, picks through filter and compare function, event
// queries, failures and the journal.
#include "FakePlugin.h"
#include "PluginSession.h"
#include "Printing.h"

std::vector<std::string> FakePlugin::calls;
int32_t FakePlugin::queryResult = 0;
int32_t FakePlugin::execResult = EXEC_STAY;
int32_t FakePlugin::compareResult = 1;
VekPoint FakePlugin::point{0, 0};
int32_t FakePlugin::pointResult = 0;
int32_t FakePlugin::readyResult = 0;

int32_t FakePlugin::Start() {
  calls.push_back("start");
  VekCtlSetExecuteFunc(Exec, "");
  return 5;
}
int32_t FakePlugin::Query() {
  calls.push_back("query");
  return queryResult;
}
int32_t FakePlugin::End() {
  calls.push_back("end");
  return 0;
}
int32_t FakePlugin::Exec(int32_t kind, VekEventHandle handle) {
  calls.push_back("exec " + std::to_string(kind));
  pointResult = VekEvtGetPoint(kind, handle, &point);
  if (execResult == EXEC_NEXT) VekCtlSetReadyFunc(Ready, "");
  return execResult;
}
int32_t FakePlugin::Ready(int32_t, VekPoint* p) {
  calls.push_back("ready (" + std::to_string(int(p->x)) + ", " + std::to_string(int(p->y)) + ")");
  VekCtlSetExecuteFunc(Exec, "%f %f", p->x, p->y);
  return readyResult;
}
int32_t FakePlugin::Compare(VekElementId) { return compareResult; }

void SimHostTest::SetUp() {
  SimUnloadPlugin();
  SimReset();
  FakePlugin::calls.clear();
  FakePlugin::queryResult = 0;
  FakePlugin::execResult = EXEC_STAY;
  FakePlugin::compareResult = 1;
  FakePlugin::readyResult = 0;
  VekCtlRegisterVekLib2(FakePlugin::Start, FakePlugin::Query, FakePlugin::End);
  SimJournalClear();
}

void SimHostTest::TearDown() {
  SimUnloadPlugin();
  SimReset();
}

using Calls = std::vector<std::string>;

TEST_F(SimHostTest, StartAsksTheQueryCallbackFirst) {
  EXPECT_EQ(SimStartCommand(), 5);
  EXPECT_EQ(FakePlugin::calls, (Calls{"query", "start"}));
  FakePlugin::queryResult = 1;
  EXPECT_EQ(SimStartCommand(), SIM_REFUSED);
  EXPECT_EQ(FakePlugin::calls, (Calls{"query", "start", "end", "query"}));
  EXPECT_EQ(SimCommandRunning(), 0);
}

TEST_F(SimHostTest, NothingRunsWithoutRegistration) {
  SimUnloadPlugin();
  EXPECT_EQ(SimStartCommand(), SIM_NOT_RUNNING);
  EXPECT_EQ(Send(EndButton()), SIM_NOT_RUNNING);
}

TEST_F(SimHostTest, NextCallsTheReadyFunctionWithTheEventsPoint) {
  SimStartCommand();
  VekEvtSetEventMask(0x20000);
  FakePlugin::execResult = EXEC_NEXT;
  EXPECT_EQ(Send(DataPoint(10, 20)), EXEC_NEXT);
  EXPECT_EQ(Send(EndButton()), EXEC_NEXT);
  EXPECT_EQ(FakePlugin::calls,
            (Calls{"query", "start", "exec 2", "ready (10, 20)", "exec 7", "ready (0, 0)"}));
  EXPECT_EQ(JournalOf("VekCtlSetExecuteFunc").back(),
            "VekCtlSetExecuteFunc(exec#1, \"%f %f\", 0, 0) = 0");
}

TEST_F(SimHostTest, StayKeepsWaitingAndEndRunsTheEndCallback) {
  SimStartCommand();
  EXPECT_EQ(Send(EndButton()), EXEC_STAY);
  EXPECT_EQ(SimCommandRunning(), 1);
  FakePlugin::execResult = EXEC_END;
  EXPECT_EQ(Send(EndButton()), EXEC_END);
  EXPECT_EQ(SimCommandRunning(), 0);
  EXPECT_EQ(FakePlugin::calls, (Calls{"query", "start", "exec 7", "exec 7", "end"}));
  EXPECT_EQ(Send(EndButton()), SIM_NOT_RUNNING);
}

struct MaskRow {
  uint32_t mask;
  SimEvent event;
  bool delivered;
};

void PrintTo(const MaskRow& row, std::ostream* out) {
  *out << "mask " << std::hex << row.mask << std::dec << ", " << testing::PrintToString(row.event);
}

class EventMaskTest : public SimHostTest, public testing::WithParamInterface<MaskRow> {};

TEST_P(EventMaskTest, LetsThroughWhatTheBitsSay) {
  SimStartCommand();
  VekEvtSetEventMask(GetParam().mask);
  int32_t result = SimSendEvent(&GetParam().event);
  EXPECT_EQ(result != SIM_MASKED, GetParam().delivered);
}

SimEvent OfKind(int32_t kind) { return SimEvent{kind, 1, 1, 1, 0, 0, nullptr}; }

INSTANTIATE_TEST_SUITE_P(
    Bits, EventMaskTest,
    testing::Values(MaskRow{0, EndButton(), true}, MaskRow{0, DataPoint(1, 1), false},
                    MaskRow{0x20000, DataPoint(1, 1), true}, MaskRow{0x20000, Motion(1, 1), false},
                    MaskRow{0x40000, Motion(1, 1), true}, MaskRow{0x40000, OfKind(3), true},
                    MaskRow{0x20000, OfKind(3), false}, MaskRow{0x1000, Keyin("1"), true},
                    MaskRow{0x1020800, Keyin("1"), false}, MaskRow{0xFFFFFFFF, OfKind(4), false},
                    MaskRow{0xFFFFFFFF, OfKind(0), false}));

TEST_F(SimHostTest, DeliverAllIgnoresMaskAndFilters) {
  SimStartCommand();
  SimDeliverAll(1);
  EXPECT_EQ(Send(OfKind(42)), EXEC_STAY);
  EXPECT_EQ(Send(Pick(999)), EXEC_STAY);
}

TEST_F(SimHostTest, ComparedPicksAskTheCompareFunctionAndTheFilter) {
  SimDimension d{13, 1, 0, 0, nullptr, nullptr, 0};
  VekElementId dimension = SimAddDimension(&d);
  VekElementId line = SimAddElement(SIM_TYPE_LINE);
  SimStartCommand();
  VekEvtSetEventMask(0x1000000);
  EXPECT_EQ(Send(Pick(line)), EXEC_STAY); // no compare function, no filter
  VekEvtSetCompareFunction(FakePlugin::Compare);
  FakePlugin::compareResult = 0;
  EXPECT_EQ(Send(Pick(dimension)), SIM_FILTERED);
  FakePlugin::compareResult = 1;
  VekObjectFilter dimensions{{4, 0, 0x7c2f, 0, 0}};
  VekEvtSetObject(&dimensions);
  EXPECT_EQ(Send(Pick(dimension)), EXEC_STAY);
  EXPECT_EQ(Send(Pick(line)), SIM_FILTERED);
  VekObjectFilter otherTypes{{4, 0, 0x1, 0, 0}}; // type 12 only
  VekEvtSetObject(&otherTypes);
  EXPECT_EQ(Send(Pick(dimension)), SIM_FILTERED);
  EXPECT_EQ(Send(Pick(12345)), SIM_FILTERED); // no such element
}

// The question a page asks while the pointer moves: the same answer as a
// sent event would get, and the plug-in's execute function is not called.
TEST_F(SimHostTest, WouldDeliverAnswersAsTheEventWouldBeTakenWithoutSendingIt) {
  SimDimension d{13, 1, 0, 0, nullptr, nullptr, 0};
  SimEvent pickDimension = Pick(SimAddDimension(&d));
  SimEvent pickLine = Pick(SimAddElement(SIM_TYPE_LINE));
  SimEvent point = DataPoint(1, 1);
  EXPECT_EQ(SimWouldDeliver(&pickDimension), 0) << "no command runs";
  SimStartCommand();
  VekEvtSetEventMask(0x1000000);
  VekObjectFilter dimensions{{4, 0, 0x7c2f, 0, 0}};
  VekEvtSetObject(&dimensions);
  size_t calls = FakePlugin::calls.size();
  EXPECT_EQ(SimWouldDeliver(&pickDimension), 1);
  EXPECT_EQ(SimWouldDeliver(&pickLine), 0);
  EXPECT_EQ(SimWouldDeliver(&point), 0) << "masked";
  EXPECT_EQ(FakePlugin::calls.size(), calls) << "the plug-in heard of none of them";
  SimDeliverAll(1);
  EXPECT_EQ(SimWouldDeliver(&pickLine), 1);
}

TEST_F(SimHostTest, FilteredPicksTakeNotesWithoutTheCompareFunction) {
  SimNote general{VEK_NOTE_KIND_GENERAL, 0, 0, "n", 3, 3, 0, 0, 0};
  SimNote other{32, 0, 0, "n", 3, 3, 0, 0, 0};
  VekElementId generalNote = SimAddNote(&general);
  VekElementId otherNote = SimAddNote(&other);
  SimStartCommand();
  VekEvtSetEventMask(0x800);
  VekEvtSetCompareFunction(FakePlugin::Compare);
  FakePlugin::compareResult = 0;
  EXPECT_EQ(Send(Pick(generalNote)), SIM_FILTERED); // no filter set
  VekObjectFilter notes{{8, 0, 0, 1, 0}};
  VekEvtSetObject(&notes);
  EXPECT_EQ(Send(Pick(generalNote)), EXEC_STAY);
  EXPECT_EQ(Send(Pick(otherNote)), EXEC_STAY);
  VekObjectFilter generalNotes{{8, 0, 0, 0, 0}};
  VekEvtSetObject(&generalNotes);
  EXPECT_EQ(Send(Pick(otherNote)), SIM_FILTERED);
}

TEST_F(SimHostTest, ACommandStartsWithNoMaskFilterOrCompareFunction) {
  SimStartCommand();
  VekEvtSetEventMask(0x20000);
  VekObjectFilter notes{{8, 0, 0, 1, 0}};
  VekEvtSetObject(&notes);
  SimStartCommand();
  VekObjectFilter filter;
  EXPECT_EQ(SimGetFilter(&filter), -1);
  EXPECT_EQ(SimEventMask(), 0u);
}

TEST_F(SimHostTest, EventQueriesAnswerForTheEventBeingHandled) {
  struct Seen {
    int32_t pointResult;
    VekPoint point;
    VekElementId element;
    const VekChar* keyin;
    int32_t motion;
    int32_t wrongHandle;
  };
  static Seen seen;
  SimStartCommand();
  SimDeliverAll(1);
  VekCtlSetExecuteFunc(
      [](int32_t kind, VekEventHandle handle) -> int32_t {
        seen.pointResult = VekEvtGetPoint(kind, handle, &seen.point);
        seen.element = VekEvtGetElementId(kind, handle);
        seen.keyin = VekEvtGetKeyinString(kind, handle);
        seen.motion = VekEvtIsMouseMotion(kind, handle);
        VekPoint ignored;
        seen.wrongHandle = VekEvtGetPoint(kind, handle + 1, &ignored);
        return EXEC_STAY;
      },
      "");
  Send(DataPoint(3, 4, 77));
  EXPECT_EQ(seen.pointResult, 0);
  EXPECT_EQ(seen.point.x, 3);
  EXPECT_EQ(seen.point.y, 4);
  EXPECT_EQ(seen.element, 77);
  EXPECT_EQ(seen.keyin, nullptr);
  EXPECT_EQ(seen.motion, 0);
  EXPECT_EQ(seen.wrongHandle, -1);
  Send(Keyin("12.5 mm"));
  EXPECT_NE(seen.pointResult, 0);
  ASSERT_NE(seen.keyin, nullptr);
  EXPECT_EQ(std::u16string(seen.keyin), u"12.5 mm");
  Send(Keyin(nullptr));
  EXPECT_EQ(seen.keyin, nullptr);
  Send(SimEvent{EVT_POINT, 1, 0, 0, 0, 1, nullptr});
  EXPECT_EQ(seen.motion, 1);
}

class FailingCallTest : public SimHostTest, public testing::WithParamInterface<const char*> {};

TEST_P(FailingCallTest, ReturnsMinusOne) {
  SimDimension d{12, 5, 1, 3, "a", "b", 2};
  VekElementId dimension = SimAddDimension(&d);
  SimNote n{VEK_NOTE_KIND_GENERAL, 0, 0, "n", 3, 3, 0, 0, 0};
  VekElementId note = SimAddNote(&n);
  SimFailCall(GetParam(), 1);
  std::string name = GetParam();
  double measure = 0;
  VekChar prefix[104], suffix[104];
  unsigned char record[288];
  VekCharSize size{1, 1, 0};
  VekPoint a{0, 0}, b{3, 4};
  int32_t result = name == "VekElmGetType"           ? VekElmGetType(dimension)
                   : name == "VekDimGetMeasure"      ? VekDimGetMeasure(dimension, &measure)
                   : name == "VekDimGetNote"         ? VekDimGetNote(dimension, prefix, suffix)
                   : name == "VekDimGetMark"         ? VekDimGetMark(dimension)
                   : name == "VekDimGetDecimalPlace" ? VekDimGetDecimalPlace(dimension)
                   : name == "VekEnvGetCurrentFrame" ? VekEnvGetCurrentFrame()
                   : name == "VekEnvSetFrame"        ? VekEnvSetFrame(FRAME_TITLE)
                   : name == "VekSgmCreateSegment"   ? VekSgmCreateSegment(2, 0)
                   : name == "VekCmtGetComment"      ? VekCmtGetComment(note, record)
                   : name == "VekCmtSetCharSize"     ? VekCmtSetCharSize(note, &size)
                   : name == "VekCmtSetNote"         ? VekCmtSetNote(note, 0, u"x")
                   : name == "VekAriLen2Pnts"        ? int32_t(VekAriLen2Pnts(&a, &b))
                                                     : 0;
  EXPECT_EQ(result, -1);
  SimFailCall(GetParam(), 0);
  EXPECT_NE(name == "VekAriLen2Pnts" ? int32_t(VekAriLen2Pnts(&a, &b)) : VekDimGetMark(dimension),
            -1);
}

INSTANTIATE_TEST_SUITE_P(Functions, FailingCallTest,
                         testing::Values("VekElmGetType", "VekDimGetMeasure", "VekDimGetNote",
                                         "VekDimGetMark", "VekDimGetDecimalPlace",
                                         "VekEnvGetCurrentFrame", "VekEnvSetFrame",
                                         "VekSgmCreateSegment", "VekCmtGetComment",
                                         "VekCmtSetCharSize", "VekCmtSetNote", "VekAriLen2Pnts"));

// Numbers in their shortest form that reads back the same; texts and ints a
// format announces after it.
TEST_F(SimHostTest, TheJournalWritesValuesAsTheyReadBack) {
  SimDimension huge{12, 1e23, 0, 0, nullptr, nullptr, 0};
  VekElementId id = SimAddDimension(&huge);
  double out = 0;
  VekDimGetMeasure(id, &out);
  VekCtlSetExecuteFunc(FakePlugin::Exec, "%s %d %f", "text", 7, 0.1);
  std::vector<std::string> journal = Journal();
  ASSERT_EQ(journal.size(), 2u);
  EXPECT_EQ(journal[0], "VekDimGetMeasure(" + std::to_string(id) + ") = 0 1e+23");
  EXPECT_EQ(journal[1], "VekCtlSetExecuteFunc(exec#1, \"%s %d %f\", text, 7, 0.1) = 0");
}

TEST_F(SimHostTest, AResetTurnsTheJournalOnAgain) {
  SimSetJournaling(0);
  VekEvtSetEventMask(1);
  EXPECT_EQ(SimJournalSize(), 0);
  SimReset();
  VekEvtSetEventMask(1);
  EXPECT_EQ(SimJournalSize(), 1);
}

TEST_F(SimHostTest, TheJournalKeepsItsLatestEntries) {
  for (int i = 0; i < SIM_JOURNAL_KEPT + 5; ++i) VekEvtSetEventMask(uint32_t(i));
  EXPECT_EQ(SimJournalSize(), SIM_JOURNAL_KEPT + 5);
  EXPECT_EQ(SimJournalFirst(), 5);
  EXPECT_STREQ(SimJournalEntry(4), "") << "dropped";
  EXPECT_STREQ(SimJournalEntry(5), "VekEvtSetEventMask(0x5) = 0");
  EXPECT_STREQ(SimJournalEntry(SIM_JOURNAL_KEPT + 4), "VekEvtSetEventMask(0x2714) = 0");
  SimJournalClear();
  EXPECT_EQ(SimJournalFirst(), 0);
  EXPECT_EQ(SimJournalSize(), 0);
}

TEST_F(SimHostTest, TheJournalWritesEachCallWithItsArguments) {
  VekEvtSetEventMask(0x1021000);
  VekObjectFilter filter{{4, 0, 0x7c2f, 0, 0}};
  VekEvtSetObject(&filter);
  VekEcho echo{1, 0, 1.5, -2};
  VekEvtSetEcho(&echo);
  VekMsgPutCursorMessage(u"세로");
  VekMsgPutErrorMessage(u"\uE000\u001c!\"");
  EXPECT_EQ(Journal(), (std::vector<std::string>{
                           "VekEvtSetEventMask(0x1021000) = 0",
                           "VekEvtSetObject({4, 0, 0x7c2f, 0, 0}) = 0",
                           "VekEvtSetEcho({kind 1, (1.5, -2)}) = 0",
                           "VekMsgPutCursorMessage(\"세로\") = 0",
                           "VekMsgPutErrorMessage(\"\\ue000\\u001c!\\\"\") = 0",
                       }));
  EXPECT_STREQ(SimCursorText(), "세로");
  ASSERT_EQ(SimErrorCount(), 1);
  EXPECT_STREQ(SimError(0), "\uE000\x1c!\"");
}

TEST_F(SimHostTest, CountsBreachesOfTheProtocol) {
  SimStartCommand();
  SimEvent end{EVT_END, 0, 0, 0, 0, 0, nullptr};
  for (int32_t result : {EXEC_STAY, EXEC_NEXT}) {
    FakePlugin::execResult = result;
    SimSendEvent(&end);
  }
  EXPECT_EQ(SimProtocolFaultCount(), 0);
  FakePlugin::readyResult = 1; // a ready function must return 0
  SimSendEvent(&end);
  EXPECT_EQ(SimProtocolFaultCount(), 1);
  FakePlugin::execResult = 1; // no such execute result
  SimSendEvent(&end);
  EXPECT_EQ(SimProtocolFaultCount(), 2);
  SimReset();
  EXPECT_EQ(SimProtocolFaultCount(), 0);
}

TEST_F(SimHostTest, ASecondRegistrationReplacesTheFirst) {
  VekCommandProc otherStart = [] {
    FakePlugin::calls.push_back("other start");
    VekCtlSetExecuteFunc(FakePlugin::Exec, "");
    return int32_t(0);
  };
  EXPECT_EQ(VekCtlRegisterVekLib2(otherStart, FakePlugin::Query, FakePlugin::End), 1);
  EXPECT_EQ(SimStartCommand(), 0);
  EXPECT_EQ(FakePlugin::calls, (Calls{"query", "other start"}));
}

// A text handed to the host must stay valid until the next event or command
// start: the host reads it again then, unless told not to check (long runs).
TEST_F(SimHostTest, CountsHandedTextsThatChangedBeforeTheNextEvent) {
  static char16_t text[] = u"100X50";
  auto writeNote = [] {
    text[0] = u'1';
    int32_t segment = VekSgmCreateSegment(VEK_SEGMENT_KIND, VEK_SEGMENT_KEEP);
    VekNoteRecord record{};
    record.text = text;
    VekCmtCreateNormal(segment, &record);
    text[0] = u'9'; // released too early
  };
  SimStartCommand();
  writeNote();
  SimStartCommand(); // the next command start reads them again
  EXPECT_EQ(SimStaleTextCount(), 1);
  SimCheckHandedTexts(0);
  writeNote();
  SimStartCommand();
  EXPECT_EQ(SimStaleTextCount(), 1) << "not checked";
  SimReset();
  SimStartCommand();
  writeNote();
  SimStartCommand();
  EXPECT_EQ(SimStaleTextCount(), 1) << "checked again after a reset";
}

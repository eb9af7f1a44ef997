// The pick state between events, which no host call shows: what the command
// start and the width pick clear, and the copies of the note text handed to
// the host. The plug-in's routines are linked into this test and registered
// with the simulated host.
#include "PickState.h"
#include "PluginSession.h"

namespace {

class PickStateTest : public RegistryTest {
protected:
  void SetUp() override {
    RegistryTest::SetUp();
    SimReset();
    ASSERT_EQ(Startup(), 0);
  }
  void TearDown() override {
    SimCancelCommand();
    SimReset();
  }
  // Takes 100 x 50 x 20 and stops at the note step.
  void ReachNote() {
    VekElementId width = AddDimension(100);
    ASSERT_EQ(SimStartCommand(), 0);
    Send(Pick(width));
    Send(Keyin("50"));
    ASSERT_EQ(Send(Keyin("20")), EXEC_NEXT);
  }
  size_t LiveCopies() const { return PickState.hostTextCopies.size(); }
  // Measures and flags left by an earlier command.
  void LeaveMeasures() {
    PickState.widthValue = 1;
    PickState.lengthValue = 2;
    PickState.heightValue = 3;
    PickState.heightSkipped = true;
    PickState.widthText = u"w";
  }
};

} // namespace

TEST_F(PickStateTest, OnlyTheLastEventsCopiesStayAlive) {
  ReachNote();
  EXPECT_EQ(LiveCopies(), 0u);
  for (int i = 0; i < 20; ++i) Send(Motion(i, i));
  EXPECT_EQ(LiveCopies(), 1u) << "the preview's copy alone";
  Send(EndButton());
  EXPECT_EQ(LiveCopies(), 0u) << "released by the next event";
  Send(DataPoint(1, 1));
  EXPECT_EQ(LiveCopies(), 2u) << "the preview's and the written note's";
  EXPECT_EQ(SimStaleTextCount(), 0);
}

TEST_F(PickStateTest, TheNextCommandStartReleasesThem) {
  ReachNote();
  Send(DataPoint(1, 1));
  ASSERT_EQ(LiveCopies(), 2u);
  ASSERT_EQ(SimStartCommand(), 0);
  EXPECT_EQ(LiveCopies(), 0u);
  EXPECT_EQ(SimStaleTextCount(), 0) << "read by the host before they were released";
}

TEST_F(PickStateTest, TheStartClearsTheMeasuresAndSavesTheFrame) {
  LeaveMeasures();
  SimSetCurrentFrame(7);
  ASSERT_EQ(SimStartCommand(), 0);
  EXPECT_EQ(PickState.widthValue, 0);
  EXPECT_EQ(PickState.lengthValue, 0);
  EXPECT_EQ(PickState.heightValue, 0);
  EXPECT_EQ(PickState.savedFrame, 7);
  EXPECT_TRUE(PickState.heightSkipped) << "cleared by the width pick alone";
  EXPECT_EQ(PickState.widthText, u"w") << "texts are only overwritten";
}

TEST_F(PickStateTest, AWidthPickClearsTheMeasuresFirst) {
  struct Row {
    const char* what;
    bool measureFails;
    double width;
  };
  for (Row row : {Row{"a diameter", false, 30}, Row{"a failed measure", true, 0}}) {
    SCOPED_TRACE(row.what);
    VekElementId diameter = AddDimension(30, 3, 0, nullptr, nullptr, VEK_DIM_MARK_DIAMETER);
    ASSERT_EQ(SimStartCommand(), 0);
    LeaveMeasures();
    SimFailCall("VekDimGetMeasure", row.measureFails);
    Send(Pick(diameter));
    SimFailCall("VekDimGetMeasure", 0);
    EXPECT_EQ(PickState.widthValue, row.width);
    EXPECT_EQ(PickState.lengthValue, 0);
    EXPECT_EQ(PickState.heightValue, 0);
    EXPECT_FALSE(PickState.heightSkipped);
    EXPECT_EQ(PickState.dimDecimals, 3);
  }
}

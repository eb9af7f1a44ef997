// The copies of the note text handed to the host: the plug-in's routines
// are linked into this test and registered with the simulated host, so
// that its pick state can be looked at between events.
#include "PickState.h"
#include "Session.h"

namespace {

class HostTextCopiesTest : public RegistryTest {
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
};

} // namespace

TEST_F(HostTextCopiesTest, OnlyTheLastEventsCopiesStayAlive) {
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

TEST_F(HostTextCopiesTest, TheNextCommandStartReleasesThem) {
  ReachNote();
  Send(DataPoint(1, 1));
  ASSERT_EQ(LiveCopies(), 2u);
  ASSERT_EQ(SimStartCommand(), 0);
  EXPECT_EQ(LiveCopies(), 0u);
  EXPECT_EQ(SimStaleTextCount(), 0) << "read by the host before they were released";
}

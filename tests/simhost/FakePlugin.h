// A plug-in played by the test program itself, to drive the simulated host.
#ifndef TRISPAN_TESTS_FAKEPLUGIN_H
#define TRISPAN_TESTS_FAKEPLUGIN_H

#include "SimHost.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

struct FakePlugin {
  // What the callbacks saw, in order: "query", "start", "exec 2", "ready (x, y)", "end".
  static std::vector<std::string> calls;
  static int32_t queryResult;
  static int32_t execResult; // EXEC_NEXT makes the execute function install Ready
  static int32_t compareResult;
  static VekPoint point; // from VekEvtGetPoint in the last execute call
  static int32_t pointResult;
  static int32_t readyResult;

  static int32_t Start();
  static int32_t Query();
  static int32_t End();
  static int32_t Exec(int32_t kind, VekEventHandle handle);
  static int32_t Ready(int32_t unused, VekPoint* point);
  static int32_t Compare(VekElementId element);
};

// Registers the fake plug-in on an empty drawing and journal.
class SimHostTest : public testing::Test {
protected:
  void SetUp() override;
  void TearDown() override;
};

#endif

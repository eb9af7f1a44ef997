// Loading the plug-in and registering its command.
#include "PluginSession.h"

using StartupTest = PluginTest;

TEST_F(StartupTest, RegistersStartQueryAndEndInThatOrder) {
  SimUnloadPlugin();
  SimJournalClear();
  ASSERT_EQ(SimLoadPlugin(PluginPath().c_str()), 0);
  EXPECT_EQ(Journal(), std::vector<std::string>{"VekCtlRegisterVekLib2(start, query, end) = 1"});
  EXPECT_EQ(SimStartCommand(), 0);
  EXPECT_EQ(SimCommandRunning(), 1);
}

TEST_F(StartupTest, ReturnsMinusOneWhenTheHostRefusesRegistration) {
  SimUnloadPlugin();
  SimFailCall("VekCtlRegisterVekLib2", 1);
  EXPECT_EQ(SimLoadPlugin(PluginPath().c_str()), -1);
  EXPECT_EQ(SimStartCommand(), SIM_NOT_RUNNING);
}

TEST_F(StartupTest, ReadsNothingFromTheRegistryAtLoad) {
  EXPECT_TRUE(testreg::ValueNames().empty());
  EXPECT_EQ(SimJournalSize(), 0);
}

TEST_F(StartupTest, ExportsOnlyStartupThatTheHostFinds) {
  SimUnloadPlugin();
  EXPECT_EQ(SimLoadPlugin("no-such-plugin"), SIM_LOAD_FAILED);
  EXPECT_STRNE(SimLastError(), "");
}

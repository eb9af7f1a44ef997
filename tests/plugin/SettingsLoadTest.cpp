// What a command start leaves in the registry: the twelve settings, each
// missing one written back with its default as REG_SZ.
#include "PluginSession.h"

#include <algorithm>

using testreg::Bytes;
using testreg::TextBytes;

namespace {

const std::vector<std::pair<std::u16string, std::u16string>> kDefaults = {
    {u"Round", u"4"},    {u"Font", u"0"},      {u"MTitle", u"X"},    {u"Width", u"4"},
    {u"Height", u"4"},   {u"Pitch", u"0"},     {u"positionX", u"1"}, {u"positionY", u"0"},
    {u"FrameDim", u"2"}, {u"FrameChar", u"1"}, {u"FrameCmd", u"2"},  {u"PreComment", u""},
};

#ifdef _WIN32
std::vector<std::u16string> Sorted(std::vector<std::u16string> names) {
  std::sort(names.begin(), names.end());
  return names;
}
#endif

} // namespace

using SettingsLoadTest = PluginTest;

TEST_F(SettingsLoadTest, FirstStartWritesTheTwelveDefaultsAsTextWithTheirNul) {
  SimStartCommand();
  std::vector<std::u16string> expectedNames;
  for (const auto& [name, text] : kDefaults) {
    expectedNames.push_back(name);
    DWORD type = 0;
    Bytes data;
    ASSERT_TRUE(testreg::GetValue(name, type, data));
    EXPECT_EQ(type, DWORD(REG_SZ));
    EXPECT_EQ(data, TextBytes(text)); // "4" is 4 bytes, the empty prefix 2
  }
  // The Linux registry keeps the order of creation, as Windows does; Wine
  // enumerates by name.
#ifdef _WIN32
  EXPECT_EQ(Sorted(testreg::ValueNames()), Sorted(expectedNames));
#else
  EXPECT_EQ(testreg::ValueNames(), expectedNames);
#endif
}

TEST_F(SettingsLoadTest, ADeletedValueIsWrittenBackAloneWithItsDefault) {
  for (const auto& [name, text] : kDefaults) testreg::SetText(name, u"7" + text);
  testreg::DeleteValue(u"Pitch");
  SimStartCommand();
  for (const auto& [name, text] : kDefaults)
    EXPECT_EQ(testreg::GetText(name), name == u"Pitch" ? u"0" : u"7" + text);
#ifndef _WIN32
  EXPECT_EQ(testreg::ValueNames().back(), u"Pitch");
#endif
}

TEST_F(SettingsLoadTest, StoredValuesAreLeftAsTheyAre) {
  struct Row {
    std::u16string name;
    DWORD type;
    Bytes data;
  };
  const std::vector<Row> rows = {
      {u"Width", REG_SZ, TextBytes(u"abc")},
      {u"Round", REG_DWORD, {3, 0, 0, 0}},
      {u"MTitle", REG_EXPAND_SZ, TextBytes(u"%X%")},
      {u"PreComment", REG_SZ, {}},                     // zero bytes: an empty text
      {u"positionX", REG_SZ, TextBytes(u"12", false)}, // no NUL
      {u"positionY", REG_SZ, {'5', 0, '0', 0, '0'}},   // odd byte count
      {u"Height", REG_SZ, TextBytes(std::u16string(10000, u'h'))},
  };
  for (const Row& row : rows) testreg::SetValue(row.name, row.type, row.data);
  SimStartCommand();
  for (const Row& row : rows) {
    DWORD type = 0;
    Bytes data;
    ASSERT_TRUE(testreg::GetValue(row.name, type, data));
    EXPECT_EQ(type, row.type) << std::string(row.name.begin(), row.name.end());
    EXPECT_EQ(data, row.data) << std::string(row.name.begin(), row.name.end());
  }
}

TEST_F(SettingsLoadTest, ValuesOfOtherTypesAreReplacedByTheDefault) {
  testreg::SetValue(u"Round", REG_BINARY, {'2', 0, 0, 0});
  testreg::SetValue(u"Font", REG_MULTI_SZ, {'1', 0, 0, 0, 0, 0});
  testreg::SetValue(u"Pitch", REG_QWORD, {1, 0, 0, 0, 0, 0, 0, 0});
  testreg::SetValue(u"FrameCmd", REG_DWORD, {1, 0}); // a DWORD of two bytes
  SimStartCommand();
  EXPECT_EQ(testreg::GetText(u"Round"), u"4");
  EXPECT_EQ(testreg::GetText(u"Font"), u"0");
  EXPECT_EQ(testreg::GetText(u"Pitch"), u"0");
  EXPECT_EQ(testreg::GetText(u"FrameCmd"), u"2");
}

TEST_F(SettingsLoadTest, ADwordFrameDimIsHonouredAsItsNumber) {
  testreg::SetValue(u"FrameDim", REG_DWORD, {1, 0, 0, 0});
  SimStartCommand();
  EXPECT_EQ(JournalOf("VekEnvSetFrame"), std::vector<std::string>{"VekEnvSetFrame(2) = 0"});
}

#ifndef _WIN32
#include "WinStub.h"

// Registry failures are silent: the defaults are used.
TEST_F(SettingsLoadTest, AnUnreadableRegistryGivesTheDefaults) {
  testreg::SetText(u"FrameDim", u"1");
  WinStubSetRegistryFailures(WINSTUB_FAIL_OPEN | WINSTUB_FAIL_CREATE);
  SimSetCurrentFrame(FRAME_TITLE);
  EXPECT_EQ(SimStartCommand(), 0);
  EXPECT_TRUE(JournalOf("VekEnvSetFrame").empty()); // FrameDim 2, the default
  WinStubSetRegistryFailures(0);
  EXPECT_EQ(testreg::GetText(u"FrameDim"), u"1");
}
#endif

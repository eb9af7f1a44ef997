// The release's defaults file, read as the registry: it holds every setting
// with its default as REG_SZ, so a start after importing it writes nothing.
#include "Printing.h"
#include "Settings.h"
#include "TestRegistry.h"
#include "WinStub.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

} // namespace

TEST(DefaultsFileTest, HoldsEverySettingWithItsDefault) {
  std::string copy = testing::TempDir() + "defaults-test.reg";
  std::filesystem::copy_file(TRISPAN_DEFAULTS_REG, copy,
                             std::filesystem::copy_options::overwrite_existing);
  WinStubSetRegistryFile(copy.c_str());
  ASSERT_EQ(testreg::ValueNames().size(), size_t(kSettingCount));
  for (const SettingField& setting : kSettingFields) {
    DWORD type = REG_NONE;
    testreg::Bytes data;
    ASSERT_TRUE(testreg::GetValue(setting.name, type, data)) << Text(setting.name);
    EXPECT_EQ(type, DWORD(REG_SZ));
    EXPECT_EQ(data, testreg::TextBytes(setting.defaultText)) << Text(setting.name);
  }
  std::string before = ReadFile(copy);
  LoadSettings();
  EXPECT_EQ(ReadFile(copy), before) << "a value was missing";
  EXPECT_EQ(TriSpanSettings.MTitle, u"X");
  WinStubSetRegistryFile(nullptr);
  std::remove(copy.c_str());
}

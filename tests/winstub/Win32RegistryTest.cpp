// The registry calls as the plug-in relies on them. Run under Wine these pin
// down Windows' behaviour; on Linux they hold the stand-in to it.
#include "TestRegistry.h"

#include <cstring>

using testreg::Bytes;
using testreg::TextBytes;
using testreg::W;

namespace {

const uint8_t kSentinel = 0xAA;

class Win32RegistryTest : public RegistryTest {
protected:
  void SetUp() override {
    RegistryTest::SetUp();
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, W(testreg::kSettingsKey), 0, nullptr, 0,
                              KEY_ALL_ACCESS, nullptr, &key_, nullptr),
              ERROR_SUCCESS);
  }
  void TearDown() override { RegCloseKey(key_); }

  LONG Query(const char16_t* name, DWORD* type, uint8_t* data, DWORD* size) {
    return RegQueryValueExW(key_, W(name), nullptr, type, data, size);
  }

  HKEY key_ = nullptr;
};

} // namespace

TEST_F(Win32RegistryTest, ReservedArgumentsMustBeZero) {
  HKEY other = nullptr;
  EXPECT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, W(testreg::kSettingsKey), 1, nullptr, 0,
                            KEY_ALL_ACCESS, nullptr, &other, nullptr),
            ERROR_INVALID_PARAMETER);
  DWORD reserved = 0, size = 0;
  EXPECT_EQ(RegQueryValueExW(key_, W(u"Round"), &reserved, nullptr, nullptr, &size),
            ERROR_INVALID_PARAMETER);
  EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, W(testreg::kSettingsKey), 0, KEY_READ, nullptr),
            ERROR_INVALID_PARAMETER)
      << "no place for the key";
}

TEST_F(Win32RegistryTest, QueryWithoutBufferGivesTheSize) {
  testreg::SetText(u"Round", u"12");
  DWORD type = 0, size = 0;
  EXPECT_EQ(Query(u"Round", &type, nullptr, &size), ERROR_SUCCESS);
  EXPECT_EQ(type, DWORD(REG_SZ));
  EXPECT_EQ(size, 6u);
}

TEST_F(Win32RegistryTest, QueryIntoASmallBufferLeavesItAndAsksForMore) {
  testreg::SetText(u"Round", u"12");
  for (DWORD offered : {0u, 1u, 4u, 5u}) {
    uint8_t buffer[8];
    std::memset(buffer, kSentinel, sizeof buffer);
    DWORD type = 0, size = offered;
    EXPECT_EQ(Query(u"Round", &type, buffer, &size), ERROR_MORE_DATA) << offered;
    EXPECT_EQ(size, 6u);
    for (uint8_t b : buffer) EXPECT_EQ(b, kSentinel);
  }
}

TEST_F(Win32RegistryTest, QueryIntoAnExactOrLargerBufferCopiesTheDataAlone) {
  testreg::SetText(u"Round", u"12");
  for (DWORD offered : {6u, 7u, 16u}) {
    uint8_t buffer[16];
    std::memset(buffer, kSentinel, sizeof buffer);
    DWORD type = 0, size = offered;
    EXPECT_EQ(Query(u"Round", &type, buffer, &size), ERROR_SUCCESS);
    EXPECT_EQ(size, 6u);
    EXPECT_EQ(Bytes(buffer, buffer + 6), TextBytes(u"12"));
    for (size_t i = 6; i < sizeof buffer; ++i) EXPECT_EQ(buffer[i], kSentinel) << i;
  }
}

TEST_F(Win32RegistryTest, QueryKeepsTypeAndBytesAsSet) {
  struct Row {
    DWORD type;
    Bytes data;
  };
  for (const Row& row : {Row{REG_SZ, {}}, Row{REG_SZ, {'1', 0, '2'}}, Row{REG_DWORD, {1, 2, 3, 4}},
                         Row{REG_DWORD, {1}}, Row{REG_BINARY, {0, 0xFF, 0x10}},
                         Row{REG_MULTI_SZ, {'a', 0, 0, 0, 0, 0}}}) {
    testreg::SetValue(u"Value", row.type, row.data);
    DWORD type = 0;
    Bytes data;
    ASSERT_TRUE(testreg::GetValue(u"Value", type, data));
    EXPECT_EQ(type, row.type);
    EXPECT_EQ(data, row.data);
  }
}

TEST_F(Win32RegistryTest, MissingKeysAndValuesAreNotFound) {
  DWORD size = 0;
  EXPECT_EQ(Query(u"Nothing", nullptr, nullptr, &size), ERROR_FILE_NOT_FOUND);
  HKEY other = nullptr;
  EXPECT_EQ(
      RegOpenKeyExW(HKEY_CURRENT_USER, W(u"SOFTWARE\\Quorvane\\VEK\\Nothing"), 0, KEY_READ, &other),
      ERROR_FILE_NOT_FOUND);
}

TEST_F(Win32RegistryTest, CreateMakesMissingParentsAndReportsIt) {
  // Under Wine the registry outlives the run: the keys of an earlier run go.
  RegDeleteTreeW(HKEY_CURRENT_USER, W(u"SOFTWARE\\Quorvane\\A"));
  HKEY key = nullptr;
  DWORD disposition = 0;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, W(u"SOFTWARE\\Quorvane\\A\\B\\C"), 0, nullptr, 0,
                            KEY_ALL_ACCESS, nullptr, &key, &disposition),
            ERROR_SUCCESS);
  EXPECT_EQ(disposition, DWORD(REG_CREATED_NEW_KEY));
  RegCloseKey(key);
  ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, W(u"software\\QUORVANE\\a\\b\\c"), 0, nullptr, 0,
                            KEY_ALL_ACCESS, nullptr, &key, &disposition),
            ERROR_SUCCESS);
  EXPECT_EQ(disposition, DWORD(REG_OPENED_EXISTING_KEY)); // names ignore case
  RegCloseKey(key);
}

TEST_F(Win32RegistryTest, AForwardSlashIsPartOfAKeyName) {
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, W(u"SOFTWARE\\Quorvane\\VEK/TriSpan"), 0, nullptr, 0,
                            KEY_ALL_ACCESS, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  RegSetValueExW(key, W(u"Round"), 0, REG_SZ, TextBytes(u"1").data(), 4);
  RegCloseKey(key);
  EXPECT_TRUE(testreg::ValueNames().empty());
}

TEST_F(Win32RegistryTest, ValueNamesIgnoreCaseAndDeleteRemovesThem) {
  testreg::SetText(u"Round", u"1");
  testreg::SetText(u"ROUND", u"2");
  EXPECT_EQ(testreg::ValueNames(), std::vector<std::u16string>{u"Round"});
  EXPECT_EQ(testreg::GetText(u"round"), u"2");
  testreg::DeleteValue(u"round");
  EXPECT_TRUE(testreg::ValueNames().empty());
}

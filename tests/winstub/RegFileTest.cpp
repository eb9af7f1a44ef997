// The Linux registry's file: regedit's export format, read back exactly.
#ifndef _WIN32
#include "TestRegistry.h"
#include "WinStub.h"

#include <fstream>
#include <iterator>

using testreg::Bytes;
using testreg::TextBytes;

namespace {

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

// The file as UTF-8 text (it is ASCII and Hangul here).
std::string FileText() {
  std::string bytes = ReadFile(WinStubRegistryFile());
  std::u16string text;
  for (size_t i = 2; i + 1 < bytes.size(); i += 2)
    text.push_back(char16_t(uint8_t(bytes[i]) | uint8_t(bytes[i + 1]) << 8));
  std::string out;
  for (char16_t c : text) {
    if (c < 0x80) {
      out.push_back(char(c));
    } else {
      out.push_back(char(0xE0 | c >> 12));
      out.push_back(char(0x80 | (c >> 6 & 0x3F)));
      out.push_back(char(0x80 | (c & 0x3F)));
    }
  }
  return out;
}

// Flushes, then reads the file again as a new process would.
void Reread() {
  WinStubFlushRegistry();
  WinStubSetRegistryFile(std::string(WinStubRegistryFile()).c_str());
}

struct Stored {
  std::u16string name;
  DWORD type;
  Bytes data;
};

const std::vector<Stored> kValues = {
    {u"Round", REG_SZ, TextBytes(u"4")},
    {u"Empty", REG_SZ, TextBytes(u"")},
    {u"Quoted", REG_SZ, TextBytes(u"say \"1\\2\" 가로")},
    {u"Zero bytes", REG_SZ, {}},
    {u"No NUL", REG_SZ, TextBytes(u"12", false)},
    {u"Odd", REG_SZ, {'1', 0, '2'}},
    {u"Two lines", REG_SZ, TextBytes(u"a\r\nb")},
    {u"Embedded", REG_SZ, {'1', 0, 0, 0, '2', 0, 0, 0}},
    {u"Long", REG_SZ, TextBytes(std::u16string(10000, u'w'))},
    {u"Number", REG_DWORD, {0x78, 0x56, 0x34, 0x12}},
    {u"Short number", REG_DWORD, {1}},
    {u"Blob", REG_BINARY, {0, 1, 0xFE, 0xFF}},
    {u"Texts", REG_MULTI_SZ, {'a', 0, 0, 0, 0, 0}},
    {u"", REG_SZ, TextBytes(u"default")},
};

} // namespace

using RegFileTest = RegistryTest;

TEST_F(RegFileTest, EveryValueSurvivesARereadExactly) {
  for (const Stored& value : kValues) testreg::SetValue(value.name, value.type, value.data);
  Reread();
  for (const Stored& value : kValues) {
    DWORD type = 0;
    Bytes data;
    ASSERT_TRUE(testreg::GetValue(value.name, type, data));
    EXPECT_EQ(type, value.type);
    EXPECT_EQ(data, value.data);
  }
  std::vector<std::u16string> names;
  for (const Stored& value : kValues) names.push_back(value.name);
  EXPECT_EQ(testreg::ValueNames(), names);
}

TEST_F(RegFileTest, TheFileIsARegeditExport) {
  testreg::SetText(u"Round", u"4");
  testreg::SetText(u"PreComment", u"SUS-\"가\"");
  testreg::SetValue(u"Font", REG_DWORD, {1, 0, 0, 0});
  testreg::SetValue(u"Odd", REG_SZ, {'1', 0, '2'});
  ASSERT_TRUE(WinStubFlushRegistry());
  std::string bytes = ReadFile(WinStubRegistryFile());
  ASSERT_GE(bytes.size(), 2u);
  EXPECT_EQ(bytes.substr(0, 2), "\xFF\xFE");
  EXPECT_EQ(FileText(), "Windows Registry Editor Version 5.00\r\n\r\n"
                        "[HKEY_CURRENT_USER\\SOFTWARE]\r\n\r\n"
                        "[HKEY_CURRENT_USER\\SOFTWARE\\Quorvane]\r\n\r\n"
                        "[HKEY_CURRENT_USER\\SOFTWARE\\Quorvane\\VEK]\r\n\r\n"
                        "[HKEY_CURRENT_USER\\SOFTWARE\\Quorvane\\VEK\\TriSpan]\r\n"
                        "\"Round\"=\"4\"\r\n"
                        "\"PreComment\"=\"SUS-\\\"가\\\"\"\r\n"
                        "\"Font\"=dword:00000001\r\n"
                        "\"Odd\"=hex(1):31,00,32\r\n\r\n");
}

TEST_F(RegFileTest, AHandWrittenUtf8FileIsRead) {
  WriteFile(WinStubRegistryFile(), "Windows Registry Editor Version 5.00\n"
                                   "; written by hand\n"
                                   "[HKEY_CURRENT_USER\\Software\\Quorvane\\VEK\\TriSpan]\n"
                                   "\"MTitle\"=\"×\"\n"
                                   "\"Round\"=hex(1):32,00,\\\n"
                                   "   00,00\n"
                                   "@=\"default\"\n");
  Reread();
  EXPECT_EQ(testreg::GetText(u"MTitle"), u"×");
  EXPECT_EQ(testreg::GetText(u"Round"), u"2");
  EXPECT_EQ(testreg::GetText(u""), u"default");
}

// Files as Windows tools save them: regedit's own REGEDIT4 in the Korean
// code page (or UTF-8), the mark Notepad puts in front of UTF-8, UTF-16
// without its mark refused.
TEST_F(RegFileTest, FilesFromWindowsToolsAreReadInTheirEncoding) {
  const std::string key = "[HKEY_CURRENT_USER\\Software\\Quorvane\\VEK\\TriSpan]\r\n";
  const std::pair<std::string, std::u16string> rows[] = {
      {"REGEDIT4\r\n\r\n" + key + "\"PreComment\"=\"\xB0\xA1\xB7\xCE-\"\r\n", u"가로-"},
      {"REGEDIT4\r\n" + key + "\"PreComment\"=\"\xEA\xB0\x80\"\r\n", u"가"},
      {"\xEF\xBB\xBFWindows Registry Editor Version 5.00\r\n" + key +
           "\"PreComment\"=\"\xEA\xB0\x80\"\r\n",
       u"가"},
  };
  for (const auto& [bytes, expected] : rows) {
    WriteFile(WinStubRegistryFile(), bytes);
    Reread();
    EXPECT_STREQ(WinStubRegistryError(), "") << bytes;
    EXPECT_EQ(testreg::GetText(u"PreComment"), expected) << bytes;
  }
}

TEST_F(RegFileTest, AFileInAnotherEncodingIsRefusedNotGarbled) {
  const std::string key = "[HKEY_CURRENT_USER\\Software\\Quorvane\\VEK\\TriSpan]\r\n";
  const std::pair<std::string, std::string> rows[] = {
      {"Windows Registry Editor Version 5.00\r\n" + key + "\"PreComment\"=\"\xB0\xA1\"\r\n",
       ":1: is in the Korean Windows code page (CP949"},
      {std::string("W\0i\0n\0", 6), ":1: seems to be UTF-16 without a byte-order mark"},
  };
  for (const auto& [bytes, expected] : rows) {
    WriteFile(WinStubRegistryFile(), bytes);
    Reread();
    EXPECT_NE(std::string(WinStubRegistryError()).find(expected), std::string::npos)
        << WinStubRegistryError();
    EXPECT_EQ(ReadFile(WinStubRegistryFile()), bytes) << "left as it was";
  }
}

TEST_F(RegFileTest, ABrokenFileIsNeverOverwritten) {
  const std::string broken = "Windows Registry Editor Version 5.00\r\n[HKEY_CURRENT_USER\\A]\r\n"
                             "\"Round\"=nonsense\r\n";
  WriteFile(WinStubRegistryFile(), broken);
  Reread();
  HKEY key = nullptr;
  EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, testreg::W(u"A"), 0, KEY_READ, &key), ERROR_BADDB);
  EXPECT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, testreg::W(u"B"), 0, nullptr, 0, KEY_ALL_ACCESS,
                            nullptr, &key, nullptr),
            ERROR_BADDB);
  EXPECT_EQ(ReadFile(WinStubRegistryFile()), broken);
  EXPECT_NE(std::string(WinStubRegistryError()).find(":3: unreadable data"), std::string::npos)
      << WinStubRegistryError();
}

TEST_F(RegFileTest, OtherRootsAndMissingHeadersAreRefused) {
  for (const char* text : {"[HKEY_CURRENT_USER\\A]\r\n",
                           "Windows Registry Editor Version 5.00\r\n[HKEY_LOCAL_MACHINE\\A]\r\n",
                           "Windows Registry Editor Version 5.00\r\n\"Round\"=\"1\"\r\n"}) {
    WriteFile(WinStubRegistryFile(), text);
    Reread();
    EXPECT_STRNE(WinStubRegistryError(), "") << text;
  }
}

TEST_F(RegFileTest, InjectedFailuresHitTheirCallsOnly) {
  testreg::SetText(u"Round", u"1");
  HKEY key = nullptr;
  WinStubSetRegistryFailures(WINSTUB_FAIL_OPEN);
  EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, testreg::W(testreg::kSettingsKey), 0, KEY_READ, &key),
            ERROR_ACCESS_DENIED);
  WinStubSetRegistryFailures(WINSTUB_FAIL_QUERY);
  DWORD type = 0;
  Bytes data;
  EXPECT_FALSE(testreg::GetValue(u"Round", type, data));
  WinStubSetRegistryFailures(WINSTUB_FAIL_SET);
  ASSERT_EQ(
      RegOpenKeyExW(HKEY_CURRENT_USER, testreg::W(testreg::kSettingsKey), 0, KEY_ALL_ACCESS, &key),
      ERROR_SUCCESS);
  EXPECT_EQ(RegSetValueExW(key, testreg::W(u"Round"), 0, REG_SZ, TextBytes(u"2").data(), 4),
            ERROR_ACCESS_DENIED);
  RegCloseKey(key);
  WinStubSetRegistryFailures(0);
  EXPECT_EQ(testreg::GetText(u"Round"), u"1");
}
#endif

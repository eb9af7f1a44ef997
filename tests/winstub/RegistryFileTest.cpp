// The registry stand-in's file shared with other processes: changes seen at
// once, written at a flush under a lock, merged with what another process
// wrote meanwhile; a failed flush counted and said, its changes kept.
#ifndef _WIN32
#include "FaultyFiles.h"
#include "TestRegistry.h"
#include "WinStub.h"

#include <fstream>
#include <iterator>
#include <thread>

namespace {

using testreg::TextBytes;

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// What another process leaves in the file: these texts and nothing else.
void OtherProcessStores(std::vector<std::pair<std::string, std::string>> values) {
  std::string text = "Windows Registry Editor Version 5.00\n\n"
                     "[HKEY_CURRENT_USER\\SOFTWARE\\Quorvane\\VEK\\TriSpan]\n";
  for (const auto& [name, value] : values) text += "\"" + name + "\"=\"" + value + "\"\n";
  std::string path = WinStubRegistryFile(), temporary = path + ".other";
  std::ofstream(temporary, std::ios::binary) << text;
  std::rename(temporary.c_str(), path.c_str());
}

class RegistryFileTest : public RegistryTest {
protected:
  void TearDown() override {
    WinStubSetFiles(nullptr);
    RegistryTest::TearDown();
  }
};

TEST_F(RegistryFileTest, AChangeIsSeenAtOnceAndWrittenAtTheFlush) {
  testreg::SetText(u"Round", u"2");
  EXPECT_EQ(testreg::GetText(u"Round"), u"2");
  EXPECT_EQ(ReadFile(WinStubRegistryFile()), "") << "nothing written yet";
  ASSERT_TRUE(WinStubFlushRegistry());
  EXPECT_NE(ReadFile(WinStubRegistryFile()).size(), 0u);
  int saves = WinStubFailedSaves();
  EXPECT_TRUE(WinStubFlushRegistry()) << "nothing to write";
  EXPECT_EQ(WinStubFailedSaves(), saves);
  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, testreg::W(testreg::kSettingsKey), 0, KEY_READ, &key),
            ERROR_SUCCESS);
  EXPECT_EQ(RegFlushKey(key), ERROR_SUCCESS);
  RegCloseKey(key);
}

TEST_F(RegistryFileTest, AFileReplacedByAnotherProcessIsReadAgain) {
  testreg::SetText(u"Round", u"1");
  ASSERT_TRUE(WinStubFlushRegistry());
  testreg::SetText(u"Font", u"1"); // not flushed yet
  OtherProcessStores({{"Round", "3"}, {"MTitle", "*"}});
  EXPECT_EQ(testreg::GetText(u"Round"), u"3");
  EXPECT_EQ(testreg::GetText(u"MTitle"), u"*");
  EXPECT_EQ(testreg::GetText(u"Font"), u"1") << "this process's change stays on top";
}

TEST_F(RegistryFileTest, AFlushKeepsWhatAnotherProcessStored) {
  testreg::SetText(u"Round", u"1");
  ASSERT_TRUE(WinStubFlushRegistry());
  testreg::SetText(u"Round", u"2");
  testreg::SetText(u"Font", u"1");
  HKEY key = nullptr;
  RegOpenKeyExW(HKEY_CURRENT_USER, testreg::W(testreg::kSettingsKey), 0, KEY_ALL_ACCESS, &key);
  RegDeleteValueW(key, testreg::W(u"Round"));
  RegCloseKey(key);
  testreg::SetText(u"Round", u"4");
  OtherProcessStores({{"Round", "3"}, {"PreComment", "other"}});
  ASSERT_TRUE(WinStubFlushRegistry());
  WinStubSetRegistryFile(std::string(WinStubRegistryFile()).c_str()); // as a new process
  EXPECT_EQ(testreg::GetText(u"Round"), u"4") << "the last change wins";
  EXPECT_EQ(testreg::GetText(u"Font"), u"1");
  EXPECT_EQ(testreg::GetText(u"PreComment"), u"other") << "set by the other process alone";
}

TEST_F(RegistryFileTest, DeletedKeysAndValuesReachTheFile) {
  testreg::SetText(u"Round", u"1");
  testreg::SetText(u"Font", u"1");
  ASSERT_TRUE(WinStubFlushRegistry());
  testreg::DeleteValue(u"Font");
  ASSERT_TRUE(WinStubFlushRegistry());
  WinStubSetRegistryFile(std::string(WinStubRegistryFile()).c_str());
  EXPECT_EQ(testreg::ValueNames(), std::vector<std::u16string>{u"Round"});
  HKEY vek = nullptr, key = nullptr;
  ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, testreg::W(testreg::kSettingsKey), 0, KEY_READ, &key),
            ERROR_SUCCESS);
  RegOpenKeyExW(HKEY_CURRENT_USER, testreg::W(u"SOFTWARE\\Quorvane\\VEK"), 0, KEY_ALL_ACCESS, &vek);
  EXPECT_EQ(RegDeleteTreeW(vek, testreg::W(u"TriSpan")), ERROR_SUCCESS);
  DWORD size = 0;
  EXPECT_EQ(RegQueryValueExW(key, testreg::W(u"Round"), nullptr, nullptr, nullptr, &size),
            ERROR_KEY_DELETED)
      << "a handle of a deleted key";
  RegCloseKey(key);
  ASSERT_TRUE(WinStubFlushRegistry());
  WinStubSetRegistryFile(std::string(WinStubRegistryFile()).c_str());
  EXPECT_NE(RegOpenKeyExW(HKEY_CURRENT_USER, testreg::W(testreg::kSettingsKey), 0, KEY_READ, &key),
            ERROR_SUCCESS);
  RegOpenKeyExW(HKEY_CURRENT_USER, testreg::W(u"SOFTWARE\\Quorvane"), 0, KEY_ALL_ACCESS, &vek);
  EXPECT_EQ(RegDeleteTreeW(vek, nullptr), ERROR_SUCCESS) << "the key's contents";
  EXPECT_EQ(RegOpenKeyExW(vek, testreg::W(u"VEK"), 0, KEY_READ, &key), ERROR_FILE_NOT_FOUND);
  RegCloseKey(vek);
}

TEST_F(RegistryFileTest, AFailedFlushIsCountedAndItsChangesKept) {
  FaultyFiles faults;
  WinStubSetFiles(&faults);
  testreg::SetText(u"Round", u"1");
  int saves = WinStubFailedSaves();
  faults.FailFrom(FaultyFiles::kRename, 1);
  EXPECT_FALSE(WinStubFlushRegistry());
  EXPECT_EQ(WinStubFailedSaves(), saves + 1);
  EXPECT_EQ(std::string(WinStubSaveError()),
            std::string(WinStubRegistryFile()) + ": cannot be written: injected rename failure");
  EXPECT_TRUE(WinStubFlushRegistry()) << "tried once per change";
  faults.FailFrom(FaultyFiles::kRename, 0);
  testreg::SetText(u"Font", u"1");
  ASSERT_TRUE(WinStubFlushRegistry());
  WinStubSetFiles(nullptr);
  WinStubSetRegistryFile(std::string(WinStubRegistryFile()).c_str());
  EXPECT_EQ(testreg::GetText(u"Round"), u"1") << "kept for the next flush";
  EXPECT_EQ(testreg::GetText(u"Font"), u"1");
}

TEST_F(RegistryFileTest, TheFailedSavesAreTheProcessesWhateverTheFile) {
  FaultyFiles faults;
  WinStubSetFiles(&faults);
  faults.FailFrom(FaultyFiles::kRename, 1);
  testreg::SetText(u"Round", u"1");
  int saves = WinStubFailedSaves();
  WinStubFlushRegistry();
  WinStubSetRegistryFile(nullptr);
  EXPECT_EQ(WinStubFailedSaves(), saves + 1);
  EXPECT_STREQ(WinStubRegistryFile(), "") << "in memory alone";
  testreg::SetText(u"Round", u"2");
  EXPECT_TRUE(WinStubFlushRegistry());
  EXPECT_EQ(WinStubFailedSaves(), saves + 1) << "nothing written, nothing failed";
}

TEST_F(RegistryFileTest, AFlushTakesTheLockBesideTheFile) {
  FaultyFiles faults;
  WinStubSetFiles(&faults);
  testreg::SetText(u"Round", u"1");
  faults.FailFrom(FaultyFiles::kLock, 1);
  EXPECT_FALSE(WinStubFlushRegistry());
  EXPECT_EQ(std::string(WinStubSaveError()),
            std::string(WinStubRegistryFile()) + ".lock: cannot be locked: injected lock failure");
}

TEST_F(RegistryFileTest, AFileMadeUnreadableByAnotherProcessIsNotOverwritten) {
  testreg::SetText(u"Round", u"1");
  ASSERT_TRUE(WinStubFlushRegistry());
  testreg::SetText(u"Round", u"2");
  std::ofstream(WinStubRegistryFile(), std::ios::binary) << "garbage, a longer text than before";
  EXPECT_EQ(testreg::GetText(u"Round"), u"2") << "the keys in force stay";
  EXPECT_FALSE(WinStubFlushRegistry());
  EXPECT_NE(std::string(WinStubSaveError()).find(":1: expected the header"), std::string::npos)
      << WinStubSaveError();
  EXPECT_EQ(ReadFile(WinStubRegistryFile()), "garbage, a longer text than before");
}

} // namespace
#endif

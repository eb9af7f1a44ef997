// The one way to write a file, on the real disk, with faults put in: the
// file is whole or as it was, no temporary stays, and the status tells the
// truth.
#include "FaultyFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// A folder of the test's own, removed afterwards.
class WriteWholeTest : public testing::Test {
protected:
  void SetUp() override {
    std::string pattern = testing::TempDir() + "write-whole-XXXXXX";
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    folder_ = pattern;
    target_ = folder_ + "/settings.reg";
  }
  void TearDown() override { fs::remove_all(folder_); }
  // The names in the folder.
  std::vector<std::string> Names() {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder_))
      names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }
  void WriteOld() { std::ofstream(target_, std::ios::binary) << "the old file, whole"; }
  std::string folder_, target_;
};

TEST_F(WriteWholeTest, WritesANewFileWithANewFilesMode) {
  mode_t mask = umask(027);
  files::Status status = files::WriteWhole(files::RealFiles(), target_, "bytes");
  umask(mask);
  ASSERT_TRUE(status.ok()) << status.why();
  EXPECT_EQ(ReadAll(target_), "bytes");
  EXPECT_EQ(files::RealFiles().Stat(target_).mode, 0640u);
  EXPECT_EQ(Names(), std::vector<std::string>{"settings.reg"}) << "no temporary left";
}

TEST_F(WriteWholeTest, ReplacesAFileAndKeepsItsMode) {
  for (mode_t mode : {0444, 0600, 0664}) {
    WriteOld();
    chmod(target_.c_str(), mode);
    ASSERT_TRUE(files::WriteWhole(files::RealFiles(), target_, "new").ok());
    EXPECT_EQ(ReadAll(target_), "new");
    EXPECT_EQ(files::RealFiles().Stat(target_).mode, uint32_t(mode));
  }
}

TEST_F(WriteWholeTest, FollowsALinkAndKeepsIt) {
  WriteOld();
  std::string link = folder_ + "/link.reg";
  fs::create_symlink("settings.reg", link);
  ASSERT_TRUE(files::WriteWhole(files::RealFiles(), link, "through the link").ok());
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(ReadAll(target_), "through the link");
  std::string dangling = folder_ + "/dangling.reg";
  fs::create_symlink("new.reg", dangling);
  ASSERT_TRUE(files::WriteWhole(files::RealFiles(), dangling, "made").ok());
  EXPECT_EQ(ReadAll(folder_ + "/new.reg"), "made");
  EXPECT_TRUE(fs::is_symlink(dangling));
}

TEST_F(WriteWholeTest, RefusesAFolder) {
  fs::create_directory(target_);
  files::Status status = files::WriteWhole(files::RealFiles(), target_, "x");
  EXPECT_EQ(status.why(), target_ + ": cannot be written: it is a folder, not a file");
}

TEST_F(WriteWholeTest, EveryCallFailingInTurnLeavesTheOldFile) {
  for (int c = FaultyFiles::kCreate; c < FaultyFiles::kLock; ++c) {
    auto call = FaultyFiles::Call(c);
    SCOPED_TRACE(FaultyFiles::Name(call));
    WriteOld();
    FaultyFiles faults;
    faults.FailFrom(call, 1);
    files::Status status = files::WriteWhole(faults, target_, "the new file");
    EXPECT_FALSE(status.ok());
    if (call != FaultyFiles::kSyncFolder) {
      EXPECT_EQ(ReadAll(target_), "the old file, whole");
      EXPECT_EQ(status.why(), target_ + ": cannot be written: injected " +
                                  FaultyFiles::Name(call) + " failure");
    } else {
      // The rename happened, but it may not be on the disk: no success.
      EXPECT_EQ(ReadAll(target_), "the new file");
    }
    EXPECT_EQ(Names(), std::vector<std::string>{"settings.reg"}) << "no temporary left";
  }
}

TEST_F(WriteWholeTest, ANewFileFailingLeavesNothing) {
  FaultyFiles faults;
  faults.FailFrom(FaultyFiles::kSync, 1);
  EXPECT_FALSE(files::WriteWhole(faults, target_, "x").ok());
  EXPECT_TRUE(Names().empty());
}

// The disk full at every byte of the release's defaults file.
TEST_F(WriteWholeTest, AFullDiskAtAnyByteLeavesTheOldFile) {
  std::string bytes = ReadAll(TRISPAN_DEFAULTS_REG);
  ASSERT_GT(bytes.size(), 500u);
  for (size_t room = 0; room < bytes.size(); ++room) {
    WriteOld();
    FaultyFiles faults;
    faults.FillDiskAfter(room);
    files::Status status = files::WriteWhole(faults, target_, bytes);
    ASSERT_EQ(status.why(), target_ + ": cannot be written: No space left on device")
        << "room for " << room;
    ASSERT_EQ(ReadAll(target_), "the old file, whole") << "room for " << room;
    ASSERT_EQ(Names().size(), 1u) << "room for " << room;
  }
  FaultyFiles roomy;
  roomy.FillDiskAfter(bytes.size());
  EXPECT_TRUE(files::WriteWhole(roomy, target_, bytes).ok());
  EXPECT_EQ(ReadAll(target_), bytes);
}

TEST_F(WriteWholeTest, SeveralFilesAreAllWrittenBeforeAnyReplacesItsTarget) {
  std::string second = folder_ + "/picture.svg";
  WriteOld();
  std::ofstream(second) << "the old picture";
  FaultyFiles faults;
  faults.FailFrom(FaultyFiles::kSync, 2);
  files::Status status = files::WriteEach(faults, {{target_, "new"}, {second, "new picture"}});
  EXPECT_EQ(status.why(), second + ": cannot be written: injected sync failure");
  EXPECT_EQ(ReadAll(target_), "the old file, whole") << "the first not replaced either";
  EXPECT_EQ(ReadAll(second), "the old picture");
  EXPECT_EQ(Names(), (std::vector<std::string>{"picture.svg", "settings.reg"}));
  ASSERT_TRUE(files::WriteEach(files::RealFiles(), {{target_, "a"}, {second, "b"}}).ok());
  EXPECT_EQ(ReadAll(target_) + ReadAll(second), "ab");
}

TEST_F(WriteWholeTest, TemporariesAreWatched) {
  static std::vector<std::string> seen;
  seen.clear();
  files::WatchTemporaries([](const std::string& path, bool created) {
    seen.push_back((created ? "+" : "-") + path.substr(path.rfind('/') + 1, 14));
  });
  files::WriteWhole(files::RealFiles(), target_, "x");
  FaultyFiles faults;
  faults.FailFrom(FaultyFiles::kAppend, 1);
  files::WriteWhole(faults, target_, "x");
  files::WatchTemporaries(nullptr);
  EXPECT_EQ(seen, (std::vector<std::string>{"+.settings.reg.", "-.settings.reg.",
                                            "+.settings.reg.", "-.settings.reg."}));
}

TEST(FolderOfTest, NamesTheFolder) {
  EXPECT_EQ(files::FolderOf("a/b/c.json"), "a/b");
  EXPECT_EQ(files::FolderOf("c.json"), ".");
  EXPECT_EQ(files::FolderOf("/c.json"), "/");
}

TEST(LockTest, ASecondLockWaitsForTheFirst) {
  std::string path = testing::TempDir() + "lock-test.lock";
  std::unique_ptr<files::FileLock> first;
  ASSERT_TRUE(files::RealFiles().Lock(path, first).ok());
  int fd = open(path.c_str(), O_RDWR);
  EXPECT_NE(flock(fd, LOCK_EX | LOCK_NB), 0) << "held";
  first.reset();
  EXPECT_EQ(flock(fd, LOCK_EX | LOCK_NB), 0) << "released";
  close(fd);
  std::remove(path.c_str());
}

} // namespace

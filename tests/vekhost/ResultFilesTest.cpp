// vekhost's result files through the file seam, with faults put in: the
// files before stay whole, the exit status and the line tell the truth, and
// a pair written together carries one session mark.
#include "VekhostSession.h"

#include "Exit.h"
#include "FaultyFiles.h"
#include "ResultFiles.h"

#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

namespace fs = std::filesystem;

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

class ResultFilesTest : public VekhostSessionTest {
protected:
  void SetUp() override {
    VekhostSessionTest::SetUp();
    folder_ = testing::TempDir() + "results-" + vekhost::NewSessionMark();
    fs::create_directory(folder_);
    paths_ = {folder_ + "/box.result.json", folder_ + "/box.svg", "mark"};
  }
  void TearDown() override {
    fs::remove_all(folder_);
    VekhostSessionTest::TearDown();
  }
  void WriteOld() {
    std::ofstream(paths_.json) << "the old result";
    std::ofstream(paths_.svg) << "the old picture";
  }
  // The failure's status and line; status 0 when the results were written.
  std::pair<int, std::string> Write(files::Files& files) {
    try {
      vekhost::WriteResults(files, drawing_, vekhost::NoteBook(drawing_), paths_);
    } catch (const vekhost::Failure& failure) {
      return {failure.status, failure.what};
    }
    return {0, ""};
  }
  size_t FileCount() { return size_t(std::distance(fs::directory_iterator(folder_), {})); }

  std::string folder_;
  vekhost::ResultPaths paths_;
};

TEST_F(ResultFilesTest, BothFilesCarryTheSessionsMark) {
  Play("pick width\npick length\npick height\npoint 30 12");
  EXPECT_EQ(Write(files::RealFiles()).first, 0);
  EXPECT_NE(ReadAll(paths_.json).find("\"session\": \"mark\""), std::string::npos);
  EXPECT_NE(ReadAll(paths_.svg).find(" data-session=\"mark\">"), std::string::npos);
  EXPECT_EQ(FileCount(), 2u);
  EXPECT_EQ(vekhost::NewSessionMark().size(), 32u);
  EXPECT_NE(vekhost::NewSessionMark(), vekhost::NewSessionMark());
}

TEST_F(ResultFilesTest, EveryCallFailingInTurnLeavesTheFilesBefore) {
  for (int c = FaultyFiles::kCreate; c < FaultyFiles::kSyncFolder; ++c) {
    for (int nth : {1, 2}) {
      auto call = FaultyFiles::Call(c);
      SCOPED_TRACE(std::string(FaultyFiles::Name(call)) + " " + std::to_string(nth));
      WriteOld();
      FaultyFiles faults;
      faults.FailFrom(call, nth);
      auto [status, line] = Write(faults);
      EXPECT_EQ(status, vekhost::kExitNotWritten);
      std::string failed = nth == 1 || call == FaultyFiles::kRename ? paths_.json : paths_.svg;
      if (call == FaultyFiles::kRename && nth == 2) failed = paths_.svg;
      EXPECT_EQ(line,
                failed + ": cannot be written: injected " + FaultyFiles::Name(call) + " failure");
      if (call != FaultyFiles::kRename || nth == 1) {
        EXPECT_EQ(ReadAll(paths_.json), "the old result");
      }
      EXPECT_EQ(ReadAll(paths_.svg), "the old picture");
      EXPECT_EQ(FileCount(), 2u) << "no temporary left";
    }
  }
}

// A large picture: the disk full at its first, middle and last byte.
TEST_F(ResultFilesTest, AFullDiskLeavesTheFilesBefore) {
  for (int i = 0; i < 10000; ++i)
    drawing_.elements.push_back(
        {"e" + std::to_string(i), SIM_TYPE_LINE, {1, 1}, {2, 2}, FRAME_FIGURE, 0});
  FaultyFiles sizing;
  WriteOld();
  ASSERT_EQ(Write(sizing).first, 0);
  size_t json = ReadAll(paths_.json).size(), svg = ReadAll(paths_.svg).size();
  ASSERT_GT(svg, 1000000u);
  for (size_t room : {json, json + 1, json + svg / 2, json + svg - 1}) {
    WriteOld();
    FaultyFiles faults;
    faults.FillDiskAfter(room);
    auto [status, line] = Write(faults);
    EXPECT_EQ(status, vekhost::kExitNotWritten) << room;
    EXPECT_EQ(line, paths_.svg + ": cannot be written: No space left on device");
    EXPECT_EQ(ReadAll(paths_.json), "the old result")
        << "not replaced before the picture was whole";
    EXPECT_EQ(ReadAll(paths_.svg), "the old picture");
    EXPECT_EQ(FileCount(), 2u);
  }
}

TEST_F(ResultFilesTest, AnOutputMustHaveAWritableFolder) {
  auto failure = [](const std::string& path) {
    try {
      vekhost::CheckWritable(files::RealFiles(), path);
    } catch (const vekhost::Failure& f) {
      return std::to_string(f.status) + " " + f.what;
    }
    return std::string("writable");
  };
  EXPECT_EQ(failure(folder_ + "/new.json"), "writable");
  EXPECT_EQ(FileCount(), 0u) << "nothing left behind";
  EXPECT_EQ(failure(folder_), "3 " + folder_ + ": is a folder, not a file");
  EXPECT_EQ(failure(folder_ + "/missing/r.json"),
            "3 " + folder_ + "/missing/r.json: cannot be written: " + folder_ +
                "/missing does not exist");
  std::ofstream(folder_ + "/file") << "x";
  EXPECT_EQ(failure(folder_ + "/file/r.json"), "3 " + folder_ +
                                                   "/file/r.json: cannot be written: " + folder_ +
                                                   "/file is not a folder");
}

} // namespace

// vekhost's session in process, with the real plug-in in the simulated host:
// each row a script and the whole transcript it gives.
#include "VekhostSession.h"

#include "FaultyFiles.h"
#include "Results.h"
#include "StoredSettings.h"
#include "WinStub.h"

#include <fstream>

namespace {

struct TranscriptRow {
  const char* what;
  std::string script;
  std::string transcript; // after the start's two lines
};

void PrintTo(const TranscriptRow& row, std::ostream* out) { *out << row.what; }

class TranscriptTest : public VekhostSessionTest,
                       public testing::WithParamInterface<TranscriptRow> {};

TEST_P(TranscriptTest, TellsWhatHappens) {
  EXPECT_EQ(Play(GetParam().script), "command 가로x세로x높이 starts\n"
                                     "  prompt: 가로치수선택 : (종료버튼:Dialog)\n" +
                                         GetParam().transcript);
}

INSTANTIATE_TEST_SUITE_P(
    Scripts, TranscriptTest,
    testing::Values(
        TranscriptRow{"the box", "pick width\npick length\npick height\nmotion 20 12\npoint 30 12",
                      "> pick width\n"
                      "  prompt: 세로치수선택 :\n"
                      "> pick length\n"
                      "  prompt: 높이치수선택 :\n"
                      "> pick height\n"
                      "  cursor: 표제\n"
                      "  prompt: 주기위치지시 혹은 주기선택 <종료버튼-도형프레임으로 변경> :\n"
                      "  frame: the title frame is current\n"
                      "> motion 20 12\n"
                      "  preview: 100X50X20 at 21, 12\n"
                      "> point 30 12\n"
                      "  note written: 100X50X20  (new, at 31, 12 in the title frame)\n"
                      "  frame: the figure frame is current\n"
                      "command ended\n"},
        TranscriptRow{"refusals", "point 1 1\npick edge\nkeyin 3",
                      "> point 1 1\n"
                      "  (the step does not take this event)\n"
                      "> pick edge\n"
                      "  (the step's filter does not take that element)\n"
                      "> keyin 3\n"},
        TranscriptRow{"an error ends the command", "pick width\nfurther 1 1\nend",
                      "> pick width\n"
                      "  prompt: 세로치수선택 :\n"
                      "> further 1 1\n"
                      "  (the step does not take this event)\n"
                      "> end\n"
                      "command ended\n"},
        TranscriptRow{"after the end nothing runs", "pick width\nend\nend",
                      "> pick width\n"
                      "  prompt: 세로치수선택 :\n"
                      "> end\n"
                      "command ended\n"
                      "> end\n"
                      "  (no command runs: \"start\" runs it again)\n"},
        TranscriptRow{"start again", "pick width\nstart",
                      "> pick width\n"
                      "  prompt: 세로치수선택 :\n"
                      "> start\n"
                      "the command was still running: it ends here\n"
                      "command 가로x세로x높이 starts\n"
                      "  prompt: 가로치수선택 : (종료버튼:Dialog)\n"},
        TranscriptRow{"a dialog action without a dialog", "dialog click ok\nshow",
                      "> dialog click ok\n"
                      "  (no dialog is open: the end button at the width step opens it)\n"
                      "> show\n"
                      "  (no dialog is open: the end button at the width step opens it)\n"},
        TranscriptRow{"names", "names",
                      "> names\n"
                      "  width: dimension (type 12), measure 100\n"
                      "  length: dimension (type 13), measure 50\n"
                      "  height: dimension (type 13), measure 20\n"
                      "  bore: dimension (type 12), measure 30, a diameter\n"
                      "  size: general note \"SIZE: Ø\"\n"
                      "  label: note \"\"\n"
                      "  edge: element of type 1 (not a dimension)\n"},
        TranscriptRow{"the dialog, OK", "end\ndialog select round 2\npick width\ndialog click ok",
                      "> end\n" + std::string(kForm) +
                          "> dialog select round 2\n"
                          "> pick width\n"
                          "  (the settings dialog is open: dialog click ok or dialog click "
                          "cancel closes it)\n"
                          "> dialog click ok\n"
                          "  dialog closed: OK, settings saved\n"},
        TranscriptRow{"the dialog, Cancel, and its form again", "end\nshow\ndialog click cancel",
                      "> end\n" + std::string(kForm) + "> show\n" + kForm +
                          "> dialog click cancel\n"
                          "  dialog closed: Cancel\n"},
        TranscriptRow{"the dialog left open at the end", "end\ndialog type prefix P",
                      "> end\n" + std::string(kForm) +
                          "> dialog type prefix P\n"
                          "  dialog closed: Cancel\n"}));

TEST_F(VekhostSessionTest, TheJournalShowsEveryCall) {
  std::string transcript = Play("pick width", true);
  EXPECT_NE(transcript.find("    host: VekEvtSetEventMask(0x1001000) = 0\n"), std::string::npos);
  EXPECT_NE(transcript.find("    host: VekDimGetMeasure(1) = 0 100\n"), std::string::npos)
      << transcript;
}

TEST_F(VekhostSessionTest, DialogActionsReachTheSettings) {
  Play("end\ndialog select round 1\ndialog click font-windows\ndialog type connector =\n"
       "dialog type prefix 박스 \ndialog click ok\npick width\nkeyin 50\nkeyin 20\npoint 1 1");
  EXPECT_EQ(testreg::GetText(u"Round"), u"1");
  EXPECT_EQ(testreg::GetText(u"Font"), u"1");
  EXPECT_EQ(testreg::GetText(u"MTitle"), u"=");
  EXPECT_EQ(testreg::GetText(u"PreComment"), u"박스 ");
  vekhost::NoteBook notes(drawing_);
  ASSERT_EQ(notes.Written().size(), 1u);
  EXPECT_TRUE(notes.Written().rbegin()->second.isNew);
  EXPECT_EQ(notes.Written().rbegin()->second.text, "박스 100.0=50.0=20.0");
}

// A settings file that cannot be written: the settings are in force, the
// session says they could not be stored and counts them lost.
TEST_F(VekhostSessionTest, SettingsThatCannotBeStoredAreSaid) {
  FaultyFiles faults;
  faults.FailFrom(FaultyFiles::kRename, 1);
  WinStubSetFiles(&faults);
  std::string transcript = Play("end\ndialog click ok");
  WinStubSetFiles(nullptr);
  std::string lost = "  settings could not be stored: " + std::string(WinStubRegistryFile()) +
                     ": cannot be written: injected rename failure\n";
  EXPECT_EQ(transcript.substr(0, transcript.find("  prompt")),
            "command 가로x세로x높이 starts\n" + lost)
      << "the defaults written at the start";
  EXPECT_NE(transcript.find("  dialog closed: OK, the settings are in force but could not be "
                            "stored\n" +
                            lost),
            std::string::npos)
      << transcript;
  EXPECT_TRUE(SettingsLost());
}

TEST_F(VekhostSessionTest, ADialogsOkIsOneWrite) {
  FaultyFiles counting;
  WinStubSetFiles(&counting);
  Play("end\ndialog select round 1\ndialog type prefix P\ndialog click ok\npick width");
  WinStubSetFiles(nullptr);
  EXPECT_EQ(counting.Count(FaultyFiles::kRename), 2) << "the defaults at the start, then OK";
  EXPECT_EQ(testreg::GetText(u"Round"), u"1");
}

// A character size is warned of only where notes would have none.
TEST_F(VekhostSessionTest, OnlyACharacterSizeOfNothingIsWarnedOf) {
  testreg::SetText(u"Width", u"0.5");
  testreg::SetText(u"Height", u"0");
  std::ostringstream shown, changed;
  vekhost::PrintSettings(shown);
  vekhost::PrintChangedSettings(changed);
  EXPECT_NE(shown.str().find("  Width = \"0.5\"  (read as 0.5)\n"), std::string::npos)
      << shown.str();
  EXPECT_NE(
      shown.str().find("  Height = \"0\"  (read as 0: notes of no size, which no one sees)\n"),
      std::string::npos)
      << shown.str();
  EXPECT_EQ(changed.str().find("warning: the stored Width"), std::string::npos) << changed.str();
  EXPECT_EQ(changed.str().rfind("warning: the stored Height \"0\" gives notes of no size", 0), 0u)
      << changed.str();
}

TEST_F(VekhostSessionTest, StoredSettingsAreShownAndReset) {
  testreg::SetText(u"Round", u"2");
  testreg::SetText(u"MTitle", u"X");
  testreg::SetValue(u"Width", REG_DWORD, {5, 0, 0, 0});
  testreg::SetValue(u"Pitch", REG_BINARY, {1});
  testreg::SetValue(u"Height", REG_SZ, {'1', 0, '2'}); // odd, without its NUL
  std::ostringstream shown, changed;
  vekhost::PrintSettings(shown);
  vekhost::PrintChangedSettings(changed);
  EXPECT_NE(shown.str().find("  Round = \"2\"  (the list's \"2\")\n  Font = (missing)\n"
                             "  MTitle = \"X\"\n  Width = 5 (a number)\n"
                             "  Height = \"12\"  (read as 12)\n"
                             "  Pitch = (of type 3: the default is used)\n"),
            std::string::npos)
      << shown.str();
  EXPECT_EQ(changed.str(), "settings other than the defaults: Round \"2\", Width 5 (a number), "
                           "Height \"12\", Pitch (of type 3: the default is used) "
                           "(vekhost --reset-settings brings the defaults back)\n");
  EXPECT_TRUE(vekhost::ResetSettings());
  EXPECT_TRUE(vekhost::ResetSettings()) << "nothing to delete is no failure";
  std::ostringstream empty, none;
  vekhost::PrintSettings(empty);
  vekhost::PrintChangedSettings(none);
  EXPECT_NE(empty.str().find("  none stored yet: the first command start writes the defaults\n"),
            std::string::npos);
  EXPECT_EQ(none.str(), "");
}

} // namespace

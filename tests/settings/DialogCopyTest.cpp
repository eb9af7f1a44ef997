// The settings dialog's routines without a window: what its OK puts in
// force (each of the twelve members to its own field of the settings record,
// numbers converted), and the results of its registry routines.
#include "DialogPlayer.h"
#include "TestRegistry.h"
#include "TriSpanDlg.h"
#include "Utf.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <sstream>

namespace {

// Every field of a record as text, by name.
std::map<std::string, std::string> Fields(const SettingsRecord& r) {
  auto text = [](const CString& s) { return utf::ToUtf8(s); };
  auto number = [](double value) {
    std::ostringstream out;
    out << value;
    return out.str();
  };
  return {{"Round", std::to_string(r.Round)},
          {"Font", std::to_string(r.Font)},
          {"MTitle", text(r.MTitle)},
          {"Width", number(r.Width)},
          {"Height", number(r.Height)},
          {"Pitch", number(r.Pitch)},
          {"positionX", number(r.positionX)},
          {"positionY", number(r.positionY)},
          {"FrameDim", std::to_string(r.FrameDim)},
          {"FrameChar", std::to_string(r.FrameChar)},
          {"FrameCmd", std::to_string(r.FrameCmd)},
          {"PreComment", text(r.PreComment)}};
}

// A dialog whose twelve values all differ from a new record's.
void SetBase(TriSpanDlg& d) {
  d.m_nRound = 1;
  d.m_nFont = 1;
  d.m_strMTitle = u"*";
  d.m_strWidth = u"2";
  d.m_strHeight = u"3";
  d.m_strPitch = u"4";
  d.m_strPositionX = u"5";
  d.m_strPositionY = u"6";
  d.m_nFrameDim = 1;
  d.m_nFrameChar = 2;
  d.m_nFrameCmd = 1;
  d.m_strPreComment = u"P-";
}

struct CopyRow {
  const char* field;
  std::function<void(TriSpanDlg&)> change;
  std::string value; // the field afterwards
};

void PrintTo(const CopyRow& row, std::ostream* out) { *out << row.field; }

} // namespace

TEST(DialogCopyTest, EveryMemberReachesItsField) {
  TriSpanDlg dialog;
  SetBase(dialog);
  SettingsRecord record;
  dialog.CopyTo(record);
  EXPECT_EQ(Fields(record), (std::map<std::string, std::string>{
                                {"Round", "1"},
                                {"Font", "1"},
                                {"MTitle", "*"},
                                {"Width", "2"},
                                {"Height", "3"},
                                {"Pitch", "4"},
                                {"positionX", "5"},
                                {"positionY", "6"},
                                {"FrameDim", "1"},
                                {"FrameChar", "2"},
                                {"FrameCmd", "1"},
                                {"PreComment", "P-"},
                            }));
}

class DialogCopyRowTest : public testing::TestWithParam<CopyRow> {};

// One member changed at a time: its field follows and no other moves.
TEST_P(DialogCopyRowTest, ChangesItsFieldAlone) {
  TriSpanDlg dialog;
  SetBase(dialog);
  SettingsRecord base;
  dialog.CopyTo(base);
  GetParam().change(dialog);
  SettingsRecord changed;
  dialog.CopyTo(changed);
  std::map<std::string, std::string> expected = Fields(base);
  expected[GetParam().field] = GetParam().value;
  EXPECT_EQ(Fields(changed), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Settings, DialogCopyRowTest,
    testing::Values(CopyRow{"Round", [](TriSpanDlg& d) { d.m_nRound = 7; }, "7"},
                    CopyRow{"Font", [](TriSpanDlg& d) { d.m_nFont = -1; }, "-1"},
                    CopyRow{"MTitle", [](TriSpanDlg& d) { d.m_strMTitle = u" x "; }, " x "},
                    CopyRow{"Width", [](TriSpanDlg& d) { d.m_strWidth = u"abc"; }, "0"},
                    CopyRow{"Height", [](TriSpanDlg& d) { d.m_strHeight = u" 3.5mm"; }, "3.5"},
                    CopyRow{"Pitch", [](TriSpanDlg& d) { d.m_strPitch = u"-1e1"; }, "-10"},
                    CopyRow{"positionX", [](TriSpanDlg& d) { d.m_strPositionX = u"+.5"; }, "0.5"},
                    CopyRow{"positionY", [](TriSpanDlg& d) { d.m_strPositionY = u"-2"; }, "-2"},
                    CopyRow{"FrameDim", [](TriSpanDlg& d) { d.m_nFrameDim = 0; }, "0"},
                    CopyRow{"FrameChar", [](TriSpanDlg& d) { d.m_nFrameChar = 9; }, "9"},
                    CopyRow{"FrameCmd", [](TriSpanDlg& d) { d.m_nFrameCmd = 2; }, "2"},
                    CopyRow{"PreComment", [](TriSpanDlg& d) { d.m_strPreComment = u""; }, ""}));

using DialogRegistryTest = RegistryTest;

TEST_F(DialogRegistryTest, LoadingAndSavingAlwaysSucceed) {
  TriSpanDlg dialog;
  EXPECT_TRUE(dialog.LoadFromRegistry());
  EXPECT_EQ(dialog.m_strMTitle, u"X") << "the default, written back";
  EXPECT_EQ(testreg::GetText(u"MTitle"), u"X");
  dialog.m_strMTitle = u"*";
  EXPECT_TRUE(dialog.SaveToRegistry());
  EXPECT_EQ(testreg::GetText(u"MTitle"), u"*");
}

#ifndef _WIN32
// The dialog run from this test's own copy of the resources (registered at
// load on Linux): its window is known while it runs and forgotten after.
TEST_F(DialogRegistryTest, AClosedDialogHasNoWindow) {
  AFX_MAINTAIN_STATE2 moduleState(AfxGetStaticModuleState());
  TriSpanDlg dialog;
  HWND during = nullptr;
  OnNextDialog([&](HWND window) {
    during = dialog.GetSafeHwnd();
    SendDlgItemMessageW(window, IDCANCEL, BM_CLICK, 0, 0);
  });
  EXPECT_EQ(dialog.DoModal(), IDCANCEL);
  EXPECT_NE(during, nullptr);
  EXPECT_EQ(dialog.GetSafeHwnd(), nullptr);
}
#endif

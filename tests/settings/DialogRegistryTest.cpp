// The settings dialog's registry routines without a window, and its window
// handle around a run.
#include "DialogPlayer.h"
#include "TestRegistry.h"
#include "TriSpanDlg.h"

#include <gtest/gtest.h>

using DialogRegistryTest = RegistryTest;

// Without a window: the stored texts reach the members (missing ones their
// defaults, written back), and the members reach the registry.
TEST_F(DialogRegistryTest, LoadsTheStoredSettingsAndSavesTheMembers) {
  testreg::SetText(u"Round", u"2");
  testreg::SetText(u"PreComment", u"BOX ");
  TriSpanDlg dialog;
  dialog.LoadFromRegistry();
  EXPECT_EQ(dialog.m_nRound, 2);
  EXPECT_EQ(dialog.m_strPreComment, u"BOX ");
  EXPECT_EQ(dialog.m_strMTitle, u"X") << "the default, written back";
  EXPECT_EQ(testreg::GetText(u"MTitle"), u"X");
  dialog.m_strMTitle = CString(1, u'*');
  dialog.m_nFrameCmd = 0;
  dialog.SaveToRegistry();
  EXPECT_EQ(testreg::GetText(u"MTitle"), u"*");
  EXPECT_EQ(testreg::GetText(u"FrameCmd"), u"0");
  EXPECT_EQ(testreg::GetText(u"Round"), u"2");
  EXPECT_EQ(testreg::ValueNames().size(), size_t(kSettingCount));
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

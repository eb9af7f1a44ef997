// The settings dialog's registry routines without a window, and its window
// handle around a run.
#include "DialogPlayer.h"
#include "TestRegistry.h"
#include "TriSpanDlg.h"

#include <gtest/gtest.h>

using DialogRegistryTest = RegistryTest;

TEST_F(DialogRegistryTest, LoadingAndSavingAlwaysSucceed) {
  TriSpanDlg dialog;
  EXPECT_TRUE(dialog.LoadFromRegistry());
  EXPECT_EQ(dialog.m_strMTitle, u"X") << "the default, written back";
  EXPECT_EQ(testreg::GetText(u"MTitle"), u"X");
  dialog.m_strMTitle = CString(1, u'*');
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

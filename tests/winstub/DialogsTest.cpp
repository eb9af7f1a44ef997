// The stand-in dialog manager with a template of the test's own: radio
// groups that keep to themselves, an owner that stays as it was, and
// resources cut short that build no dialog.
#ifndef _WIN32
#include "DialogPlayer.h"
#include "WinStub.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

const WORD kTemplate = 100;
const int kRadioA = 1001, kRadioB = 1002, kRadioC = 1003, kRadioD = 1004;
const HINSTANCE kModule = reinterpret_cast<HINSTANCE>(uintptr_t(0x5150));

class Bytes {
public:
  // size bytes, the value's lowest first; zeros past its eight.
  Bytes& Add(uint64_t value, int size) {
    for (int i = 0; i < size; ++i) bytes.push_back(i < 8 ? uint8_t(value >> (8 * i)) : 0);
    return *this;
  }
  Bytes& Text(const std::u16string& text) {
    for (char16_t c : text) Add(c, 2);
    return Add(0, 2);
  }
  Bytes& Align() {
    while (bytes.size() % 4) bytes.push_back(0);
    return *this;
  }
  std::vector<uint8_t> bytes;
};

// A DLGTEMPLATEEX: two groups of two automatic radio buttons, then OK.
std::vector<uint8_t> DialogTemplate() {
  struct Control {
    DWORD style;
    int id;
  };
  const DWORD radio = WS_VISIBLE | BS_AUTORADIOBUTTON;
  std::vector<Control> controls = {{radio | WS_GROUP, kRadioA},
                                   {radio, kRadioB},
                                   {radio | WS_GROUP, kRadioC},
                                   {radio, kRadioD},
                                   {WS_VISIBLE | WS_GROUP, IDOK}};
  Bytes t;
  t.Add(1, 2).Add(0xFFFF, 2).Add(0, 4).Add(0, 4).Add(0, 4); // version, help id, styles
  t.Add(WORD(controls.size()), 2).Add(0, 8).Add(0, 2).Add(0, 2).Text(u"Test"); // no font
  for (const Control& c : controls) {
    t.Align().Add(0, 4).Add(0, 4).Add(c.style, 4).Add(0, 8).Add(uint32_t(c.id), 4);
    t.Add(0xFFFF, 2).Add(0x80, 2).Text(u"").Add(0, 2);
  }
  return t.bytes;
}

// One resource of a .res file: its header, then its data.
void AddResource(Bytes& r, WORD type, WORD id, const std::vector<uint8_t>& data) {
  r.Add(uint32_t(data.size()), 4).Add(32, 4).Add(0xFFFF, 2).Add(type, 2).Add(0xFFFF, 2);
  r.Add(id, 2).Add(0, 16);
  r.bytes.insert(r.bytes.end(), data.begin(), data.end());
  r.Align();
}

// A .res file: the empty first resource, a string table and another dialog
// that share or miss the id, then the dialog (its template cut to size).
std::vector<uint8_t> Resources(size_t templateSize = SIZE_MAX) {
  std::vector<uint8_t> dialog = DialogTemplate();
  dialog.resize(std::min(templateSize, dialog.size()));
  Bytes r;
  r.Add(0, 4).Add(32, 4).Add(0xFFFF, 2).Add(0, 2).Add(0xFFFF, 2).Add(0, 2).Add(0, 16);
  AddResource(r, 6, kTemplate, std::vector<uint8_t>(40, 0xEE));
  AddResource(r, 5, kTemplate + 1, std::vector<uint8_t>(12, 0xEE));
  AddResource(r, 5, kTemplate, dialog);
  return r.bytes;
}

INT_PTR CALLBACK Procedure(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  if (message == WM_COMMAND && LOWORD(wParam) == IDOK) EndDialog(dialog, IDOK);
  return FALSE;
}

INT_PTR RunDialog(HWND owner, std::function<void(HWND)> play, WORD id = kTemplate) {
  OnNextDialog(std::move(play));
  INT_PTR result = DialogBoxParamW(kModule, MAKEINTRESOURCEW(id), owner, Procedure, 0);
  CancelNextDialog();
  return result;
}

class DialogsTest : public testing::Test {
protected:
  void SetUp() override {
    std::vector<uint8_t> res = Resources();
    WinStubRegisterResources(kModule, res.data(), res.size());
  }
};

TEST_F(DialogsTest, ARadioButtonClearsItsOwnGroupAlone) {
  std::vector<int> checked;
  EXPECT_EQ(RunDialog(nullptr,
                      [&](HWND dialog) {
                        for (int id : {kRadioA, kRadioC, kRadioB}) ClickButton(dialog, id);
                        for (int id : {kRadioA, kRadioB, kRadioC, kRadioD})
                          checked.push_back(IsDlgButtonChecked(dialog, id));
                        EXPECT_EQ(SendDlgItemMessageW(dialog, kRadioA, CB_GETCOUNT, 0, 0), 0)
                            << "a button is no list";
                        ClickButton(dialog, kRadioD);
                        checked.push_back(IsDlgButtonChecked(dialog, kRadioB));
                        checked.push_back(IsDlgButtonChecked(dialog, kRadioC));
                        ClickButton(dialog, IDOK);
                      }),
            IDOK);
  EXPECT_EQ(checked, (std::vector<int>{0, 1, 1, 0, 1, 0}));
}

TEST_F(DialogsTest, ADisabledOwnerStaysDisabled) {
  HWND owner =
      CreateWindowExW(0, u"HOST", u"host", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  EnableWindow(owner, FALSE);
  RunDialog(owner, [](HWND) {});
  EXPECT_FALSE(IsWindowEnabled(owner));
  EnableWindow(owner, TRUE);
  bool enabledMeanwhile = true;
  RunDialog(owner, [&](HWND) { enabledMeanwhile = IsWindowEnabled(owner); });
  EXPECT_FALSE(enabledMeanwhile);
  EXPECT_TRUE(IsWindowEnabled(owner)) << "enabled again";
  DestroyWindow(owner);
}

TEST_F(DialogsTest, ATemplateCutShortBuildsNoDialog) {
  size_t whole = DialogTemplate().size();
  for (size_t size = 0; size < whole; ++size) {
    std::vector<uint8_t> res = Resources(size);
    WinStubRegisterResources(kModule, res.data(), res.size());
    bool opened = false;
    EXPECT_EQ(RunDialog(nullptr, [&](HWND) { opened = true; }), -1) << size << " bytes";
    EXPECT_FALSE(opened);
  }
}

TEST_F(DialogsTest, OnlyADialogOfTheIdIsTaken) {
  bool opened = false;
  EXPECT_EQ(RunDialog(
                nullptr, [&](HWND) { opened = true; }, kTemplate + 2),
            -1)
      << "none";
  EXPECT_EQ(RunDialog(
                nullptr, [&](HWND) { opened = true; }, kTemplate + 1),
            -1)
      << "not one";
  EXPECT_FALSE(opened);
  EXPECT_EQ(RunDialog(nullptr, [](HWND dialog) { ClickButton(dialog, IDOK); }), IDOK);
}

TEST_F(DialogsTest, ResourcesCutShortBuildNoDialog) {
  std::vector<uint8_t> res = Resources();
  for (size_t size = 0; size < res.size(); size += 3) {
    std::vector<uint8_t> cut(res.begin(), res.begin() + long(size));
    WinStubRegisterResources(kModule, cut.data(), cut.size());
    bool opened = false;
    EXPECT_EQ(RunDialog(nullptr, [&](HWND) { opened = true; }), -1) << size << " bytes";
    EXPECT_FALSE(opened);
  }
}

} // namespace
#endif

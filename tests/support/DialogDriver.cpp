#include "DialogDriver.h"

#include "resource.h"

#ifndef _WIN32
#include "WinStub.h"
#endif

namespace {

struct Pending {
  std::vector<DialogAction> actions;
  DialogView* view = nullptr;
};

Pending& Next() {
  static Pending pending;
  return pending;
}

std::u16string TextOf(HWND window) {
  int length = GetWindowTextLengthW(window);
  std::u16string text(size_t(length) + 1, u'\0');
  GetWindowTextW(window, reinterpret_cast<LPWSTR>(&text[0]), length + 1);
  text.resize(size_t(length));
  return text;
}

void Record(HWND dialog, DialogView& view) {
  view.opened = true;
  view.caption = TextOf(dialog);
  for (int id : {IDC_ROUND, IDC_FRAME_DIM, IDC_FRAME_CHAR, IDC_FRAME_CMD}) {
    view.selections[id] = int(SendDlgItemMessageW(dialog, id, CB_GETCURSEL, 0, 0));
    int count = int(SendDlgItemMessageW(dialog, id, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
      char16_t item[128] = {};
      SendDlgItemMessageW(dialog, id, CB_GETLBTEXT, WPARAM(i), reinterpret_cast<LPARAM>(item));
      view.items[id].push_back(item);
    }
  }
  for (int id : {IDC_FONT_EXTERNAL, IDC_FONT_WINDOWS})
    view.checked[id] = IsDlgButtonChecked(dialog, id) == BST_CHECKED;
  for (int id : {IDC_MTITLE, IDC_WIDTH, IDC_HEIGHT, IDC_PITCH, IDC_POSITION_X, IDC_POSITION_Y,
                 IDC_PRE_COMMENT})
    view.texts[id] = TextOf(GetDlgItem(dialog, id));
}

void Play(HWND dialog) {
  Pending pending = Next();
  Next() = Pending();
  if (pending.view) Record(dialog, *pending.view);
  for (const DialogAction& action : pending.actions) action(dialog);
#ifdef _WIN32
  // Left open: closed as with Cancel (the Linux dialog manager does this itself).
  if (IsWindowVisible(dialog)) SendDlgItemMessageW(dialog, IDCANCEL, BM_CLICK, 0, 0);
#endif
}

#ifdef _WIN32
const UINT kTick = 20;
const int kTicksToWait = 500;
UINT_PTR timer = 0;
int ticks = 0;

BOOL CALLBACK FindDialog(HWND window, LPARAM found) {
  wchar_t name[16] = {};
  GetClassNameW(window, name, 16);
  if (std::wstring(name) != L"#32770" || !IsWindowVisible(window)) return TRUE;
  *reinterpret_cast<HWND*>(found) = window;
  return FALSE;
}

void CALLBACK OnTick(HWND, UINT, UINT_PTR, DWORD) {
  HWND dialog = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), FindDialog, reinterpret_cast<LPARAM>(&dialog));
  if (!dialog && ++ticks < kTicksToWait) return;
  KillTimer(nullptr, timer);
  timer = 0;
  if (dialog) Play(dialog);
}
#else
void OnOpen(HWND dialog, void*) {
  WinStubSetDialogDriver(nullptr, nullptr);
  Play(dialog);
}
#endif

} // namespace

DialogAction Select(int listId, int position) {
  return [=](HWND dialog) {
    SendDlgItemMessageW(dialog, listId, CB_SETCURSEL, WPARAM(position), 0);
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(listId, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, listId)));
  };
}

DialogAction Click(int buttonId) {
  return [=](HWND dialog) { SendDlgItemMessageW(dialog, buttonId, BM_CLICK, 0, 0); };
}

DialogAction Type(int editId, const std::u16string& text) {
  return [=](HWND dialog) {
    SetWindowTextW(GetDlgItem(dialog, editId), reinterpret_cast<LPCWSTR>(text.c_str()));
  };
}

DialogAction Uncheck(int buttonId) {
  return [=](HWND dialog) { SendDlgItemMessageW(dialog, buttonId, BM_SETCHECK, BST_UNCHECKED, 0); };
}

void OnNextDialog(std::vector<DialogAction> actions, DialogView* view) {
  Next() = Pending{std::move(actions), view};
#ifdef _WIN32
  ticks = 0;
  if (!timer) timer = SetTimer(nullptr, 0, kTick, OnTick);
#else
  WinStubSetDialogDriver(OnOpen, nullptr);
#endif
}

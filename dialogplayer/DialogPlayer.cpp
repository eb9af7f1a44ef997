#include "DialogPlayer.h"

#ifndef _WIN32
#include "WinStub.h"
#endif

namespace {

std::function<void(HWND)>& Armed() {
  static std::function<void(HWND)> play;
  return play;
}

void Play(HWND dialog) {
  std::function<void(HWND)> play = std::move(Armed());
  Armed() = nullptr;
  if (play) play(dialog);
#ifdef _WIN32
  // Left open: closed as with Cancel (the Linux dialog manager does this itself).
  if (IsWindowVisible(dialog)) ClickButton(dialog, IDCANCEL);
#endif
}

#ifdef _WIN32
const UINT kTickMilliseconds = 20;
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

void CancelNextDialog() {
  Armed() = nullptr;
#ifdef _WIN32
  if (timer) KillTimer(nullptr, timer);
  timer = 0;
#else
  WinStubSetDialogDriver(nullptr, nullptr);
#endif
}

void SelectListItem(HWND dialog, int listId, int position) {
  SendDlgItemMessageW(dialog, listId, CB_SETCURSEL, WPARAM(position), 0);
  SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(listId, CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, listId)));
}

void ClickButton(HWND dialog, int buttonId) {
  SendDlgItemMessageW(dialog, buttonId, BM_CLICK, 0, 0);
}

void TypeText(HWND dialog, int editId, const std::u16string& text) {
  SetWindowTextW(GetDlgItem(dialog, editId), reinterpret_cast<LPCWSTR>(text.c_str()));
}

std::u16string WindowText(HWND window) {
  int length = GetWindowTextLengthW(window);
  std::u16string text(size_t(length) + 1, u'\0');
  GetWindowTextW(window, reinterpret_cast<LPWSTR>(&text[0]), length + 1);
  text.resize(size_t(length));
  return text;
}

std::u16string ListItem(HWND dialog, int listId, int position) {
  LRESULT length = SendDlgItemMessageW(dialog, listId, CB_GETLBTEXTLEN, WPARAM(position), 0);
  if (length == CB_ERR) return u"";
  std::u16string text(size_t(length) + 1, u'\0');
  SendDlgItemMessageW(dialog, listId, CB_GETLBTEXT, WPARAM(position),
                      reinterpret_cast<LPARAM>(&text[0]));
  text.resize(size_t(length));
  return text;
}

void OnNextDialog(std::function<void(HWND)> play) {
  Armed() = std::move(play);
#ifdef _WIN32
  ticks = 0;
  if (!timer) timer = SetTimer(nullptr, 0, kTickMilliseconds, OnTick);
#else
  WinStubSetDialogDriver(OnOpen, nullptr);
#endif
}

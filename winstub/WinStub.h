// Controls for the Linux stand-ins, for vekhost and the tests.
//
// The registry keeps HKEY_CURRENT_USER in memory, where every handle of the
// process sees a change at once, and in one file in the format of a Windows
// registry export (regedit's "Windows Registry Editor Version 5.00",
// UTF-16LE), so settings survive between runs and carry over to Windows.
// The file is read at the first registry call and read again when another
// process has replaced it; it is written when the program flushes it
// (RegFlushKey, WinStubFlushRegistry) and at a normal exit: under a lock on
// FILE.lock, the file read again, only this process's changes since its last
// flush applied to it, the file replaced whole. So two programs that save at
// once each keep what the other set. A file that cannot be parsed is never
// overwritten: every registry call then fails with ERROR_BADDB.
#ifndef TRISPAN_WINSTUB_WINSTUB_H
#define TRISPAN_WINSTUB_WINSTUB_H

#include "windows.h"

#include <stddef.h>

#ifdef __cplusplus
namespace files {
class Files;
}
// The files the registry reads and writes through; null for the machine's
// own (tests put a faulty double here).
WINSTUB_API void WinStubSetFiles(files::Files* files);
#endif

extern "C" {
// Keeps the registry in this file from now on (read at the next access);
// null keeps it in memory alone, empty at first. Without a call:
// $WINSTUB_REGISTRY, else $XDG_CONFIG_HOME/vekhost/registry.reg (~/.config
// when unset).
WINSTUB_API void WinStubSetRegistryFile(const char* path);
// The file in use ("" in memory alone).
WINSTUB_API const char* WinStubRegistryFile(void);
// Why the file could not be read, or "" when it was read or did not exist.
WINSTUB_API const char* WinStubRegistryError(void);
// Writes this process's changes into the file; FALSE when it cannot (then
// counted, and the changes kept for the next flush).
WINSTUB_API BOOL WinStubFlushRegistry(void);
// How many times the file could not be written, and why the last time.
WINSTUB_API int WinStubFailedSaves(void);
WINSTUB_API const char* WinStubSaveError(void);

// Failures to inject, by kind of call; 0 for none.
enum {
  WINSTUB_FAIL_OPEN = 1,   // RegOpenKeyExW: ERROR_ACCESS_DENIED
  WINSTUB_FAIL_QUERY = 2,  // RegQueryValueExW: ERROR_ACCESS_DENIED
  WINSTUB_FAIL_CREATE = 4, // RegCreateKeyExW: ERROR_ACCESS_DENIED
  WINSTUB_FAIL_SET = 8,    // RegSetValueExW: ERROR_ACCESS_DENIED
};
WINSTUB_API void WinStubSetRegistryFailures(unsigned flags);
// The keys opened or created and not closed yet.
WINSTUB_API int WinStubOpenKeyCount(void);
// Called after every RegQueryValueExW with the key it was given, as when
// another program changes a value between two queries of a reader.
typedef void (*WinStubQueryHook)(HKEY key, void* context);
WINSTUB_API void WinStubSetQueryHook(WinStubQueryHook hook, void* context);

// The dialog manager. A module makes its compiled resources (a .res file's
// bytes, as windres writes them) known under its instance handle; then
// DialogBoxParamW finds its dialog templates there. There is no screen: a
// modal dialog is handed to the driver, which plays the user through the
// Win32 calls (BM_CLICK, CB_SETCURSEL with CBN_SELCHANGE, WM_SETTEXT...).
// A dialog the driver leaves open is closed as with the close box (IDCANCEL);
// without a driver DialogBoxParamW fails with -1, as with no display.
// As on Windows, a modal dialog is the active window while it runs, and its
// owner is disabled meanwhile and enabled and active again afterwards.
// Top-level windows other than dialogs (CreateWindowExW) are plain records:
// a text, enabled or not, active or not.
WINSTUB_API void WinStubRegisterResources(HINSTANCE module, const void* res, size_t size);
typedef void (*WinStubDialogDriver)(HWND dialog, void* context);
WINSTUB_API void WinStubSetDialogDriver(WinStubDialogDriver driver, void* context);

// The classes of a dialog template's controls (their atoms).
enum {
  WINSTUB_CLASS_BUTTON = 0x80,
  WINSTUB_CLASS_EDIT = 0x81,
  WINSTUB_CLASS_STATIC = 0x82,
  WINSTUB_CLASS_COMBO = 0x85,
};

// A control as the template made it, for drivers that show the dialog.
typedef struct WinStubControl {
  int id;
  WORD kind; // WINSTUB_CLASS_*
  DWORD style;
  short x, y, cx, cy;
} WinStubControl;
// The dialog's size in dialog units and its font, as the template gives them.
typedef struct WinStubDialogFrame {
  short cx, cy;
  WORD pointSize;        // 0: the template names no font
  char16_t typeface[32]; // NUL-terminated, cut at 31 units
} WinStubDialogFrame;
WINSTUB_API BOOL WinStubGetDialogFrame(HWND dialog, WinStubDialogFrame* out);
// The dialog's controls in template order: their number; up to capacity go
// to out, and their windows to windows.
WINSTUB_API int WinStubDialogControls(HWND dialog, WinStubControl* out, HWND* windows,
                                      int capacity);
}

#endif

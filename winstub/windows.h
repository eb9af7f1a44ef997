// windows.h for the Linux build: the subset of the Win32 API that TriSpan and
// its tests use, with the same names, values and semantics. Text is UTF-16
// (WCHAR is char16_t here; wchar_t is 32 bits on Linux). The registry and
// the dialog manager live in libwinstub.so (Registry.cpp, Dialogs.cpp);
// WinStub.h controls them.
#ifndef TRISPAN_WINSTUB_WINDOWS_H
#define TRISPAN_WINSTUB_WINDOWS_H

#include <stdint.h>

#if defined(WINSTUB_BUILDING)
#define WINSTUB_API __attribute__((visibility("default")))
#else
#define WINSTUB_API
#endif

#define WINAPI
#define CALLBACK
#define TRUE 1
#define FALSE 0

typedef int BOOL;
typedef uint8_t BYTE;
typedef uint32_t DWORD;
typedef int32_t LONG;
typedef uint32_t UINT;
typedef char16_t WCHAR;
typedef const WCHAR* LPCWSTR;
typedef WCHAR* LPWSTR;
typedef BYTE* LPBYTE;
typedef const BYTE* LPCBYTE;
typedef DWORD* LPDWORD;
typedef void* LPVOID;
typedef DWORD REGSAM;
typedef struct HINSTANCE__* HINSTANCE;
typedef HINSTANCE HMODULE;
typedef struct HKEY__* HKEY;
typedef HKEY* PHKEY;
typedef struct SECURITY_ATTRIBUTES* LPSECURITY_ATTRIBUTES;
typedef struct HWND__* HWND;
typedef struct HMENU__* HMENU;
typedef uint16_t WORD;
typedef uintptr_t WPARAM;
typedef intptr_t LPARAM;
typedef intptr_t LRESULT;
typedef intptr_t INT_PTR;
typedef INT_PTR (*DLGPROC)(HWND, UINT, WPARAM, LPARAM);

#define MAKEINTRESOURCEW(id) ((LPCWSTR)(uintptr_t)(WORD)(id))
#define LOWORD(value) ((WORD)((uintptr_t)(value)&0xFFFF))
#define HIWORD(value) ((WORD)(((uintptr_t)(value) >> 16) & 0xFFFF))
#define MAKEWPARAM(low, high) ((WPARAM)(((uint32_t)(WORD)(low)) | ((uint32_t)(WORD)(high)) << 16))

#define IDOK 1
#define IDCANCEL 2

#define WM_DESTROY 0x0002
#define WM_SETTEXT 0x000C
#define WM_GETTEXT 0x000D
#define WM_GETTEXTLENGTH 0x000E
#define WM_CLOSE 0x0010
#define WM_SHOWWINDOW 0x0018
#define WM_SETFONT 0x0030
#define WM_INITDIALOG 0x0110
#define WM_COMMAND 0x0111

#define BN_CLICKED 0
#define BM_GETCHECK 0x00F0
#define BM_SETCHECK 0x00F1
#define BM_CLICK 0x00F5
#define BST_UNCHECKED 0
#define BST_CHECKED 1
#define BS_PUSHBUTTON 0
#define BS_DEFPUSHBUTTON 1
#define BS_RADIOBUTTON 4
#define BS_GROUPBOX 7
#define BS_AUTORADIOBUTTON 9

#define CBN_SELCHANGE 1
#define CB_ERR (-1)
#define CB_GETLBTEXT 0x0148
#define CB_GETLBTEXTLEN 0x0149
#define CB_ADDSTRING 0x0143
#define CB_GETCOUNT 0x0146
#define CB_GETCURSEL 0x0147
#define CB_SETCURSEL 0x014E
#define CBS_SORT 0x0100

#define GWL_STYLE (-16)
#define WS_GROUP 0x00020000L
#define WS_TABSTOP 0x00010000L
#define WS_VISIBLE 0x10000000L
#define WS_OVERLAPPEDWINDOW 0x00CF0000L
#define GA_ROOT 2
#define GW_OWNER 4

#define HKEY_CURRENT_USER ((HKEY)(uintptr_t)0x80000001u)

#define ERROR_SUCCESS 0L
#define ERROR_FILE_NOT_FOUND 2L
#define ERROR_ACCESS_DENIED 5L
#define ERROR_INVALID_HANDLE 6L
#define ERROR_WRITE_FAULT 29L
#define ERROR_INVALID_PARAMETER 87L
#define ERROR_MORE_DATA 234L
#define ERROR_NO_MORE_ITEMS 259L
#define ERROR_BADDB 1009L
#define ERROR_KEY_DELETED 1018L

#define REG_NONE 0
#define REG_SZ 1
#define REG_EXPAND_SZ 2
#define REG_BINARY 3
#define REG_DWORD 4
#define REG_DWORD_BIG_ENDIAN 5
#define REG_MULTI_SZ 7
#define REG_QWORD 11

#define KEY_READ 0x20019
#define KEY_WRITE 0x20006
#define KEY_ALL_ACCESS 0xF003F
#define REG_OPTION_NON_VOLATILE 0
#define REG_CREATED_NEW_KEY 1
#define REG_OPENED_EXISTING_KEY 2

extern "C" {
WINSTUB_API LONG RegOpenKeyExW(HKEY root, LPCWSTR subKey, DWORD options, REGSAM access,
                               PHKEY result);
WINSTUB_API LONG RegCreateKeyExW(HKEY root, LPCWSTR subKey, DWORD reserved, LPWSTR keyClass,
                                 DWORD options, REGSAM access, LPSECURITY_ATTRIBUTES security,
                                 PHKEY result, LPDWORD disposition);
WINSTUB_API LONG RegQueryValueExW(HKEY key, LPCWSTR name, LPDWORD reserved, LPDWORD type,
                                  LPBYTE data, LPDWORD size);
WINSTUB_API LONG RegSetValueExW(HKEY key, LPCWSTR name, DWORD reserved, DWORD type,
                                const BYTE* data, DWORD size);
WINSTUB_API LONG RegEnumValueW(HKEY key, DWORD index, LPWSTR name, LPDWORD nameUnits,
                               LPDWORD reserved, LPDWORD type, LPBYTE data, LPDWORD size);
WINSTUB_API LONG RegDeleteValueW(HKEY key, LPCWSTR name);
WINSTUB_API LONG RegDeleteTreeW(HKEY key, LPCWSTR subKey);
WINSTUB_API LONG RegFlushKey(HKEY key);
WINSTUB_API LONG RegCloseKey(HKEY key);

WINSTUB_API INT_PTR DialogBoxParamW(HINSTANCE module, LPCWSTR templateName, HWND parent,
                                    DLGPROC procedure, LPARAM initParam);
WINSTUB_API BOOL EndDialog(HWND dialog, INT_PTR result);
WINSTUB_API HWND GetDlgItem(HWND dialog, int id);
WINSTUB_API LRESULT SendMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
WINSTUB_API LRESULT SendDlgItemMessageW(HWND dialog, int id, UINT message, WPARAM wParam,
                                        LPARAM lParam);
WINSTUB_API BOOL SetWindowTextW(HWND window, LPCWSTR text);
WINSTUB_API int GetWindowTextW(HWND window, LPWSTR text, int units);
WINSTUB_API int GetWindowTextLengthW(HWND window);
WINSTUB_API BOOL SetDlgItemTextW(HWND dialog, int id, LPCWSTR text);
WINSTUB_API BOOL CheckRadioButton(HWND dialog, int first, int last, int checked);
WINSTUB_API UINT IsDlgButtonChecked(HWND dialog, int id);
WINSTUB_API LONG GetWindowLongW(HWND window, int index);

WINSTUB_API HWND CreateWindowExW(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style,
                                 int x, int y, int width, int height, HWND parent, HMENU menu,
                                 HINSTANCE instance, LPVOID param);
WINSTUB_API BOOL DestroyWindow(HWND window);
WINSTUB_API HWND GetActiveWindow(void);
WINSTUB_API HWND SetActiveWindow(HWND window);
WINSTUB_API HWND GetAncestor(HWND window, UINT flags);
WINSTUB_API HWND GetWindow(HWND window, UINT command);
WINSTUB_API BOOL EnableWindow(HWND window, BOOL enable);
WINSTUB_API BOOL IsWindowEnabled(HWND window);
WINSTUB_API BOOL IsWindowVisible(HWND window);
}

#endif

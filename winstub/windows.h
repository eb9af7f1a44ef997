// windows.h for the Linux build: the subset of the Win32 API that TriSpan and
// its tests use, with the same names, values and semantics. Text is UTF-16
// (WCHAR is char16_t here; wchar_t is 32 bits on Linux). The registry lives
// in libwinstub.so (Registry.cpp); WinStub.h controls where it is kept.
#ifndef TRISPAN_WINSTUB_WINDOWS_H
#define TRISPAN_WINSTUB_WINDOWS_H

#include <stdint.h>

#if defined(WINSTUB_BUILDING)
#define WINSTUB_API __attribute__((visibility("default")))
#else
#define WINSTUB_API
#endif

#define WINAPI
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
WINSTUB_API LONG RegCloseKey(HKEY key);
}

#endif

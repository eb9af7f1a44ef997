#include "RegistryStore.h"

#include "Conversions.h"
#include "SettingsTable.h"

#include <algorithm>
#include <vector>

namespace {

// Attempts at reading a value that changes between the size query and the read.
const int kReadAttempts = 3;

LPCWSTR Wide(const CString& text) { return reinterpret_cast<LPCWSTR>(text.c_str()); }

CString WithBackslashes(CString keyPath) {
  std::replace(keyPath.begin(), keyPath.end(), u'/', u'\\');
  return keyPath;
}

// Reads the value into text as RegReadText describes; false when it cannot.
bool QueryText(HKEY key, const CString& valueName, CString& text) {
  for (int attempt = 0; attempt < kReadAttempts; ++attempt) {
    DWORD type = 0, size = 0;
    if (RegQueryValueExW(key, Wide(valueName), nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
      return false;
    if (type == REG_DWORD) {
      DWORD number = 0, got = sizeof number;
      if (size != sizeof number ||
          RegQueryValueExW(key, Wide(valueName), nullptr, &type, reinterpret_cast<BYTE*>(&number),
                           &got) != ERROR_SUCCESS)
        return false;
      if (type != REG_DWORD || got != sizeof number) continue;
      text = DecimalText(number);
      return true;
    }
    if (type != REG_SZ && type != REG_EXPAND_SZ) return false;
    // One unit more than the data needs, so an odd byte count fits too.
    std::vector<char16_t> buffer(size / sizeof(char16_t) + 1, u'\0');
    DWORD got = size;
    LONG status = RegQueryValueExW(key, Wide(valueName), nullptr, &type,
                                   reinterpret_cast<BYTE*>(buffer.data()), &got);
    if (status == ERROR_MORE_DATA) continue;
    if (status != ERROR_SUCCESS) return false;
    if ((type != REG_SZ && type != REG_EXPAND_SZ) || got > size) continue;
    const char16_t* begin = buffer.data();
    const char16_t* end = begin + got / sizeof(char16_t);
    text.assign(begin, std::find(begin, end, u'\0'));
    return true;
  }
  return false;
}

} // namespace

int RegReadText(const CString& keyPath, const CString& valueName, CString& value) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, Wide(WithBackslashes(keyPath)), 0, KEY_READ, &key) !=
      ERROR_SUCCESS)
    return -1;
  CString text;
  bool read = QueryText(key, valueName, text);
  RegCloseKey(key);
  if (!read) return -1;
  value = text;
  return 0;
}

int RegWriteText(const CString& keyPath, const CString& valueName, const CString& value) {
  HKEY key = nullptr;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, Wide(WithBackslashes(keyPath)), 0, nullptr,
                      REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &key,
                      nullptr) != ERROR_SUCCESS)
    return -1;
  DWORD bytes = DWORD((value.size() + 1) * sizeof(char16_t));
  LONG status = RegSetValueExW(key, Wide(valueName), 0, REG_SZ,
                               reinterpret_cast<const BYTE*>(value.c_str()), bytes);
  RegCloseKey(key);
  return status == ERROR_SUCCESS ? 0 : -1;
}

bool WriteSetting(const CString& subKey, const CString& valueName, const CString& value) {
  return RegWriteText(MakeSettingsKey(subKey), valueName, value) == 0;
}

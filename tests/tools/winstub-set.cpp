// Sets one text value under TriSpan's settings key through the registry
// stand-in and flushes it, as another program sharing the settings file
// would; for the tests of programs saving at once.
//   winstub-set FILE NAME TEXT
#include "SettingsTable.h"
#include "Utf.h"
#include "WinStub.h"

#include <cstdio>

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: winstub-set FILE NAME TEXT\n");
    return 2;
  }
  WinStubSetRegistryFile(argv[1]);
  std::u16string key = MakeSettingsKey(kSettingsSubKey);
  std::u16string name = utf::ToUtf16(argv[2]), text = utf::ToUtf16(argv[3]);
  HKEY handle = nullptr;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                      &handle, nullptr) != ERROR_SUCCESS ||
      RegSetValueExW(handle, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                     DWORD((text.size() + 1) * 2)) != ERROR_SUCCESS) {
    std::fprintf(stderr, "winstub-set: %s\n", WinStubRegistryError());
    return 1;
  }
  RegCloseKey(handle);
  if (!WinStubFlushRegistry()) {
    std::fprintf(stderr, "winstub-set: %s\n", WinStubSaveError());
    return 1;
  }
  return 0;
}

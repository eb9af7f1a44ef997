// Any stored value: any type, any bytes, any length. Reading it never fails
// other than by -1 with the text untouched, and loading the settings always
// gives a usable record, writing back what it could not read.
#include "RegistryStore.h"
#include "Settings.h"
#include "WinStub.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider input(data, size);
  WinStubSetRegistryFile(nullptr); // an empty registry in memory
  HKEY key = nullptr;
  const CString settingsKey = MakeSettingsKey(kSettingsSubKey);
  RegCreateKeyExW(HKEY_CURRENT_USER, settingsKey.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                  &key, nullptr);
  int values = input.ConsumeIntegralInRange(1, kSettingCount);
  for (int i = 0; i < values && input.remaining_bytes(); ++i) {
    const SettingField& field = kSettingFields[input.ConsumeIntegralInRange(0, kSettingCount - 1)];
    DWORD type = input.ConsumeIntegralInRange<DWORD>(0, 12);
    std::vector<uint8_t> bytes = input.ConsumeBytes<uint8_t>(input.ConsumeIntegralInRange(0, 4096));
    RegSetValueExW(key, field.name, 0, type, bytes.data(), DWORD(bytes.size()));
    CString text = u"unchanged";
    int result = RegReadText(settingsKey, field.name, text);
    if (result != 0 && (result != -1 || text != u"unchanged")) std::abort();
    // Never past the data: a text has at most its units, a DWORD ten digits.
    size_t longest = type == REG_DWORD ? 10 : bytes.size() / 2;
    if (result == 0 && text.size() > longest) std::abort();
  }
  RegCloseKey(key);
  LoadSettings();
  // Every value can be read now.
  for (const SettingField& field : kSettingFields) {
    CString text;
    if (RegReadText(settingsKey, field.name, text) != 0) std::abort();
  }
  return 0;
}

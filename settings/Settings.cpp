#include "Settings.h"

#include "RegistryStore.h"

CString ReadSettingText(const CString& subKey, const SettingField& field) {
  CString text;
  if (RegReadText(MakeSettingsKey(subKey), field.name, text) == -1) {
    text = field.defaultText;
    WriteSetting(subKey, field.name, text);
  }
  return text;
}

bool LoadSettings() {
  for (const SettingField& field : kSettingFields)
    StoreSettingText(TriSpanSettings, field, ReadSettingText(settingsSubKey, field));
  return true;
}

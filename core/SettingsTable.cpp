#include "SettingsTable.h"

#include "Conversions.h"

CString MakeSettingsKey(const CString& subKey) { return kSettingsRoot + subKey; }

const SettingField* FindSetting(const CString& name) {
  for (const SettingField& field : kSettingFields)
    if (field.name == name) return &field;
  return nullptr;
}

const SettingField* SettingOfControl(int controlId) {
  for (const SettingField& field : kSettingFields)
    if (controlId >= field.control.id && controlId <= field.control.lastId) return &field;
  return nullptr;
}

void StoreSettingText(SettingsRecord& record, const SettingField& field, const CString& text) {
  switch (field.field.kind) {
  case SettingKind::Integer:
    record.*field.field.integer = WideToInt(text);
    break;
  case SettingKind::Real:
    record.*field.field.real = WideToReal(text);
    break;
  case SettingKind::Text:
    record.*field.field.text = text;
    break;
  }
}

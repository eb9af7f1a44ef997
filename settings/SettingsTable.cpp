#include "SettingsTable.h"

#include "Conversions.h"

SettingsForm::SettingsForm() : m_strSubKey(kSettingsSubKey) {
  for (const SettingField& field : kSettingFields)
    ShowSettingText(*this, field, field.control.editText ? u"" : field.defaultText);
}

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

void ShowSettingText(SettingsForm& form, const SettingField& field, const CString& text) {
  if (field.control.editText)
    form.*field.control.editText = text;
  else
    form.*field.control.index = WideToInt(text);
}

CString FormSettingText(const SettingsForm& form, const SettingField& field) {
  return field.control.editText ? form.*field.control.editText
                                : DecimalText(form.*field.control.index);
}

void CopyFormTo(const SettingsForm& form, SettingsRecord& record) {
  for (const SettingField& field : kSettingFields)
    StoreSettingText(record, field, FormSettingText(form, field));
}

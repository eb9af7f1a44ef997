#include "SettingsForm.h"

#include "Conversions.h"

SettingsForm::SettingsForm() : m_strSubKey(kSettingsSubKey) {
  for (const SettingField& setting : kSettingFields)
    ShowSettingText(*this, setting, MembersOf(setting).editText ? u"" : setting.defaultText);
}

const FormMember& MembersOf(const SettingField& setting) {
  return kFormMembers[&setting - kSettingFields];
}

void ShowSettingText(SettingsForm& form, const SettingField& setting, const CString& text) {
  const FormMember& members = MembersOf(setting);
  if (members.editText)
    form.*members.editText = text;
  else
    form.*members.index = WideToInt(text);
}

CString FormSettingText(const SettingsForm& form, const SettingField& setting) {
  const FormMember& members = MembersOf(setting);
  return members.editText ? form.*members.editText : DecimalText(form.*members.index);
}

void CopyFormTo(const SettingsForm& form, SettingsRecord& record) {
  for (const SettingField& setting : kSettingFields)
    StoreSettingText(record, setting, FormSettingText(form, setting));
}

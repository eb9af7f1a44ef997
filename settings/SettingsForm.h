// The settings dialog's members and which setting each one holds. The form
// keeps the sub-key it reads and writes, its lists, the selected list
// positions and the checked radio button as numbers, and the edit texts
// exactly as typed; kFormMembers binds them to the rows of kSettingFields.
#ifndef TRISPAN_SETTINGS_SETTINGSFORM_H
#define TRISPAN_SETTINGS_SETTINGSFORM_H

#include "AfxDialog.h"
#include "SettingsTable.h"

// A new form holds each number's default and empty texts.
struct SettingsForm {
  SettingsForm();

  CString m_strSubKey;
  CComboBox m_comboRound;
  int m_nRound;
  int m_nFont;
  CString m_strMTitle;
  CString m_strWidth;
  CString m_strHeight;
  CString m_strPitch;
  CString m_strPositionX;
  CString m_strPositionY;
  CComboBox m_comboFrameDim;
  int m_nFrameDim;
  CComboBox m_comboFrameChar;
  int m_nFrameChar;
  CComboBox m_comboFrameCmd;
  int m_nFrameCmd;
  CString m_strPreComment;
};

// The members that hold one setting: a list's control and number, a radio
// group's number, or an edit box's text; the others null.
struct FormMember {
  CComboBox SettingsForm::*list;
  int SettingsForm::*index;
  CString SettingsForm::*editText;
};

// One per row of kSettingFields, in its order.
inline constexpr FormMember kFormMembers[] = {
    {&SettingsForm::m_comboRound, &SettingsForm::m_nRound, nullptr},
    {nullptr, &SettingsForm::m_nFont, nullptr},
    {nullptr, nullptr, &SettingsForm::m_strMTitle},
    {nullptr, nullptr, &SettingsForm::m_strWidth},
    {nullptr, nullptr, &SettingsForm::m_strHeight},
    {nullptr, nullptr, &SettingsForm::m_strPitch},
    {nullptr, nullptr, &SettingsForm::m_strPositionX},
    {nullptr, nullptr, &SettingsForm::m_strPositionY},
    {&SettingsForm::m_comboFrameDim, &SettingsForm::m_nFrameDim, nullptr},
    {&SettingsForm::m_comboFrameChar, &SettingsForm::m_nFrameChar, nullptr},
    {&SettingsForm::m_comboFrameCmd, &SettingsForm::m_nFrameCmd, nullptr},
    {nullptr, nullptr, &SettingsForm::m_strPreComment},
};

// Each row's members fit its control: a list has a control and a number, a
// radio group a number, an edit box a text.
constexpr bool FormMembersFitTheTable() {
  if (std::size(kFormMembers) != std::size(kSettingFields)) return false;
  for (size_t i = 0; i < std::size(kSettingFields); ++i) {
    const FormMember& m = kFormMembers[i];
    bool fits = false;
    switch (kSettingFields[i].control.kind) {
    case ControlKind::List:
      fits = m.list && m.index && !m.editText;
      break;
    case ControlKind::RadioGroup:
      fits = !m.list && m.index && !m.editText;
      break;
    case ControlKind::EditBox:
      fits = !m.list && !m.index && m.editText;
      break;
    }
    if (!fits) return false;
  }
  return true;
}
static_assert(FormMembersFitTheTable(), "one form member per setting, fitting its control");

// The members of a setting.
const FormMember& MembersOf(const SettingField& setting);

// Sets a form member from a stored text: a number as _wtoi reads it, an
// edit text as it is.
void ShowSettingText(SettingsForm& form, const SettingField& setting, const CString& text);

// The text the form stores for a setting: a number in decimal, an edit text
// as it is.
CString FormSettingText(const SettingsForm& form, const SettingField& setting);

// What the form puts in force: every setting's stored text, converted into
// its record field exactly as a load of that text would.
void CopyFormTo(const SettingsForm& form, SettingsRecord& record);

#endif

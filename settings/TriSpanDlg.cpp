#include "TriSpanDlg.h"

#include "RegistryStore.h"
#include "Settings.h"

const AfxMessageEntry<TriSpanDlg> TriSpanDlg::kMessageMap[6] = {
    {CBN_SELCHANGE, IDC_ROUND, &TriSpanDlg::OnSelchangeRound},
    {BN_CLICKED, IDC_FONT_EXTERNAL, &TriSpanDlg::OnClickedFontExternal},
    {BN_CLICKED, IDC_FONT_WINDOWS, &TriSpanDlg::OnClickedFontWindows},
    {CBN_SELCHANGE, IDC_FRAME_DIM, &TriSpanDlg::OnSelchangeFrameDim},
    {CBN_SELCHANGE, IDC_FRAME_CHAR, &TriSpanDlg::OnSelchangeFrameChar},
    {CBN_SELCHANGE, IDC_FRAME_CMD, &TriSpanDlg::OnSelchangeFrameCmd},
};

TriSpanDlg::TriSpanDlg() : CDialog(IDD_SETTINGS) {}

// The lists are bound as controls only: their selections reach the numbers
// through the selection handlers.
void TriSpanDlg::DoDataExchange(CDataExchange* exchange) {
  CDialog::DoDataExchange(exchange);
  for (const SettingField& setting : kSettingFields) {
    const DialogControl& control = setting.control;
    const FormMember& members = MembersOf(setting);
    switch (control.kind) {
    case ControlKind::List:
      DDX_Control(exchange, control.id, this->*members.list);
      break;
    case ControlKind::RadioGroup:
      DDX_Radio(exchange, control.id, this->*members.index);
      break;
    case ControlKind::EditBox:
      DDX_Text(exchange, control.id, this->*members.editText);
      break;
    }
  }
}

BOOL TriSpanDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  FillLists();
  LoadFromRegistry();
  return TRUE;
}

BOOL TriSpanDlg::OnCommand(int id, UINT code) {
  return AfxDispatchCommand(this, kMessageMap, id, code);
}

void TriSpanDlg::FillLists() {
  for (const SettingField& setting : kSettingFields)
    for (int i = 0; i < setting.control.choiceCount; ++i)
      (this->*MembersOf(setting).list).AddString(setting.control.choices[i]);
}

bool TriSpanDlg::LoadFromRegistry() {
  for (const SettingField& setting : kSettingFields) {
    ShowSettingText(*this, setting, ReadSettingText(m_strSubKey, setting));
    const DialogControl& control = setting.control;
    const FormMember& members = MembersOf(setting);
    switch (control.kind) {
    case ControlKind::List:
      (this->*members.list).SetCurSel(this->*members.index);
      break;
    case ControlKind::RadioGroup:
      CheckRadioButton(m_hWnd, control.id, control.lastId,
                       this->*members.index != 0 ? control.lastId : control.id);
      break;
    case ControlKind::EditBox:
      SetDlgItemTextW(m_hWnd, control.id,
                      reinterpret_cast<LPCWSTR>((this->*members.editText).c_str()));
      break;
    }
  }
  return true;
}

bool TriSpanDlg::SaveToRegistry() {
  for (const SettingField& setting : kSettingFields)
    WriteSetting(m_strSubKey, setting.name, FormSettingText(*this, setting));
  return true;
}

void TriSpanDlg::OnSelchangeRound() { m_nRound = m_comboRound.GetCurSel(); }
void TriSpanDlg::OnClickedFontExternal() { m_nFont = 0; }
void TriSpanDlg::OnClickedFontWindows() { m_nFont = 1; }
void TriSpanDlg::OnSelchangeFrameDim() { m_nFrameDim = m_comboFrameDim.GetCurSel(); }
void TriSpanDlg::OnSelchangeFrameChar() { m_nFrameChar = m_comboFrameChar.GetCurSel(); }
void TriSpanDlg::OnSelchangeFrameCmd() { m_nFrameCmd = m_comboFrameCmd.GetCurSel(); }

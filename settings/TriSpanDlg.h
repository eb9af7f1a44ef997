// The settings dialog: shows the twelve stored settings, lets the user
// change them; on OK the width step copies them into TriSpanSettings and has
// the dialog save them.
#ifndef TRISPAN_SETTINGS_TRISPANDLG_H
#define TRISPAN_SETTINGS_TRISPANDLG_H

#include "AfxDialog.h"
#include "Settings.h"

class TriSpanDlg : public CDialog {
public:
  TriSpanDlg();

  // Shows the stored values (missing ones get their defaults written back).
  bool LoadFromRegistry();
  // Writes all twelve values: list positions and the radio index as numbers,
  // the edit texts exactly as the user left them. Always true.
  bool SaveToRegistry();
  // The dialog's values into the settings record, numbers converted.
  void CopyTo(SettingsRecord& settings) const;

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
  int m_nFrameDim = 0;
  CComboBox m_comboFrameChar;
  int m_nFrameChar = 0;
  CComboBox m_comboFrameCmd;
  int m_nFrameCmd = 0;
  CString m_strPreComment;

protected:
  void DoDataExchange(CDataExchange* exchange) override;
  BOOL OnInitDialog() override;
  BOOL OnCommand(int id, UINT code) override;

private:
  void FillLists();
  void OnSelchangeRound();
  void OnClickedFontExternal();
  void OnClickedFontWindows();
  void OnSelchangeFrameDim();
  void OnSelchangeFrameChar();
  void OnSelchangeFrameCmd();

  static const AfxMessageEntry<TriSpanDlg> kMessageMap[6];
};

#endif

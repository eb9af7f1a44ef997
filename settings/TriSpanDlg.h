// The settings dialog: shows the twelve stored settings, lets the user
// change them; on OK the width step puts them in force (CopyFormTo) and has
// the dialog save them. Its members are those of SettingsForm, each bound to
// its control as the settings table says.
#ifndef TRISPAN_SETTINGS_TRISPANDLG_H
#define TRISPAN_SETTINGS_TRISPANDLG_H

#include "AfxDialog.h"
#include "SettingsForm.h"

class TriSpanDlg : public CDialog, public SettingsForm {
public:
  TriSpanDlg();

  // Shows the stored values (missing ones get their defaults written back).
  bool LoadFromRegistry();
  // Writes all twelve values: list positions and the radio index as numbers,
  // the edit texts exactly as the user left them. Always true.
  bool SaveToRegistry();

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

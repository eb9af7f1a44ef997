#include "TriSpanDlg.h"

#include "Conversions.h"
#include "RegistryStore.h"
#include "resource.h"

#include <string>

namespace {

const char16_t* const kRoundItems[] = {u"0", u"1", u"2", u"3", u"치수값 그대로"};
const char16_t* const kFrameItems[] = {u"도형프레임으로 이동", u"표제프레임으로 이동",
                                       u"현재프레임 그대로"};
const char16_t* const kFrameCmdItems[] = {u"도형프레임으로 이동", u"표제프레임으로 이동",
                                          u"프레임 원래대로"};

template <size_t N> void Fill(CComboBox& list, const char16_t* const (&items)[N]) {
  for (const char16_t* item : items) list.AddString(item);
}

CString Decimal(int value) {
  std::string digits = std::to_string(value);
  return CString(digits.begin(), digits.end());
}

} // namespace

const AfxMessageEntry<TriSpanDlg> TriSpanDlg::kMessageMap[6] = {
    {CBN_SELCHANGE, IDC_ROUND, &TriSpanDlg::OnSelchangeRound},
    {BN_CLICKED, IDC_FONT_EXTERNAL, &TriSpanDlg::OnClickedFontExternal},
    {BN_CLICKED, IDC_FONT_WINDOWS, &TriSpanDlg::OnClickedFontWindows},
    {CBN_SELCHANGE, IDC_FRAME_DIM, &TriSpanDlg::OnSelchangeFrameDim},
    {CBN_SELCHANGE, IDC_FRAME_CHAR, &TriSpanDlg::OnSelchangeFrameChar},
    {CBN_SELCHANGE, IDC_FRAME_CMD, &TriSpanDlg::OnSelchangeFrameCmd},
};

TriSpanDlg::TriSpanDlg()
    : CDialog(IDD_SETTINGS), m_strSubKey(u"TriSpan"), m_nRound(4), m_nFont(0) {}

void TriSpanDlg::DoDataExchange(CDataExchange* exchange) {
  CDialog::DoDataExchange(exchange);
  DDX_Control(exchange, IDC_ROUND, m_comboRound);
  DDX_Radio(exchange, IDC_FONT_EXTERNAL, m_nFont);
  DDX_Text(exchange, IDC_MTITLE, m_strMTitle);
  DDX_Text(exchange, IDC_WIDTH, m_strWidth);
  DDX_Text(exchange, IDC_HEIGHT, m_strHeight);
  DDX_Text(exchange, IDC_PITCH, m_strPitch);
  DDX_Text(exchange, IDC_POSITION_X, m_strPositionX);
  DDX_Text(exchange, IDC_POSITION_Y, m_strPositionY);
  DDX_Control(exchange, IDC_FRAME_DIM, m_comboFrameDim);
  DDX_Control(exchange, IDC_FRAME_CHAR, m_comboFrameChar);
  DDX_Control(exchange, IDC_FRAME_CMD, m_comboFrameCmd);
  DDX_Text(exchange, IDC_PRE_COMMENT, m_strPreComment);
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
  Fill(m_comboRound, kRoundItems);
  Fill(m_comboFrameDim, kFrameItems);
  Fill(m_comboFrameChar, kFrameItems);
  Fill(m_comboFrameCmd, kFrameCmdItems);
}

bool TriSpanDlg::LoadFromRegistry() {
  SettingsRecord stored;
  CString texts[SETTING_COUNT];
  for (int i = 0; i < SETTING_COUNT; ++i) {
    texts[i] = ReadSettingText(m_strSubKey, kSettingFields[i]);
    StoreSettingText(stored, kSettingFields[i], texts[i]);
  }
  m_nRound = stored.Round;
  m_comboRound.SetCurSel(m_nRound);
  m_nFont = stored.Font;
  CheckRadioButton(m_hWnd, IDC_FONT_EXTERNAL, IDC_FONT_WINDOWS,
                   m_nFont != 0 ? IDC_FONT_WINDOWS : IDC_FONT_EXTERNAL);
  struct Edit {
    CString& member;
    int id;
    int field;
  };
  for (Edit edit :
       {Edit{m_strMTitle, IDC_MTITLE, 2}, Edit{m_strWidth, IDC_WIDTH, 3},
        Edit{m_strHeight, IDC_HEIGHT, 4}, Edit{m_strPitch, IDC_PITCH, 5},
        Edit{m_strPositionX, IDC_POSITION_X, 6}, Edit{m_strPositionY, IDC_POSITION_Y, 7},
        Edit{m_strPreComment, IDC_PRE_COMMENT, 11}}) {
    edit.member = texts[edit.field];
    SetDlgItemTextW(m_hWnd, edit.id, reinterpret_cast<LPCWSTR>(edit.member.c_str()));
  }
  m_nFrameDim = stored.FrameDim;
  m_comboFrameDim.SetCurSel(m_nFrameDim);
  m_nFrameChar = stored.FrameChar;
  m_comboFrameChar.SetCurSel(m_nFrameChar);
  m_nFrameCmd = stored.FrameCmd;
  m_comboFrameCmd.SetCurSel(m_nFrameCmd);
  return true;
}

bool TriSpanDlg::SaveToRegistry() {
  const CString texts[SETTING_COUNT] = {Decimal(m_nRound),    Decimal(m_nFont),
                                        m_strMTitle,          m_strWidth,
                                        m_strHeight,          m_strPitch,
                                        m_strPositionX,       m_strPositionY,
                                        Decimal(m_nFrameDim), Decimal(m_nFrameChar),
                                        Decimal(m_nFrameCmd), m_strPreComment};
  for (int i = 0; i < SETTING_COUNT; ++i)
    WriteSetting(m_strSubKey, kSettingFields[i].name, texts[i]);
  return true;
}

void TriSpanDlg::CopyTo(SettingsRecord& settings) const {
  settings.Round = m_nRound;
  settings.Font = m_nFont;
  settings.MTitle = m_strMTitle;
  settings.Width = WideToReal(m_strWidth);
  settings.Height = WideToReal(m_strHeight);
  settings.Pitch = WideToReal(m_strPitch);
  settings.positionX = WideToReal(m_strPositionX);
  settings.positionY = WideToReal(m_strPositionY);
  settings.FrameDim = m_nFrameDim;
  settings.FrameChar = m_nFrameChar;
  settings.FrameCmd = m_nFrameCmd;
  settings.PreComment = m_strPreComment;
}

void TriSpanDlg::OnSelchangeRound() { m_nRound = m_comboRound.GetCurSel(); }
void TriSpanDlg::OnClickedFontExternal() { m_nFont = 0; }
void TriSpanDlg::OnClickedFontWindows() { m_nFont = 1; }
void TriSpanDlg::OnSelchangeFrameDim() { m_nFrameDim = m_comboFrameDim.GetCurSel(); }
void TriSpanDlg::OnSelchangeFrameChar() { m_nFrameChar = m_comboFrameChar.GetCurSel(); }
void TriSpanDlg::OnSelchangeFrameCmd() { m_nFrameCmd = m_comboFrameCmd.GetCurSel(); }

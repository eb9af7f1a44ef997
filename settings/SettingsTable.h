// The twelve user settings in one table. Each row names a setting's registry
// value and default text, its field in the settings record and how the
// stored text converts into it, and its control in the settings dialog with
// the dialog member that holds it while the dialog is open. The registry
// load and save, the dialog's exchange, vekhost and the release files all
// take the settings from here.
#ifndef TRISPAN_SETTINGS_SETTINGSTABLE_H
#define TRISPAN_SETTINGS_SETTINGSTABLE_H

#include "AfxDialog.h"
#include "resource.h"

#include <cstdint>
#include <iterator>

// The settings in force, one field per registry value.
struct SettingsRecord {
  int32_t Round = 0;     // decimals in the note, 0 to 3; ROUND_AS_DIMENSION
  int32_t Font = 0;      // diameter sign: 0 U+E000, any other U+E11D
  CString MTitle;        // connector between the measures
  double Width = 0;      // character width of the note
  double Height = 0;     // character height of the note
  double Pitch = 0;      // character pitch of the note
  double positionX = 0;  // offset of a new note from the indicated point
  double positionY = 0;  //
  int32_t FrameDim = 0;  // frame policy at command start
  int32_t FrameChar = 0; // frame policy when the note step begins
  int32_t FrameCmd = 0;  // frame policy after the command
  CString PreComment;    // prefix of the note text
};

// Round: the note takes the measure texts as the pick steps built them.
const int32_t ROUND_AS_DIMENSION = 4;
// Frame policies: positions in the dialog's frame lists. Any other value
// leaves the frame (FrameCmd: returns to the frame saved at the start).
const int32_t FRAME_POLICY_FIGURE = 0;
const int32_t FRAME_POLICY_TITLE = 1;

// The settings dialog's members: the sub-key it reads and writes, its lists,
// the selected list positions and the checked radio button as numbers, and
// the edit texts exactly as typed. A new form holds each number's default
// and empty texts.
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

// How a stored text converts into the record: as _wtoi, as _wtof, or not.
enum class SettingKind { Integer, Real, Text };

// A setting's field in the record: the member of its kind, the others null.
struct RecordField {
  SettingKind kind;
  int32_t SettingsRecord::*integer;
  double SettingsRecord::*real;
  CString SettingsRecord::*text;
};

constexpr RecordField IntegerField(int32_t SettingsRecord::*field) {
  return {SettingKind::Integer, field, nullptr, nullptr};
}
constexpr RecordField RealField(double SettingsRecord::*field) {
  return {SettingKind::Real, nullptr, field, nullptr};
}
constexpr RecordField TextField(CString SettingsRecord::*field) {
  return {SettingKind::Text, nullptr, nullptr, field};
}

// The control that shows a setting: a list whose positions are the values,
// a radio group (0 checks its first button, any other value its last), or
// an edit box showing the stored text as it is.
enum class ControlKind { List, RadioGroup, EditBox };

struct DialogControl {
  ControlKind kind;
  int id;                          // the list, first radio button or edit box
  int lastId;                      // a radio group's last button
  const char16_t* const* choices;  // a list's items, in order
  int choiceCount;                 //
  CComboBox SettingsForm::*list;   // a list's control member
  int SettingsForm::*index;        // a list's or radio group's number
  CString SettingsForm::*editText; // an edit box's text
};

template <size_t N>
constexpr DialogControl ListControl(int id, const char16_t* const (&items)[N],
                                    CComboBox SettingsForm::*list, int SettingsForm::*index) {
  return {ControlKind::List, id, id, items, int(N), list, index, nullptr};
}
constexpr DialogControl RadioGroup(int firstId, int lastId, int SettingsForm::*index) {
  return {ControlKind::RadioGroup, firstId, lastId, nullptr, 0, nullptr, index, nullptr};
}
constexpr DialogControl EditBox(int id, CString SettingsForm::*text) {
  return {ControlKind::EditBox, id, id, nullptr, 0, nullptr, nullptr, text};
}

struct SettingField {
  const char16_t* name;        // registry value name
  const char16_t* defaultText; // stored when the value is missing
  RecordField field;
  DialogControl control;
};

inline constexpr const char16_t* kRoundItems[] = {u"0", u"1", u"2", u"3", u"치수값 그대로"};
inline constexpr const char16_t* kFrameItems[] = {u"도형프레임으로 이동", u"표제프레임으로 이동",
                                                  u"현재프레임 그대로"};
inline constexpr const char16_t* kFrameCmdItems[] = {u"도형프레임으로 이동", u"표제프레임으로 이동",
                                                     u"프레임 원래대로"};

// The settings in the order they are loaded, saved and exchanged with the
// dialog's controls.
inline constexpr SettingField kSettingFields[] = {
    {u"Round", u"4", IntegerField(&SettingsRecord::Round),
     ListControl(IDC_ROUND, kRoundItems, &SettingsForm::m_comboRound, &SettingsForm::m_nRound)},
    {u"Font", u"0", IntegerField(&SettingsRecord::Font),
     RadioGroup(IDC_FONT_EXTERNAL, IDC_FONT_WINDOWS, &SettingsForm::m_nFont)},
    {u"MTitle", u"X", TextField(&SettingsRecord::MTitle),
     EditBox(IDC_MTITLE, &SettingsForm::m_strMTitle)},
    {u"Width", u"4", RealField(&SettingsRecord::Width),
     EditBox(IDC_WIDTH, &SettingsForm::m_strWidth)},
    {u"Height", u"4", RealField(&SettingsRecord::Height),
     EditBox(IDC_HEIGHT, &SettingsForm::m_strHeight)},
    {u"Pitch", u"0", RealField(&SettingsRecord::Pitch),
     EditBox(IDC_PITCH, &SettingsForm::m_strPitch)},
    {u"positionX", u"1", RealField(&SettingsRecord::positionX),
     EditBox(IDC_POSITION_X, &SettingsForm::m_strPositionX)},
    {u"positionY", u"0", RealField(&SettingsRecord::positionY),
     EditBox(IDC_POSITION_Y, &SettingsForm::m_strPositionY)},
    {u"FrameDim", u"2", IntegerField(&SettingsRecord::FrameDim),
     ListControl(IDC_FRAME_DIM, kFrameItems, &SettingsForm::m_comboFrameDim,
                 &SettingsForm::m_nFrameDim)},
    {u"FrameChar", u"1", IntegerField(&SettingsRecord::FrameChar),
     ListControl(IDC_FRAME_CHAR, kFrameItems, &SettingsForm::m_comboFrameChar,
                 &SettingsForm::m_nFrameChar)},
    {u"FrameCmd", u"2", IntegerField(&SettingsRecord::FrameCmd),
     ListControl(IDC_FRAME_CMD, kFrameCmdItems, &SettingsForm::m_comboFrameCmd,
                 &SettingsForm::m_nFrameCmd)},
    {u"PreComment", u"", TextField(&SettingsRecord::PreComment),
     EditBox(IDC_PRE_COMMENT, &SettingsForm::m_strPreComment)},
};
const int SETTING_COUNT = int(std::size(kSettingFields));

// Where the settings live below HKEY_CURRENT_USER: the root, then the
// sub-key "TriSpan".
inline constexpr char16_t kSettingsRoot[] = u"SOFTWARE\\Quorvane\\VEK\\";
inline constexpr char16_t kSettingsSubKey[] = u"TriSpan";

// The setting of this registry name; null when there is none.
const SettingField* FindSetting(const CString& name);

// The setting whose dialog control has this id (a radio group: any of its
// buttons); null when none has.
const SettingField* SettingOfControl(int controlId);

// Sets a record field from its stored text, converting as its kind asks.
void StoreSettingText(SettingsRecord& record, const SettingField& field, const CString& text);

// Sets a form member from a stored text: a number as _wtoi reads it, an
// edit text as it is.
void ShowSettingText(SettingsForm& form, const SettingField& field, const CString& text);

// The text the form stores for a setting: a number in decimal, an edit text
// as it is.
CString FormSettingText(const SettingsForm& form, const SettingField& field);

// What the form puts in force: every setting's stored text, converted into
// its record field exactly as a load of that text would.
void CopyFormTo(const SettingsForm& form, SettingsRecord& record);

#endif

// The twelve user settings in one table. Each row names a setting's registry
// value and default text, its field in the settings record and how the
// stored text converts into it, and its control in the settings dialog. The
// registry load and save, the dialog (which binds its members to the rows),
// vekhost and the release files all take the settings from here.
#ifndef TRISPAN_CORE_SETTINGSTABLE_H
#define TRISPAN_CORE_SETTINGSTABLE_H

#include "CString.h"
#include "resource.h"

#include <cstddef>
#include <cstdint>
#include <iterator>

// The settings in force, one field per registry value.
struct SettingsRecord {
  int32_t Round = 0;     // decimals in the note, 0 to 3; kRoundAsDimension
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
const int32_t kRoundAsDimension = 4;
// Frame policies: positions in the dialog's frame lists. Any other value
// leaves the frame (FrameCmd: returns to the frame saved at the start).
const int32_t kFramePolicyFigure = 0;
const int32_t kFramePolicyTitle = 1;

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
  int id;                         // the list, first radio button or edit box
  int lastId;                     // a radio group's last button
  const char16_t* const* choices; // a list's items, in order
  int choiceCount;                //
};

template <size_t N> constexpr DialogControl ListControl(int id, const char16_t* const (&items)[N]) {
  return {ControlKind::List, id, id, items, int(N)};
}
constexpr DialogControl RadioGroup(int firstId, int lastId) {
  return {ControlKind::RadioGroup, firstId, lastId, nullptr, 0};
}
constexpr DialogControl EditBox(int id) { return {ControlKind::EditBox, id, id, nullptr, 0}; }

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
    {u"Round", u"4", IntegerField(&SettingsRecord::Round), ListControl(IDC_ROUND, kRoundItems)},
    {u"Font", u"0", IntegerField(&SettingsRecord::Font),
     RadioGroup(IDC_FONT_EXTERNAL, IDC_FONT_WINDOWS)},
    {u"MTitle", u"X", TextField(&SettingsRecord::MTitle), EditBox(IDC_MTITLE)},
    {u"Width", u"4", RealField(&SettingsRecord::Width), EditBox(IDC_WIDTH)},
    {u"Height", u"4", RealField(&SettingsRecord::Height), EditBox(IDC_HEIGHT)},
    {u"Pitch", u"0", RealField(&SettingsRecord::Pitch), EditBox(IDC_PITCH)},
    {u"positionX", u"1", RealField(&SettingsRecord::positionX), EditBox(IDC_POSITION_X)},
    {u"positionY", u"0", RealField(&SettingsRecord::positionY), EditBox(IDC_POSITION_Y)},
    {u"FrameDim", u"2", IntegerField(&SettingsRecord::FrameDim),
     ListControl(IDC_FRAME_DIM, kFrameItems)},
    {u"FrameChar", u"1", IntegerField(&SettingsRecord::FrameChar),
     ListControl(IDC_FRAME_CHAR, kFrameItems)},
    {u"FrameCmd", u"2", IntegerField(&SettingsRecord::FrameCmd),
     ListControl(IDC_FRAME_CMD, kFrameCmdItems)},
    {u"PreComment", u"", TextField(&SettingsRecord::PreComment), EditBox(IDC_PRE_COMMENT)},
};
const int kSettingCount = int(std::size(kSettingFields));

// Where the settings live below HKEY_CURRENT_USER: the root, then the
// sub-key "TriSpan".
inline constexpr char16_t kSettingsRoot[] = u"SOFTWARE\\Quorvane\\VEK\\";
inline constexpr char16_t kSettingsSubKey[] = u"TriSpan";

// "SOFTWARE\Quorvane\VEK\" followed by subKey: the key every settings
// path is built as.
CString MakeSettingsKey(const CString& subKey);

// The setting of this registry name; null when there is none.
const SettingField* FindSetting(const CString& name);

// The setting whose dialog control has this id (a radio group: any of its
// buttons); null when none has.
const SettingField* SettingOfControl(int controlId);

// Sets a record field from its stored text, converting as its kind asks.
void StoreSettingText(SettingsRecord& record, const SettingField& field, const CString& text);

#endif

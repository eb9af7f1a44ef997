// The twelve user settings: the process-wide record, their registry names
// and defaults, and loading them at every command start.
#ifndef TRISPAN_SETTINGS_SETTINGS_H
#define TRISPAN_SETTINGS_SETTINGS_H

#include "Afx.h"

#include <cstdint>

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

// One setting: its registry value name, default text and field, which is one
// of the three kinds of field.
struct SettingField {
  const char16_t* name;
  const char16_t* defaultText;
  int32_t SettingsRecord::*integer;
  double SettingsRecord::*real;
  CString SettingsRecord::*text;
};

// The settings in the order they are loaded and saved.
const int SETTING_COUNT = 12;
extern const SettingField kSettingFields[SETTING_COUNT];

// The stored text of a setting under subKey's settings key; when it cannot be
// read, its default, which is written back at once.
CString ReadSettingText(const CString& subKey, const SettingField& field);

// Sets a field from its stored text, converting as its kind asks.
void StoreSettingText(SettingsRecord& record, const SettingField& field, const CString& text);

// Refreshes TriSpanSettings from the registry; a missing value takes its
// default, which is written back at once. Always true.
bool LoadSettings();

extern SettingsRecord TriSpanSettings;
extern CString settingsSubKey; // "TriSpan"

#endif

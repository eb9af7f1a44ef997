// The settings in force: the process-wide record, loaded from the registry
// at every command start.
#ifndef TRISPAN_SETTINGS_SETTINGS_H
#define TRISPAN_SETTINGS_SETTINGS_H

#include "SettingsTable.h"

// The stored text of a setting under subKey's settings key; when it cannot be
// read, its default, which is written back at once.
CString ReadSettingText(const CString& subKey, const SettingField& field);

// Refreshes TriSpanSettings from the registry; a missing value takes its
// default, which is written back at once. Always true.
bool LoadSettings();

extern SettingsRecord TriSpanSettings;
extern CString settingsSubKey; // "TriSpan"

#endif

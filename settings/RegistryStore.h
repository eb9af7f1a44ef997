// Reading and writing single settings texts under HKEY_CURRENT_USER.
#ifndef TRISPAN_SETTINGS_REGISTRYSTORE_H
#define TRISPAN_SETTINGS_REGISTRYSTORE_H

#include "Afx.h"

// Reads a value as text: REG_SZ and REG_EXPAND_SZ as stored (not expanded;
// whole, up to the first NUL or the data's end), REG_DWORD as its unsigned
// decimal number. 0 when read; -1 for a key that cannot be opened or a value
// that is missing or of another type, and then value is left unchanged.
// Forward slashes in keyPath stand for backslashes.
int RegReadText(const CString& keyPath, const CString& valueName, CString& value);

// Stores value as REG_SZ with its NUL, creating the key and its parents.
// 0 when stored, -1 otherwise.
int RegWriteText(const CString& keyPath, const CString& valueName, const CString& value);

// RegWriteText into the settings key of subKey; true when stored.
bool WriteSetting(const CString& subKey, const CString& valueName, const CString& value);

#endif

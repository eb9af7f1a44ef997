// The settings as the registry keeps them, for vekhost's own lines about
// them: where they are, what they hold, which differ from the defaults; the
// reset; and, on Linux, the file that keeps the registry and what went wrong
// with it.
#ifndef TRISPAN_VEKHOST_STOREDSETTINGS_H
#define TRISPAN_VEKHOST_STOREDSETTINGS_H

#include <ostream>
#include <string>

namespace vekhost {

// The settings as stored, and their place, for --settings.
void PrintSettings(std::ostream& out);
// One line naming the stored settings that differ from the defaults, if any.
void PrintChangedSettings(std::ostream& out);
// Deletes the stored settings, so that the defaults come back at the next
// start; false when they could not be deleted.
bool ResetSettings();

// Writes the settings the plug-in changed to where they are kept; false when
// they could not be written (counted, and said by SaveError).
bool FlushSettings();
// How many times the settings could not be stored, and why the last time
// ("" on Windows, where the registry says nothing of it).
int FailedSaves();
std::string SaveError();

#ifndef _WIN32
// Keeps the registry in this file from now on.
void UseSettingsFile(const std::string& path);
// Why the settings file cannot be read; "" when it can (or does not exist).
std::string SettingsFileError();
// Keeps the unreadable settings file as FILE.bak (FILE.bak.2, ... when that
// is taken) and starts from an empty registry; the backup's name. Throws
// Failure when it cannot be moved.
std::string SetBrokenSettingsAside();
#endif

} // namespace vekhost

#endif

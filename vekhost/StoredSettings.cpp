#include "StoredSettings.h"

#include "Conversions.h"
#include "Exit.h"
#include "Language.h"
#include "Script.h"
#include "SettingsTable.h"
#include "Utf.h"

#include <windows.h>
#ifndef _WIN32
#include "WinStub.h"
#endif

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <optional>
#include <sstream>
#include <vector>

namespace vekhost {

namespace {

const std::u16string kSettingsKey = MakeSettingsKey(kSettingsSubKey);

LPCWSTR Wide(const char16_t* text) { return reinterpret_cast<LPCWSTR>(text); }

// A stored setting as a person reads it: "text" in quotes, a number, or
// what else it is, and its text when it is a REG_SZ; false when it is missing.
bool StoredSetting(HKEY key, const char16_t* name, std::string& shown,
                   std::optional<std::u16string>& text) {
  DWORD type = 0, size = 0;
  if (RegQueryValueExW(key, Wide(name), nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
    return false;
  // Whole units for the data, and one more that stays NUL: a text of odd
  // length or without its NUL ends there.
  std::vector<char16_t> data((size + 1) / 2 + 1, 0);
  DWORD got = DWORD((data.size() - 1) * sizeof(char16_t));
  if (RegQueryValueExW(key, Wide(name), nullptr, &type, reinterpret_cast<BYTE*>(data.data()),
                       &got) != ERROR_SUCCESS)
    got = 0;
  uint32_t number = 0;
  std::memcpy(&number, data.data(), std::min<size_t>(got, sizeof number));
  std::u16string stored(data.data());
  if (type == REG_SZ) text = stored;
  if (type == REG_DWORD)
    shown = Fill(Tr("{} (a number)"), {std::to_string(number)});
  else if (type == REG_SZ || type == REG_EXPAND_SZ)
    shown = "\"" + utf::ToUtf8(stored) + "\"";
  else
    shown = Fill(Tr("(of type {}: the default is used)"), {std::to_string(type)});
  return true;
}

bool IsCharacterSize(const SettingField& setting) {
  return setting.field.real == &SettingsRecord::Width ||
         setting.field.real == &SettingsRecord::Height;
}

// What a stored text means to the plug-in, as its dialog control shows it.
std::string SettingMeaning(const SettingField& setting, const std::u16string& text) {
  const DialogControl& control = setting.control;
  if (control.kind == ControlKind::List) {
    int32_t position = WideToInt(text);
    if (position < 0 || position >= control.choiceCount)
      return Fill(Tr("no item of the list, which has 0 to {}"),
                  {std::to_string(control.choiceCount - 1)});
    return Fill(Tr("the list's \"{}\""), {utf::ToUtf8(control.choices[position])});
  }
  if (control.kind == ControlKind::RadioGroup)
    return Fill(Tr("the {} button"),
                {DialogControlName(WideToInt(text) == 0 ? control.id : control.lastId)});
  if (setting.field.kind != SettingKind::Real) return "";
  double value = WideToReal(text);
  std::ostringstream number;
  number.precision(15);
  number << value;
  bool unseen = IsCharacterSize(setting) && value <= 0;
  return Fill(Tr(unseen ? "read as {}: notes of no size, which no one sees" : "read as {}"),
              {number.str()});
}

// The names of the key's values that no setting has (a misspelt name, say).
std::vector<std::string> UnknownValueNames(HKEY key) {
  std::vector<std::string> unknown;
  for (DWORD index = 0;; ++index) {
    char16_t name[256] = {};
    DWORD units = DWORD(std::size(name));
    if (RegEnumValueW(key, index, reinterpret_cast<LPWSTR>(name), &units, nullptr, nullptr, nullptr,
                      nullptr) != ERROR_SUCCESS)
      break;
    if (!FindSetting(name)) unknown.push_back(utf::ToUtf8(name));
  }
  return unknown;
}

} // namespace

bool FlushSettings() {
#ifdef _WIN32
  return RegFlushKey(HKEY_CURRENT_USER) == ERROR_SUCCESS;
#else
  return WinStubFlushRegistry();
#endif
}

int FailedSaves() {
#ifdef _WIN32
  return 0;
#else
  return WinStubFailedSaves();
#endif
}

std::string SaveError() {
#ifdef _WIN32
  return "";
#else
  return WinStubSaveError();
#endif
}

#ifndef _WIN32
void UseSettingsFile(const std::string& path) { WinStubSetRegistryFile(path.c_str()); }

std::string SettingsFileError() { return WinStubRegistryError(); }

std::string SetBrokenSettingsAside() {
  std::string file = WinStubRegistryFile(), backup = file + ".bak";
  std::error_code code;
  for (int n = 2; std::filesystem::exists(backup, code); ++n)
    backup = file + ".bak." + std::to_string(n);
  std::filesystem::rename(file, backup, code);
  if (code)
    Fail(Fill(Tr("{}: cannot be moved aside: {}"), {file, code.message()}), kExitNotWritten);
  WinStubSetRegistryFile(file.c_str());
  return backup;
}
#endif

void PrintSettings(std::ostream& out) {
#ifdef _WIN32
  out << Tr("settings:") << " HKEY_CURRENT_USER\\" << utf::ToUtf8(kSettingsKey) << "\n";
#else
  out << Tr("settings:") << " "
      << Fill(Tr("HKEY_CURRENT_USER\\{} in {}"), {utf::ToUtf8(kSettingsKey), WinStubRegistryFile()})
      << "\n";
#endif
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, Wide(kSettingsKey.c_str()), 0, KEY_READ, &key) !=
      ERROR_SUCCESS) {
    out << "  " << Tr("none stored yet: the first command start writes the defaults") << "\n";
    return;
  }
  for (const SettingField& setting : kSettingFields) {
    std::string shown;
    std::optional<std::u16string> text;
    out << "  " << utf::ToUtf8(setting.name) << " = "
        << (StoredSetting(key, setting.name, shown, text) ? shown : Tr("(missing)"));
    std::string meaning = text ? SettingMeaning(setting, *text) : "";
    out << (meaning.empty() ? "" : "  (" + meaning + ")") << "\n";
  }
  for (const std::string& name : UnknownValueNames(key))
    out << "  "
        << Fill(Tr("\"{}\": no setting has this name; the plug-in does not read it"), {name})
        << "\n";
  RegCloseKey(key);
}

void PrintChangedSettings(std::ostream& out) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, Wide(kSettingsKey.c_str()), 0, KEY_READ, &key) !=
      ERROR_SUCCESS)
    return;
  std::string changed;
  for (const SettingField& setting : kSettingFields) {
    std::string shown;
    std::optional<std::u16string> text;
    if (!StoredSetting(key, setting.name, shown, text) || text == setting.defaultText) continue;
    if (text && IsCharacterSize(setting) && WideToReal(*text) <= 0)
      out << Fill(Tr("warning: the stored {} {} gives notes of no size, which no one sees (the "
                     "dialog's 치수문자 크기)"),
                  {utf::ToUtf8(setting.name), shown})
          << "\n";
    if (!changed.empty()) changed += ", ";
    changed += utf::ToUtf8(setting.name);
    changed += " " + shown;
  }
  std::vector<std::string> unknown = UnknownValueNames(key);
  RegCloseKey(key);
  for (const std::string& name : unknown)
    out << Fill(Tr("warning: the settings hold \"{}\", which no setting is named: a misspelling? "
                   "(vekhost --settings lists them)"),
                {name})
        << "\n";
  if (!changed.empty())
    out << Fill(Tr("settings other than the defaults: {} (vekhost --reset-settings brings the "
                   "defaults back)"),
                {changed})
        << "\n";
}

bool ResetSettings() {
  LONG status = RegDeleteTreeW(HKEY_CURRENT_USER, Wide(kSettingsKey.c_str()));
  return (status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND) && FlushSettings();
}

} // namespace vekhost

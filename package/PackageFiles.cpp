// Writes the release's files that come from the settings table and the
// project version into the folder it is given:
// - in regedit's own encoding (UTF-16LE with a byte-order mark, CRLF line
//   ends): TriSpan-defaults.reg, every setting with its default, and
//   TriSpan-reset.reg, which deletes the settings key so that the next
//   command start writes the defaults;
// - the guides, from their templates: @VERSION@ becomes the version and
//   @DEFAULT:Name@ the default text of the setting Name.
//   package-files FOLDER VERSION [GUIDE.html...]
#include "Files.h"
#include "RegFile.h"
#include "SettingsTable.h"
#include "Utf.h"

#include <cstdio>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <string>
#include <utility>

namespace {

const std::u16string kSettingsKey = u"HKEY_CURRENT_USER\\" + MakeSettingsKey(kSettingsSubKey);

// A regedit file of these lines, as its bytes.
std::string RegFile(std::initializer_list<std::u16string> lines) {
  std::u16string body;
  for (const std::u16string& line : lines) body += line + u"\r\n";
  return regfile::EncodeRegFile(body + u"\r\n");
}

std::string DefaultsRegFile() {
  std::u16string values;
  for (const SettingField& setting : kSettingFields)
    values += regfile::QuoteRegText(setting.name) + u"=" +
              regfile::QuoteRegText(setting.defaultText) + u"\r\n";
  values.resize(values.size() - 2);
  return RegFile({u"; TriSpan's settings with their defaults. Importing this file (double-click,",
                  u"; or regedit /s TriSpan-defaults.reg) sets them back for the current user.",
                  u"[" + kSettingsKey + u"]", values});
}

std::string ResetRegFile() {
  return RegFile({u"; Importing this file (double-click, or regedit /s TriSpan-reset.reg) deletes",
                  u"; TriSpan's settings for the current user; the next start of the command",
                  u"; writes the defaults again.", u"[-" + kSettingsKey + u"]"});
}

// Writes the bytes whole; false, said, when it cannot.
bool WriteBytes(const std::string& path, const std::string& bytes) {
  files::Status status = files::WriteWhole(files::RealFiles(), path, bytes);
  if (!status.ok()) std::fprintf(stderr, "package-files: %s\n", status.why().c_str());
  return status.ok();
}

// The template with its placeholders filled in; false with the first
// placeholder it does not know.
bool FillTemplate(std::string text, const std::string& version, std::string& filled,
                  std::string& unknown) {
  filled.clear();
  for (size_t at; (at = text.find('@')) != std::string::npos;) {
    size_t end = text.find('@', at + 1);
    if (end == std::string::npos) break;
    std::string name = text.substr(at + 1, end - at - 1);
    std::string value;
    if (name == "VERSION") {
      value = version;
    } else if (name.rfind("DEFAULT:", 0) == 0) {
      const SettingField* setting = FindSetting(utf::ToUtf16(name.substr(8)));
      if (!setting) return unknown = name, false;
      value = utf::ToUtf8(setting->defaultText);
    } else {
      return unknown = name, false;
    }
    filled += text.substr(0, at) + value;
    text.erase(0, end + 1);
  }
  filled += text;
  return true;
}

bool WriteGuide(const std::string& folder, const std::string& templatePath,
                const std::string& version) {
  std::ifstream in(templatePath, std::ios::binary);
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (!in)
    return std::fprintf(stderr, "package-files: cannot read %s\n", templatePath.c_str()), false;
  std::string filled, unknown;
  if (!FillTemplate(text, version, filled, unknown)) {
    std::fprintf(stderr, "package-files: %s: unknown placeholder @%s@\n", templatePath.c_str(),
                 unknown.c_str());
    return false;
  }
  std::string path = folder + "/" + templatePath.substr(templatePath.find_last_of('/') + 1);
  return WriteBytes(path, filled);
}

} // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: package-files FOLDER VERSION [GUIDE.html...]\n");
    return 2;
  }
  std::pair<const char*, std::string> files[] = {{"TriSpan-defaults.reg", DefaultsRegFile()},
                                                 {"TriSpan-reset.reg", ResetRegFile()}};
  for (const auto& [name, text] : files) {
    std::string path = std::string(argv[1]) + "/" + name;
    if (!WriteBytes(path, text)) return 1;
  }
  for (int i = 3; i < argc; ++i)
    if (!WriteGuide(argv[1], argv[i], argv[2])) return 1;
  return 0;
}

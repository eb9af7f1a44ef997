// Writes the release's files that come from the settings table into the
// folder it is given: TriSpan-defaults.reg, the twelve settings with their
// defaults in regedit's own encoding (UTF-16LE with a byte-order mark, CRLF
// line ends).
#include "SettingsTable.h"

#include <cstdio>
#include <fstream>
#include <string>

namespace {

// A text as a quoted regedit string: backslashes and quotes escaped.
std::u16string Quoted(const std::u16string& text) {
  std::u16string quoted = u"\"";
  for (char16_t c : text) {
    if (c == u'\\' || c == u'"') quoted += u'\\';
    quoted += c;
  }
  return quoted + u"\"";
}

std::u16string DefaultsRegFile() {
  std::u16string lines[] = {
      u"Windows Registry Editor Version 5.00",
      u"",
      u"; TriSpan's settings with their defaults. Importing this file (double-click,",
      u"; or regedit /s TriSpan-defaults.reg) sets them back for the current user.",
      u"[HKEY_CURRENT_USER\\" + std::u16string(kSettingsRoot) + kSettingsSubKey + u"]",
  };
  std::u16string file;
  for (const std::u16string& line : lines) file += line + u"\r\n";
  for (const SettingField& setting : kSettingFields)
    file += Quoted(setting.name) + u"=" + Quoted(setting.defaultText) + u"\r\n";
  return file + u"\r\n";
}

// Writes the text as UTF-16LE with a byte-order mark; false when it cannot.
bool WriteUtf16File(const std::string& path, const std::u16string& text) {
  std::ofstream out(path, std::ios::binary);
  out.write("\xff\xfe", 2);
  for (char16_t unit : text) {
    char bytes[] = {char(unit & 0xff), char(unit >> 8)};
    out.write(bytes, 2);
  }
  out.close();
  return bool(out);
}

} // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: package-files FOLDER\n");
    return 2;
  }
  std::string path = std::string(argv[1]) + "/TriSpan-defaults.reg";
  if (!WriteUtf16File(path, DefaultsRegFile())) {
    std::fprintf(stderr, "package-files: cannot write %s\n", path.c_str());
    return 1;
  }
  return 0;
}

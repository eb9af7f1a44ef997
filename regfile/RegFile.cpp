// Reads and writes the registry export format ("Windows Registry Editor
// Version 5.00"): UTF-16LE with a byte-order mark and CRLF line ends on
// output; UTF-16 or UTF-8 on input, and the older "REGEDIT4" files in the
// Korean Windows code page, as regedit on a Korean Windows reads them. Texts that are clean REG_SZ
// values are written as "text"; everything else as hex(type): bytes, so that any data, odd lengths
// and missing NULs included, survives the round trip.
#include "RegFile.h"

#include "TextFile.h"
#include "Utf.h"

#include <cstdio>
#include <optional>

namespace regfile {

namespace {

const char16_t kHeader[] = u"Windows Registry Editor Version 5.00";
const char16_t kOldHeader[] = u"REGEDIT4";
const char16_t kRoot[] = u"HKEY_CURRENT_USER";

// The file's text: a REGEDIT4 file in the Korean Windows code page unless it
// is valid UTF-8; any other as a text file. Nothing, and why, for bytes in
// no encoding regedit writes.
std::optional<std::u16string> DecodeFile(const std::string& bytes, std::string& why) {
  std::string_view plain(bytes);
  if (plain.substr(0, 3) == "\xEF\xBB\xBF") plain.remove_prefix(3);
  if (plain.substr(0, 8) == "REGEDIT4" && !utf::IsValidUtf8(plain)) {
    std::optional<std::string> text = utf::FromCodePage949(plain);
    if (!text) why = "a REGEDIT4 file that is neither UTF-8 nor in the Korean code page (949)";
    return text ? std::optional(utf::ToUtf16(*text)) : std::nullopt;
  }
  utf::Refusal refusal;
  std::optional<std::string> text = utf::DecodeTextFile(bytes, refusal);
  if (!text) why = utf::RefusalText(refusal);
  return text ? std::optional(utf::ToUtf16(*text)) : std::nullopt;
}

bool IsBlank(const std::u16string& line) {
  return line.find_first_not_of(u" \t\r\f\v") == std::u16string::npos;
}

// Splits into lines and joins the continuation lines of hex data.
std::vector<std::u16string> LogicalLines(const std::u16string& text) {
  std::vector<std::u16string> lines;
  std::u16string line;
  bool continues = false;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find(u'\n', start);
    if (end == std::u16string::npos) end = text.size();
    std::u16string part = text.substr(start, end - start);
    start = end + 1;
    while (!part.empty() && (part.back() == u'\r' || part.back() == u' ')) part.pop_back();
    if (continues) {
      size_t first = part.find_first_not_of(u" \t");
      line += first == std::u16string::npos ? u"" : part.substr(first);
    } else {
      line = part;
    }
    continues = !line.empty() && line.back() == u'\\' && line.find(u"=hex") != std::u16string::npos;
    if (continues) {
      line.pop_back();
      continue;
    }
    lines.push_back(line);
  }
  return lines;
}

// Reads a quoted text at pos (just after the opening quote), undoing \\ and
// \"; leaves pos after the closing quote.
bool ReadQuoted(const std::u16string& line, size_t& pos, std::u16string& out) {
  out.clear();
  while (pos < line.size()) {
    char16_t c = line[pos++];
    if (c == u'"') return true;
    if (c == u'\\' && pos < line.size()) c = line[pos++];
    out.push_back(c);
  }
  return false;
}

int HexDigit(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  return -1;
}

bool ReadHexBytes(const std::u16string& text, std::vector<uint8_t>& out) {
  out.clear();
  size_t pos = 0;
  while (pos < text.size()) {
    while (pos < text.size() && (text[pos] == u' ' || text[pos] == u'\t')) ++pos;
    if (pos >= text.size()) break;
    int hi = HexDigit(text[pos]);
    int lo = pos + 1 < text.size() ? HexDigit(text[pos + 1]) : -1;
    if (hi < 0 || lo < 0) return false;
    out.push_back(uint8_t(hi << 4 | lo));
    pos += 2;
    while (pos < text.size() && text[pos] == u' ') ++pos;
    if (pos < text.size() && text[pos++] != u',') return false;
  }
  return true;
}

bool ReadData(const std::u16string& data, RegValue& value) {
  if (!data.empty() && data[0] == u'"') {
    size_t pos = 1;
    std::u16string text;
    if (!ReadQuoted(data, pos, text) || pos != data.size()) return false;
    value.type = 1; // REG_SZ
    value.data.clear();
    for (char16_t c : text) {
      value.data.push_back(uint8_t(c));
      value.data.push_back(uint8_t(c >> 8));
    }
    value.data.push_back(0);
    value.data.push_back(0);
    return true;
  }
  if (data.compare(0, 6, u"dword:") == 0 && data.size() == 14) {
    uint32_t n = 0;
    for (size_t i = 6; i < 14; ++i) {
      int d = HexDigit(data[i]);
      if (d < 0) return false;
      n = n << 4 | uint32_t(d);
    }
    value.type = 4; // REG_DWORD
    value.data = {uint8_t(n), uint8_t(n >> 8), uint8_t(n >> 16), uint8_t(n >> 24)};
    return true;
  }
  size_t colon = data.find(u':');
  if (data.compare(0, 3, u"hex") != 0 || colon == std::u16string::npos) return false;
  value.type = 3; // REG_BINARY
  if (colon != 3) {
    if (data[3] != u'(' || data[colon - 1] != u')' || colon - 1 <= 4) return false;
    uint32_t type = 0;
    for (size_t i = 4; i < colon - 1; ++i) {
      int d = HexDigit(data[i]);
      if (d < 0 || i > 11) return false;
      type = type << 4 | uint32_t(d);
    }
    value.type = type;
  }
  return ReadHexBytes(data.substr(colon + 1), value.data);
}

std::shared_ptr<RegKey> OpenPath(RegKey& root, const std::u16string& path, bool create) {
  std::shared_ptr<RegKey> key(&root, [](RegKey*) {});
  size_t start = 0;
  while (start < path.size()) {
    size_t end = path.find(u'\\', start);
    if (end == std::u16string::npos) end = path.size();
    std::u16string part = path.substr(start, end - start);
    start = end + 1;
    if (part.empty()) continue;
    auto sub = key->FindSubkey(part);
    if (!sub) {
      if (!create) return nullptr;
      sub = std::make_shared<RegKey>();
      sub->name = part;
      key->subkeys.push_back(sub);
    }
    key = sub;
  }
  return key;
}

bool Fail(std::string& error, size_t lineNumber, const char* what, const std::u16string& line) {
  error = std::to_string(lineNumber) + ": " + what + ": " + utf::ToUtf8(line);
  return false;
}

// True when the data is a text ending in its only NUL and free of line breaks:
// such a value can be written as "text".
bool IsPlainText(const RegValue& value) {
  if (value.type != 1 || value.data.size() < 2 || value.data.size() % 2 != 0) return false;
  size_t units = value.data.size() / 2;
  for (size_t i = 0; i < units; ++i) {
    char16_t c = char16_t(value.data[2 * i] | value.data[2 * i + 1] << 8);
    if ((c == 0) != (i == units - 1) || c == u'\r' || c == u'\n') return false;
  }
  return true;
}

std::u16string Ascii(const std::string& text) { return std::u16string(text.begin(), text.end()); }

std::u16string FormatData(const RegValue& value, size_t prefixLength) {
  if (IsPlainText(value)) {
    std::u16string text;
    for (size_t i = 0; i + 2 < value.data.size(); i += 2)
      text.push_back(char16_t(value.data[i] | value.data[i + 1] << 8));
    return QuoteRegText(text);
  }
  char buffer[32];
  if (value.type == 4 && value.data.size() == 4) {
    uint32_t n =
        value.data[0] | value.data[1] << 8 | value.data[2] << 16 | uint32_t(value.data[3]) << 24;
    std::snprintf(buffer, sizeof buffer, "dword:%08x", n);
    return Ascii(buffer);
  }
  if (value.type == 3)
    std::snprintf(buffer, sizeof buffer, "hex:");
  else
    std::snprintf(buffer, sizeof buffer, "hex(%x):", value.type);
  std::u16string out = Ascii(buffer);
  size_t column = prefixLength + out.size();
  for (size_t i = 0; i < value.data.size(); ++i) {
    std::snprintf(buffer, sizeof buffer, "%02x", value.data[i]);
    out += Ascii(buffer);
    column += 2;
    if (i + 1 < value.data.size()) {
      out += u",";
      ++column;
      if (column > 76) { // wrapped as regedit does
        out += u"\\\r\n  ";
        column = 2;
      }
    }
  }
  return out;
}

void WriteKey(const RegKey& key, const std::u16string& path, std::u16string& out) {
  if (path != kRoot || !key.values.empty()) {
    out += u"[" + path + u"]\r\n";
    for (const RegValue& value : key.values) {
      std::u16string name = value.name.empty() ? u"@" : QuoteRegText(value.name);
      out += name + u"=" + FormatData(value, name.size() + 1) + u"\r\n";
    }
    out += u"\r\n";
  }
  for (const auto& sub : key.subkeys) WriteKey(*sub, path + u"\\" + sub->name, out);
}

} // namespace

bool SameName(const std::u16string& a, const std::u16string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char16_t x = a[i] >= u'a' && a[i] <= u'z' ? a[i] - 32 : a[i];
    char16_t y = b[i] >= u'a' && b[i] <= u'z' ? b[i] - 32 : b[i];
    if (x != y) return false;
  }
  return true;
}

std::shared_ptr<RegKey> RegKey::FindSubkey(const std::u16string& subName) const {
  for (const auto& sub : subkeys)
    if (SameName(sub->name, subName)) return sub;
  return nullptr;
}

RegValue* RegKey::FindValue(const std::u16string& valueName) {
  for (RegValue& value : values)
    if (SameName(value.name, valueName)) return &value;
  return nullptr;
}

std::u16string QuoteRegText(const std::u16string& text) {
  std::u16string out = u"\"";
  for (char16_t c : text) {
    if (c == u'\\' || c == u'"') out.push_back(u'\\');
    out.push_back(c);
  }
  return out + u"\"";
}

bool ParseRegFile(const std::string& bytes, RegKey& root, std::string& error) {
  std::string why;
  std::optional<std::u16string> text = DecodeFile(bytes, why);
  if (!text) {
    error = "1: " + why;
    return false;
  }
  std::vector<std::u16string> lines = LogicalLines(*text);
  size_t n = 0;
  while (n < lines.size() && IsBlank(lines[n])) ++n;
  if (n == lines.size()) return true; // nothing but blanks: an empty registry
  if (lines[n] != kHeader && lines[n] != kOldHeader)
    return Fail(error, n + 1, "expected the header", lines[n]);
  std::shared_ptr<RegKey> key;
  for (++n; n < lines.size(); ++n) {
    const std::u16string& line = lines[n];
    if (line.empty() || line[0] == u';') continue;
    if (line[0] == u'[') {
      if (line.back() != u']') return Fail(error, n + 1, "unclosed key name", line);
      bool remove = line.size() > 1 && line[1] == u'-';
      std::u16string path = line.substr(remove ? 2 : 1, line.size() - (remove ? 3 : 2));
      std::u16string rootName = path.substr(0, path.find(u'\\'));
      if (!SameName(rootName, kRoot))
        return Fail(error, n + 1, "only HKEY_CURRENT_USER is kept", line);
      std::u16string below = path.substr(rootName.size());
      if (remove) {
        size_t cut = below.rfind(u'\\');
        auto parent = OpenPath(root, below.substr(0, cut == std::u16string::npos ? 0 : cut), false);
        std::u16string leaf = below.substr(cut == std::u16string::npos ? 0 : cut + 1);
        if (parent)
          for (size_t i = 0; i < parent->subkeys.size(); ++i)
            if (SameName(parent->subkeys[i]->name, leaf))
              parent->subkeys.erase(parent->subkeys.begin() + i);
        key = nullptr;
      } else {
        key = OpenPath(root, below, true);
      }
      continue;
    }
    if (!key) return Fail(error, n + 1, "value outside a key", line);
    RegValue value;
    size_t pos;
    if (line[0] == u'@') {
      pos = 1;
    } else if (line[0] == u'"') {
      pos = 1;
      if (!ReadQuoted(line, pos, value.name))
        return Fail(error, n + 1, "unclosed value name", line);
    } else {
      return Fail(error, n + 1, "expected a value", line);
    }
    if (pos >= line.size() || line[pos] != u'=') return Fail(error, n + 1, "expected =", line);
    std::u16string data = line.substr(pos + 1);
    if (data == u"-") {
      for (size_t i = 0; i < key->values.size(); ++i)
        if (SameName(key->values[i].name, value.name)) key->values.erase(key->values.begin() + i);
      continue;
    }
    if (!ReadData(data, value)) return Fail(error, n + 1, "unreadable data", line);
    if (RegValue* old = key->FindValue(value.name))
      *old = value;
    else
      key->values.push_back(value);
  }
  return true;
}

std::string EncodeRegFile(const std::u16string& body) {
  std::u16string text = std::u16string(kHeader) + u"\r\n\r\n" + body;
  std::string bytes = "\xFF\xFE";
  for (char16_t c : text) {
    bytes.push_back(char(c & 0xFF));
    bytes.push_back(char(c >> 8));
  }
  return bytes;
}

std::string WriteRegFile(const RegKey& root) {
  std::u16string body;
  WriteKey(root, kRoot, body);
  return EncodeRegFile(body);
}

} // namespace regfile

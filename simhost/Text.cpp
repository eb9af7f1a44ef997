// UTF-16 and UTF-8, and the forms in which the journal writes values.
#include "SimState.h"

#include <cstdio>
#include <cstdlib>

namespace sim {

std::string Utf8(const std::u16string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    uint32_t c = text[i];
    if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] < 0xE000)
      c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
    if (c < 0x80) {
      out.push_back(char(c));
    } else if (c < 0x800) {
      out.push_back(char(0xC0 | c >> 6));
      out.push_back(char(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
      out.push_back(char(0xE0 | c >> 12));
      out.push_back(char(0x80 | (c >> 6 & 0x3F)));
      out.push_back(char(0x80 | (c & 0x3F)));
    } else {
      out.push_back(char(0xF0 | c >> 18));
      out.push_back(char(0x80 | (c >> 12 & 0x3F)));
      out.push_back(char(0x80 | (c >> 6 & 0x3F)));
      out.push_back(char(0x80 | (c & 0x3F)));
    }
  }
  return out;
}

std::u16string Utf16(const char* text) {
  std::u16string out;
  if (!text) return out;
  const unsigned char* p = reinterpret_cast<const unsigned char*>(text);
  while (*p) {
    uint32_t c = *p++;
    int extra = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : 0;
    if (extra) c &= 0x3F >> extra;
    for (; extra > 0 && (*p & 0xC0) == 0x80; --extra) c = c << 6 | (*p++ & 0x3F);
    if (c >= 0x10000) {
      out.push_back(char16_t(0xD800 + ((c - 0x10000) >> 10)));
      out.push_back(char16_t(0xDC00 + ((c - 0x10000) & 0x3FF)));
    } else {
      out.push_back(char16_t(c));
    }
  }
  return out;
}

std::string Quote(const VekChar* text) {
  if (!text) return "null";
  std::u16string plain;
  std::string out = "\"";
  for (const VekChar* p = text; *p; ++p) {
    bool hidden = *p < 0x20 || *p == 0x7F || (*p >= 0xE000 && *p < 0xF900);
    if (!hidden && *p != u'"' && *p != u'\\') {
      plain.push_back(*p);
      continue;
    }
    out += Utf8(plain);
    plain.clear();
    char escape[8];
    if (hidden)
      std::snprintf(escape, sizeof escape, "\\u%04x", unsigned(*p));
    else
      std::snprintf(escape, sizeof escape, "\\%c", char(*p));
    out += escape;
  }
  return out + Utf8(plain) + "\"";
}

// The shortest form that reads back as the same double.
std::string Number(double value) {
  char buffer[40];
  for (int digits = 15; digits <= 17; ++digits) {
    std::snprintf(buffer, sizeof buffer, "%.*g", digits, value);
    if (std::strtod(buffer, nullptr) == value) break;
  }
  return buffer;
}

std::string Hex(uint32_t value) {
  if (value == 0) return "0";
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "0x%x", value);
  return buffer;
}

std::string CallbackName(const void* callback, const char* role) {
  if (!callback) return "null";
  Host& h = State();
  auto it = h.callbackNames.find(callback);
  if (it != h.callbackNames.end()) return it->second;
  std::string name = role;
  bool numbered = name == "exec" || name == "ready" || name == "compare";
  if (numbered) name += "#" + std::to_string(++h.callbackCounts[role]);
  return h.callbackNames[callback] = name;
}

} // namespace sim

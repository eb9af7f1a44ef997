// UTF-16 and UTF-8, and the forms in which the journal writes values.
#include "SimState.h"

#include "Utf.h"

#include <cstdio>
#include <cstdlib>

namespace sim {

std::string Utf8(const std::u16string& text) { return utf::ToUtf8(text); }

std::u16string Utf16(const char* text) { return text ? utf::ToUtf16(text) : std::u16string(); }

std::string Quote(const VekChar* text) {
  if (!text) return "null";
  std::u16string plain;
  std::string out = "\"";
  for (const VekChar* p = text; *p; ++p) {
    bool hidden = *p < 0x20 || *p == 0x7F || utf::IsPrivateUse(*p);
    if (!hidden && *p != u'"' && *p != u'\\') {
      plain.push_back(*p);
      continue;
    }
    out += Utf8(plain);
    plain.clear();
    out += hidden ? utf::UnicodeEscape(*p) : std::string{'\\', char(*p)};
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

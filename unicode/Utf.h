// UTF-8 and UTF-16 for the tools (the simulated host, the registry stand-in,
// vekhost): whole code points, surrogate pairs for those beyond U+FFFF, and
// U+FFFD for whatever is not valid text.
#ifndef TRISPAN_UNICODE_UTF_H
#define TRISPAN_UNICODE_UTF_H

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

namespace utf {

const char16_t kReplacement = 0xFFFD;

// The length of the UTF-8 sequence a byte begins; 0 for a byte that begins
// none (a continuation byte, or one no valid sequence starts with).
constexpr size_t SequenceLength(unsigned char lead) {
  return lead < 0x80   ? 1
         : lead < 0xC2 ? 0
         : lead < 0xE0 ? 2
         : lead < 0xF0 ? 3
         : lead < 0xF5 ? 4
                       : 0;
}

// A byte that begins no sequence, a sequence cut short, an overlong form, a
// surrogate or a value beyond U+10FFFF each become one U+FFFD.
inline std::u16string ToUtf16(std::string_view utf8) {
  std::u16string out;
  for (size_t i = 0; i < utf8.size();) {
    unsigned char lead = utf8[i];
    size_t length = SequenceLength(lead);
    if (length == 0) {
      out.push_back(kReplacement);
      ++i;
      continue;
    }
    uint32_t c = length == 1 ? lead : lead & (0xFF >> (length + 1));
    size_t taken = 1;
    for (; taken < length && i + taken < utf8.size() && (utf8[i + taken] & 0xC0) == 0x80; ++taken)
      c = c << 6 | (utf8[i + taken] & 0x3F);
    i += taken;
    const uint32_t smallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (taken < length || c < smallest[length] || c > 0x10FFFF || (c >= 0xD800 && c < 0xE000)) {
      out.push_back(kReplacement);
    } else if (c >= 0x10000) {
      out.push_back(char16_t(0xD800 + ((c - 0x10000) >> 10)));
      out.push_back(char16_t(0xDC00 + ((c - 0x10000) & 0x3FF)));
    } else {
      out.push_back(char16_t(c));
    }
  }
  return out;
}

// The characters of a text by their width: wide ones (CJK and after, from
// U+2E80 on) take a square, the others about half of one.
struct CharacterWidths {
  size_t wide = 0, narrow = 0;
};

// A surrogate pair becomes one four-byte sequence; a lone surrogate, U+FFFD.
inline std::string ToUtf8(std::u16string_view utf16) {
  std::string out;
  for (size_t i = 0; i < utf16.size(); ++i) {
    uint32_t c = utf16[i];
    bool high = c >= 0xD800 && c < 0xDC00;
    if (high && i + 1 < utf16.size() && utf16[i + 1] >= 0xDC00 && utf16[i + 1] < 0xE000)
      c = 0x10000 + ((c - 0xD800) << 10) + (utf16[++i] - 0xDC00);
    else if (c >= 0xD800 && c < 0xE000)
      c = kReplacement;
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

// The private-use area of the basic plane (U+E000 to U+F8FF), where notes
// keep their diameter signs: no font shows these characters, so texts for
// people and JSON files write them escaped.
constexpr bool IsPrivateUse(char32_t c) { return c >= 0xE000 && c <= 0xF8FF; }

// A unit as the escape \uXXXX (lower-case hexadecimal), as JSON writes it.
inline std::string UnicodeEscape(char16_t unit) {
  char escape[8];
  std::snprintf(escape, sizeof escape, "\\u%04x", unsigned(unit));
  return escape;
}

// UTF-8 text with each private-use character written as \uXXXX.
inline std::string EscapePrivateUse(std::string_view utf8) {
  std::string out;
  std::u16string plain;
  for (char16_t unit : ToUtf16(utf8)) {
    if (!IsPrivateUse(unit)) {
      plain.push_back(unit);
      continue;
    }
    out += ToUtf8(plain) + UnicodeEscape(unit);
    plain.clear();
  }
  return out + ToUtf8(plain);
}

inline CharacterWidths CountWidths(std::string_view utf8) {
  CharacterWidths counts;
  for (char16_t c : ToUtf16(utf8))
    if (c < 0xDC00 || c > 0xDFFF) ++(c > 0x2E80 ? counts.wide : counts.narrow); // a pair once
  return counts;
}

} // namespace utf

#endif

#include "TextFile.h"

#include "Utf.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <iconv.h>
#endif

#include <cstdint>
#include <vector>

namespace utf {

namespace {

const char kUtf8Mark[] = "\xEF\xBB\xBF";

// Two bytes at a time, the byte-order mark left out.
std::optional<std::string> FromUtf16(std::string_view bytes, bool littleEndian, Refusal& why) {
  if (bytes.size() % 2 != 0) {
    why = {Refusal::Utf16Cut, 0};
    return std::nullopt;
  }
  std::u16string text;
  text.reserve(bytes.size() / 2);
  for (size_t i = 2; i < bytes.size(); i += 2) {
    uint8_t low = uint8_t(bytes[littleEndian ? i : i + 1]);
    uint8_t high = uint8_t(bytes[littleEndian ? i + 1 : i]);
    text.push_back(char16_t(low | high << 8));
  }
  return ToUtf8(text);
}

// What bytes that are no UTF-8 seem to be, for the refusal.
Refusal RefusalOf(std::string_view bytes, size_t faultAt) {
  bool evenNul = bytes.size() >= 2 && bytes[0] == '\0';
  bool oddNul = bytes.size() >= 2 && bytes[1] == '\0';
  if (evenNul || oddNul) return {Refusal::Utf16WithoutMark, 0};
  if (bytes.find('\0') != std::string_view::npos) return {Refusal::NulBytes, 0};
  if (FromCodePage949(bytes)) return {Refusal::CodePage949, 0};
  return {Refusal::NotUtf8, faultAt + 1};
}

} // namespace

bool IsValidUtf8(std::string_view bytes, size_t* faultAt) {
  for (size_t i = 0; i < bytes.size();) {
    uint8_t lead = uint8_t(bytes[i]);
    size_t length = SequenceLength(lead);
    bool valid = length > 0 && i + length <= bytes.size();
    for (size_t k = 1; valid && k < length; ++k) valid = (uint8_t(bytes[i + k]) & 0xC0) == 0x80;
    if (valid && length > 2) {
      // Overlong forms, surrogates and values beyond U+10FFFF.
      uint8_t second = uint8_t(bytes[i + 1]);
      valid = !(lead == 0xE0 && second < 0xA0) && !(lead == 0xED && second >= 0xA0) &&
              !(lead == 0xF0 && second < 0x90) && !(lead == 0xF4 && second >= 0x90);
    }
    if (!valid) {
      if (faultAt) *faultAt = i;
      return false;
    }
    i += length;
  }
  return true;
}

const char kRemedy[] = "save it as UTF-8 (Notepad: Save As, Encoding UTF-8)";

const char* RefusalPattern(Refusal::Kind kind) {
  switch (kind) {
  case Refusal::Utf16Cut:
    return "is UTF-16 cut in the middle of a character: {1}";
  case Refusal::Utf16WithoutMark:
    return "seems to be UTF-16 without a byte-order mark: {1}, or as UTF-16 with its mark";
  case Refusal::NulBytes:
    return "holds NUL bytes: it is no text file";
  case Refusal::CodePage949:
    return "is in the Korean Windows code page (CP949, \"ANSI\"), not UTF-8: {1}";
  case Refusal::NotUtf8:
    break;
  }
  return "is not UTF-8 text (byte {0}): {1}";
}

std::string RefusalText(const Refusal& why) {
  std::string text = RefusalPattern(why.kind);
  for (auto [mark, part] : {std::pair<std::string, std::string>{"{0}", std::to_string(why.byte)},
                            std::pair<std::string, std::string>{"{1}", kRemedy}})
    if (size_t at = text.find(mark); at != std::string::npos) text.replace(at, mark.size(), part);
  return text;
}

std::optional<std::string> DecodeTextFile(std::string_view bytes, Refusal& why) {
  if (bytes.size() >= 2 && uint8_t(bytes[0]) == 0xFF && uint8_t(bytes[1]) == 0xFE)
    return FromUtf16(bytes, true, why);
  if (bytes.size() >= 2 && uint8_t(bytes[0]) == 0xFE && uint8_t(bytes[1]) == 0xFF)
    return FromUtf16(bytes, false, why);
  if (bytes.substr(0, 3) == kUtf8Mark) bytes.remove_prefix(3);
  size_t faultAt = 0;
  if (IsValidUtf8(bytes, &faultAt) && bytes.find('\0') == std::string_view::npos)
    return std::string(bytes);
  why = RefusalOf(bytes, faultAt);
  return std::nullopt;
}

#ifdef _WIN32
std::optional<std::string> FromCodePage949(std::string_view bytes) {
  if (bytes.empty()) return std::string();
  const UINT kKorean = 949;
  int size = int(bytes.size());
  int units = MultiByteToWideChar(kKorean, MB_ERR_INVALID_CHARS, bytes.data(), size, nullptr, 0);
  if (units <= 0) return std::nullopt;
  std::u16string text(size_t(units), u'\0');
  MultiByteToWideChar(kKorean, MB_ERR_INVALID_CHARS, bytes.data(), size,
                      reinterpret_cast<wchar_t*>(text.data()), units);
  return ToUtf8(text);
}
#else
std::optional<std::string> FromCodePage949(std::string_view bytes) {
  iconv_t converter = iconv_open("UTF-8", "CP949");
  if (converter == iconv_t(-1)) return std::nullopt;
  std::vector<char> in(bytes.begin(), bytes.end());
  std::string out(bytes.size() * 3 / 2 + 4, '\0'); // a two-byte Hangul syllable takes three
  char* from = in.data();
  size_t left = in.size();
  char* to = out.data();
  size_t room = out.size();
  size_t done = iconv(converter, &from, &left, &to, &room);
  iconv_close(converter);
  if (done == size_t(-1) || left != 0) return std::nullopt;
  out.resize(out.size() - room);
  return out;
}
#endif

} // namespace utf

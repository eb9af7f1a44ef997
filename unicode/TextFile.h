// Text files as people hand them to the tools, Windows tools' files
// included: UTF-8 with or without a byte-order mark, UTF-16 with its mark,
// and the Korean Windows code page (949) where a format says so. A file in
// any other encoding is refused with a line that names what it seems to be
// and what to do, never read as replacement characters.
#ifndef TRISPAN_UNICODE_TEXTFILE_H
#define TRISPAN_UNICODE_TEXTFILE_H

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace utf {

// Whether the bytes are valid UTF-8; if not, where the first fault is.
bool IsValidUtf8(std::string_view bytes, size_t* faultAt = nullptr);

// Why a file's bytes are no text: what they seem to be, and for NotUtf8
// the byte where UTF-8 first fails (counted from 1).
struct Refusal {
  enum Kind { Utf16Cut, Utf16WithoutMark, NulBytes, CodePage949, NotUtf8 };
  Kind kind = NotUtf8;
  size_t byte = 0;
};

// A text file's bytes as UTF-8: UTF-8 (its byte-order mark left out), or
// UTF-16 little- or big-endian with a byte-order mark. Nothing for other
// bytes, and why.
std::optional<std::string> DecodeTextFile(std::string_view bytes, Refusal& why);

// A refusal's line in English, "{0}" standing for the byte and "{1}" for
// the remedy, kRemedy: for tools that say it in another language too.
const char* RefusalPattern(Refusal::Kind kind);
extern const char kRemedy[];

// The refusal's line in English: what the bytes seem to be and how to save
// them instead.
std::string RefusalText(const Refusal& why);

// Bytes in the Korean Windows code page (949, a superset of EUC-KR) as
// UTF-8; nothing when they are not valid there.
std::optional<std::string> FromCodePage949(std::string_view bytes);

} // namespace utf

#endif

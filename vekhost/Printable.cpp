#include "Printable.h"

#include "Utf.h"

#include <cstdio>
#include <streambuf>

namespace vekhost {

namespace {

const unsigned char kC1Lead = 0xC2; // U+0080 to U+00BF begin with it in UTF-8

bool IsControl(unsigned char c) { return c < 0x20 || c == 0x7F; }
bool IsC1Second(unsigned char c) { return c >= 0x80 && c <= 0x9F; }

void AppendEscape(std::string& out, unsigned value) {
  char escape[8];
  std::snprintf(escape, sizeof escape, "\\x%02x", value);
  out += escape;
}

// A stream buffer in front of another that escapes as EscapeControls does,
// a C1 character's two bytes even when they arrive apart.
class Escaping : public std::streambuf {
public:
  explicit Escaping(std::streambuf* next) : next_(next) {}

protected:
  int_type overflow(int_type c) override {
    if (c == traits_type::eof()) return traits_type::not_eof(c);
    char byte = char(c);
    return xsputn(&byte, 1) == 1 ? c : traits_type::eof();
  }
  std::streamsize xsputn(const char* text, std::streamsize count) override {
    std::string out;
    for (std::streamsize i = 0; i < count; ++i) {
      auto c = static_cast<unsigned char>(text[i]);
      if (leadPending_) {
        leadPending_ = false;
        if (IsC1Second(c)) {
          AppendEscape(out, c);
          continue;
        }
        out += char(kC1Lead);
      }
      if (c == kC1Lead)
        leadPending_ = true;
      else if (IsControl(c) && c != '\n')
        AppendEscape(out, c);
      else
        out += char(c);
    }
    return next_->sputn(out.data(), std::streamsize(out.size())) == std::streamsize(out.size())
               ? count
               : 0;
  }
  // vekhost flushes at the end of a line: a pair is never cut there.
  int sync() override {
    if (leadPending_) {
      leadPending_ = false;
      next_->sputc(char(kC1Lead));
    }
    return next_->pubsync();
  }

private:
  std::streambuf* next_;
  bool leadPending_ = false;
};

} // namespace

std::string EscapeControls(std::string_view utf8) {
  std::string out;
  for (size_t i = 0; i < utf8.size(); ++i) {
    auto c = static_cast<unsigned char>(utf8[i]);
    if (c == kC1Lead && i + 1 < utf8.size() && IsC1Second(static_cast<unsigned char>(utf8[i + 1])))
      AppendEscape(out, static_cast<unsigned char>(utf8[++i]));
    else if (IsControl(c))
      AppendEscape(out, c);
    else
      out += char(c);
  }
  return out;
}

size_t TerminalColumns(std::string_view utf8) {
  utf::CharacterWidths counts = utf::CountWidths(utf8);
  return 2 * counts.wide + counts.narrow;
}

std::unique_ptr<std::streambuf> EscapingBuffer(std::streambuf* next) {
  return std::make_unique<Escaping>(next);
}

void EscapeControlsOf(std::ostream& stream) {
  // Never freed: the standard streams flush through it after every static
  // object is gone.
  stream.rdbuf(EscapingBuffer(stream.rdbuf()).release());
}

} // namespace vekhost

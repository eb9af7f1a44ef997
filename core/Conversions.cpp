#include "Conversions.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace {

bool IsBlank(char16_t c) { return c == u' ' || (c >= u'\t' && c <= u'\r'); }
bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

size_t SkipBlanks(std::u16string_view text) {
  size_t pos = 0;
  while (pos < text.size() && IsBlank(text[pos])) ++pos;
  return pos;
}

// Reads an optional sign at pos; true for a minus.
bool ReadSign(std::u16string_view text, size_t& pos) {
  if (pos < text.size() && (text[pos] == u'+' || text[pos] == u'-')) return text[pos++] == u'-';
  return false;
}

} // namespace

int32_t WideToInt(std::u16string_view text) {
  size_t pos = SkipBlanks(text);
  bool negative = ReadSign(text, pos);
  // Magnitude up to one past INT32_MAX's, enough to saturate either way.
  const int64_t limit = int64_t(std::numeric_limits<int32_t>::max()) + 1;
  int64_t magnitude = 0;
  for (; pos < text.size() && IsDigit(text[pos]); ++pos)
    if (magnitude < limit) magnitude = magnitude * 10 + (text[pos] - u'0');
  if (magnitude > limit) magnitude = limit;
  if (negative) return int32_t(-magnitude);
  return magnitude >= limit ? std::numeric_limits<int32_t>::max() : int32_t(magnitude);
}

double WideToReal(std::u16string_view text) {
  size_t pos = SkipBlanks(text);
  bool negative = ReadSign(text, pos);
  std::string number; // the accepted characters, in ASCII
  size_t digits = 0, integerDigits = 0, firstNonZero = std::string::npos;
  for (; pos < text.size() && IsDigit(text[pos]); ++pos, ++digits, ++integerDigits) {
    if (text[pos] != u'0' && firstNonZero == std::string::npos) firstNonZero = digits;
    number.push_back(char(text[pos]));
  }
  if (pos < text.size() && text[pos] == u'.') {
    number.push_back('.');
    for (++pos; pos < text.size() && IsDigit(text[pos]); ++pos, ++digits) {
      if (text[pos] != u'0' && firstNonZero == std::string::npos) firstNonZero = digits;
      number.push_back(char(text[pos]));
    }
  }
  if (digits == 0) return 0.0;
  // The exponent counts only when digits follow its letter and sign.
  long exponent = 0;
  if (pos < text.size() && (text[pos] == u'e' || text[pos] == u'E')) {
    size_t at = pos + 1;
    bool negativeExponent = ReadSign(text, at);
    if (at < text.size() && IsDigit(text[at])) {
      for (; at < text.size() && IsDigit(text[at]); ++at)
        if (exponent < 100000) exponent = exponent * 10 + (text[at] - u'0');
      if (negativeExponent) exponent = -exponent;
      number += "e" + std::to_string(exponent);
    }
  }
  double value = 0.0;
  std::errc error = std::from_chars(number.data(), number.data() + number.size(), value).ec;
  if (error == std::errc::result_out_of_range) {
    // Too large or too small for a double: infinity or zero, by the position
    // of the first significant digit.
    long magnitude = long(integerDigits) - long(firstNonZero) + exponent;
    value = firstNonZero != std::string::npos && magnitude > 0
                ? std::numeric_limits<double>::infinity()
                : 0.0;
  }
  return negative ? -value : value;
}

std::u16string DecimalText(int64_t number) {
  std::string digits = std::to_string(number);
  return std::u16string(digits.begin(), digits.end());
}

#include "MeasureFormat.h"

#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <vector>

namespace {

const int32_t kMaxDecimals = 100;
const double kTwoToThe63 = 9223372036854775808.0;

int32_t ClampDecimals(int32_t decimals) {
  return decimals < -kMaxDecimals  ? -kMaxDecimals
         : decimals > kMaxDecimals ? kMaxDecimals
                                   : decimals;
}

// 10^decimals, the power by repeated squaring.
double PowerOfTen(int32_t decimals) {
  uint32_t exponent = decimals < 0 ? 0u - uint32_t(decimals) : uint32_t(decimals);
  double result = 1.0, base = 10.0;
  for (; exponent; exponent >>= 1) {
    if (exponent & 1) result *= base;
    base *= base;
  }
  return decimals < 0 ? 1.0 / result : result;
}

CString PrintText(const char* format, ...) {
  va_list args, again;
  va_start(args, format);
  va_copy(again, args);
  int length = std::vsnprintf(nullptr, 0, format, args);
  va_end(args);
  std::vector<char> buffer(length > 0 ? size_t(length) + 1 : 1, '\0');
  if (length > 0) std::vsnprintf(buffer.data(), buffer.size(), format, again);
  va_end(again);
  return CString(buffer.data(), buffer.data() + (length > 0 ? length : 0));
}

void TrimTrailing(CString& text, char16_t unit) {
  while (!text.empty() && text.back() == unit) text.pop_back();
}

} // namespace

double RoundToDecimals(double value, int32_t decimals) {
  double scale = PowerOfTen(ClampDecimals(decimals));
  double scaled = value > 0 ? value * scale + 0.5 : value * scale - 0.5;
  if (!(scaled >= -kTwoToThe63 && scaled < kTwoToThe63)) return value;
  return double(int64_t(scaled)) / scale;
}

CString FormatMeasure(const double& value, int32_t showDecimals, int32_t roundDecimals) {
  showDecimals = ClampDecimals(showDecimals);
  CString text = PrintText("%f", RoundToDecimals(value, roundDecimals));
  size_t point = text.find(u'.');
  if (point == CString::npos) return text;
  TrimTrailing(text, u'0');
  if (showDecimals > 0) {
    size_t decimals = text.size() - point - 1;
    if (decimals < size_t(showDecimals)) text.append(size_t(showDecimals) - decimals, u'0');
  } else {
    TrimTrailing(text, u'.');
  }
  return text;
}

CString FormatFixed(double value, int32_t decimals) {
  decimals = ClampDecimals(decimals);
  double scale = PowerOfTen(decimals);
  return PrintText("%.*f", int(decimals), std::floor(value * scale + 0.5) / scale);
}

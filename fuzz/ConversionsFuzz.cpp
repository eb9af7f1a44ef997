// Any UTF-16 text: the integer and real conversions of stored settings.
#include "Conversions.h"

#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::u16string text;
  for (size_t i = 0; i + 1 < size; i += 2) text.push_back(char16_t(data[i] | data[i + 1] << 8));
  int32_t integer = WideToInt(text);
  double real = WideToReal(text);
  // Blanks in front change nothing.
  if (WideToInt(u"  " + text) != integer) std::abort();
  std::u16string spaced = u" \t" + text;
  double again = WideToReal(spaced);
  if (again != real && !(again != again && real != real)) std::abort();
  return 0;
}

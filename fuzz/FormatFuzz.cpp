// Any double, any decimal counts: the formatting routines return a text of
// bounded length and never crash or read out of bounds.
#include "MeasureFormat.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider input(data, size);
  double value = input.ConsumeFloatingPoint<double>();
  int32_t show = input.ConsumeIntegral<int32_t>();
  int32_t round = input.ConsumeIntegral<int32_t>();
  // "%f" of the largest double has 309 digits, and decimals stay within 100.
  const size_t kLongest = 1 + 309 + 1 + 100;
  if (FormatMeasure(value, show, round).size() > kLongest) std::abort();
  if (FormatFixed(value, round).size() > kLongest) std::abort();
  RoundToDecimals(value, round);
  return 0;
}

// Measures to text. FormatMeasure rounds half away from zero and shows
// exactly the asked decimals (none, trimmed, for a count of 0 or less);
// FormatFixed rounds half up and prints with "%.*f". Decimal counts are
// taken within -100..100.
#ifndef TRISPAN_CORE_MEASUREFORMAT_H
#define TRISPAN_CORE_MEASUREFORMAT_H

#include "CString.h"

#include <cstdint>

// value rounded half away from zero to `decimals` places (a negative count
// rounds to tens, hundreds...); a value whose scaled magnitude reaches 2^63,
// or that is not finite, comes back unchanged.
double RoundToDecimals(double value, int32_t decimals);
// The step texts: "%f" of the rounded value, trailing zeros trimmed, then
// refilled up to showDecimals (or trimmed with the point when it is <= 0).
CString FormatMeasure(const double& value, int32_t showDecimals, int32_t roundDecimals);
// The note's measures: "%.*f" of floor(value * 10^d + 0.5) / 10^d; a negative
// count prints six decimals.
CString FormatFixed(double value, int32_t decimals);

#endif

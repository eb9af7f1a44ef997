// Stored texts to numbers, as the Windows runtime's _wtoi and _wtof read
// them, identically on both builds: leading blanks (tab, line feed, vertical
// tab, form feed, carriage return, space) are skipped, then the leading
// number is taken and the rest ignored; a text without one gives 0. And
// numbers to the texts that store them.
#ifndef TRISPAN_SETTINGS_CONVERSIONS_H
#define TRISPAN_SETTINGS_CONVERSIONS_H

#include <cstdint>
#include <string>
#include <string_view>

// Optional sign and decimal digits; saturates at the 32-bit limits.
int32_t WideToInt(std::u16string_view text);
// Optional sign, digits with an optional "." and an optional exponent
// (e or E, optional sign, digits); correctly rounded, infinite beyond the
// range of a double.
double WideToReal(std::u16string_view text);

// A number as stored: decimal digits, after a minus sign when negative.
std::u16string DecimalText(int64_t number);

#endif

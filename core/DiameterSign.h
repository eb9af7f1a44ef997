// The diameter sign in its three forms: the host's code at the start of a
// dimension text, and the two characters a note may carry, one per font.
#ifndef TRISPAN_CORE_DIAMETERSIGN_H
#define TRISPAN_CORE_DIAMETERSIGN_H

#include <cstdint>

// How a dimension text begins when the dimension shows the diameter sign.
inline constexpr char16_t kDiameterCode[] = u"\x1C\x21";

// The note's sign with Font 0: the character registered with the CAD program.
const char16_t kSignExternalFont = 0xE000;
// The note's sign with any other Font: the Windows font's character.
const char16_t kSignWindowsFont = 0xE11D;

// The note's sign for the Font setting.
constexpr char16_t DiameterSign(int32_t font) {
  return font == 0 ? kSignExternalFont : kSignWindowsFont;
}

#endif

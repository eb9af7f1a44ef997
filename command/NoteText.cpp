#include "NoteText.h"

#include "MeasureFormat.h"

namespace {

const char16_t kSignExternalFont = 0xE000; // Font 0
const char16_t kSignWindowsFont = 0xE11D;  // any other Font

} // namespace

CString ComposeNote(const SettingsRecord& s, const PickStateRecord& p) {
  bool asDimension = s.Round == ROUND_AS_DIMENSION;
  CString width = asDimension ? p.widthText : FormatFixed(p.widthValue, s.Round);
  CString length = asDimension ? p.lengthText : FormatFixed(p.lengthValue, s.Round);
  CString height = asDimension ? p.heightText : FormatFixed(p.heightValue, s.Round);
  CString sign(1, s.Font == 0 ? kSignExternalFont : kSignWindowsFont);

  CString body;
  if (p.heightSkipped && p.lengthSkipped)
    body = sign + width;
  else if (p.heightSkipped)
    body = sign + width + s.MTitle + length;
  else if (p.lengthValue == 0)
    body = sign + width + s.MTitle + height;
  else
    body = width + s.MTitle + length + s.MTitle + height;
  return s.PreComment + body;
}

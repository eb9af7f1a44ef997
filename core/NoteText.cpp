#include "NoteText.h"

#include "DiameterSign.h"
#include "MeasureFormat.h"

namespace {

// The width as it follows the diameter sign: a width text that begins with
// the host's diameter code loses it, since the sign takes its place.
CString WidthAfterSign(const CString& width) {
  return width.compare(0, 2, kDiameterCode) == 0 ? width.substr(2) : width;
}

} // namespace

CString ComposeNote(const SettingsRecord& s, const PickStateRecord& p) {
  bool asDimension = s.Round == kRoundAsDimension;
  CString width = asDimension ? p.widthText : FormatFixed(p.widthValue, s.Round);
  CString length = asDimension ? p.lengthText : FormatFixed(p.lengthValue, s.Round);
  CString height = asDimension ? p.heightText : FormatFixed(p.heightValue, s.Round);
  CString sign(1, DiameterSign(s.Font));
  CString signedWidth = sign + WidthAfterSign(width);

  CString body;
  if (p.heightSkipped && p.lengthSkipped)
    body = signedWidth;
  else if (p.heightSkipped)
    body = signedWidth + s.MTitle + length;
  else if (p.lengthValue == 0)
    body = signedWidth + s.MTitle + height;
  else
    body = width + s.MTitle + length + s.MTitle + height;
  return s.PreComment + body;
}

#include "DimensionText.h"

#include "DiameterSign.h"
#include "MeasureFormat.h"

CString DimensionText(const DimensionReading& reading) {
  CString value = FormatMeasure(reading.measure, reading.decimals, reading.decimals);
  switch (reading.noteResult) {
  case VEK_FAILED: // the texts could not be read: the value alone
  case VEK_DIM_NOTE_NONE:
    return value;
  case VEK_DIM_NOTE_PREFIX:
    return reading.prefix + value;
  case VEK_DIM_NOTE_SUFFIX:
    return value + reading.suffix;
  case VEK_DIM_NOTE_BOTH:
    return reading.prefix + value + reading.suffix;
  default:
    return reading.prefix;
  }
}

bool HasDiameterPrefix(const DimensionReading& reading) {
  bool prefixShown =
      reading.noteResult == VEK_DIM_NOTE_PREFIX || reading.noteResult == VEK_DIM_NOTE_BOTH;
  return prefixShown && reading.prefix.compare(0, 2, kDiameterCode) == 0;
}

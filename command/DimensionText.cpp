#include "DimensionText.h"

#include "MeasureFormat.h"

#include <algorithm>

namespace {

// The text in a note buffer: up to its first NUL, or all of it.
CString BufferText(const VekChar (&buffer)[VEK_DIM_NOTE_UNITS]) {
  return CString(buffer, std::find(buffer, buffer + VEK_DIM_NOTE_UNITS, u'\0'));
}

} // namespace

DimensionReading ReadDimension(VekElementId element) {
  DimensionReading reading;
  VekChar prefix[VEK_DIM_NOTE_UNITS] = {};
  VekChar suffix[VEK_DIM_NOTE_UNITS] = {};
  reading.measureResult = VekDimGetMeasure(element, &reading.measure);
  reading.noteResult = VekDimGetNote(element, prefix, suffix);
  reading.prefix = BufferText(prefix);
  reading.suffix = BufferText(suffix);
  reading.mark = VekDimGetMark(element);
  reading.decimals = VekDimGetDecimalPlace(element);
  return reading;
}

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
  return prefixShown && reading.prefix.size() >= 2 && reading.prefix[0] == 0x1C &&
         reading.prefix[1] == 0x21;
}

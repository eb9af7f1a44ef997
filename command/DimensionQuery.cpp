#include "DimensionQuery.h"

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

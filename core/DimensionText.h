// A picked dimension as the host reported it, and its text: the dimension's
// own prefix and suffix texts around its value.
#ifndef TRISPAN_CORE_DIMENSIONTEXT_H
#define TRISPAN_CORE_DIMENSIONTEXT_H

#include "CString.h"
#include "VekLib.h"

struct DimensionReading {
  int32_t measureResult = VEK_FAILED; // VekDimGetMeasure
  double measure = 0;
  int32_t noteResult = VEK_FAILED; // VekDimGetNote
  CString prefix, suffix;          // at most VEK_DIM_NOTE_UNITS units each
  int32_t mark = VEK_FAILED;
  int32_t decimals = 0;
};

// The step text: value V = FormatMeasure(measure, decimals, decimals) with
// the prefix and suffix that the note result names; a failed query (-1)
// gives V alone, any other result outside 0 to 3 the prefix alone.
CString DimensionText(const DimensionReading& reading);

// The diameter sign's prefix: its text begins with kDiameterCode.
bool HasDiameterPrefix(const DimensionReading& reading);

#endif

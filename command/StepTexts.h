// The texts the length and height steps build from a key-in or two points.
#ifndef TRISPAN_COMMAND_STEPTEXTS_H
#define TRISPAN_COMMAND_STEPTEXTS_H

#include "Afx.h"
#include "VekLib.h"

// The typed text of a key-in, copied; empty when the host gives none.
CString TypedText(int32_t kind, VekEventHandle handle);
// A typed measure as the step keeps it: the text as typed with Round 4,
// else the value in Round decimals.
CString TypedMeasureText(double value, const CString& typed);
// A distance between two points in Round decimals, or with Round 4 in the
// width dimension's.
CString PointDistanceText(double distance);

#endif

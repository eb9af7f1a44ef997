#include "StepTexts.h"

#include "MeasureFormat.h"
#include "PickState.h"
#include "Settings.h"

CString TypedText(int32_t kind, VekEventHandle handle) {
  const VekChar* text = VekEvtGetKeyinString(kind, handle);
  return text ? CString(text) : CString();
}

CString TypedMeasureText(double value, const CString& typed) {
  int32_t round = TriSpanSettings.Round;
  return round == kRoundAsDimension ? typed : FormatMeasure(value, round, round);
}

CString PointDistanceText(double distance) {
  int32_t round = TriSpanSettings.Round;
  int32_t decimals = round == kRoundAsDimension ? PickState.dimDecimals : round;
  return FormatMeasure(distance, decimals, decimals);
}

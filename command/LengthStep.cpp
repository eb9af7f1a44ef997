#include "LengthStep.h"

#include "Conversions.h"
#include "DimensionQuery.h"
#include "HeightStep.h"
#include "MeasureStep.h"
#include "PickState.h"
#include "StepRecords.h"
#include "StepTexts.h"

namespace {

const char16_t kLengthPrompt[] = u"세로치수선택 :";
const char16_t kLengthCursor[] = u"세로";
const char16_t kMeasureError[] = u"치수치 검출에러(2).";

// The length is taken: on to the height.
int32_t GoToHeightStep() {
  VekCtlSetReadyFunc(ReadyHeight, "");
  return EXEC_NEXT;
}

int32_t LengthFromDimension(VekElementId element) {
  DimensionReading reading = ReadDimension(element);
  if (reading.measureResult == VEK_FAILED) {
    VekMsgPutErrorMessage(kMeasureError);
    return EXEC_END;
  }
  PickState.lengthValue = reading.measure;
  PickState.lengthText = DimensionText(reading);
  return GoToHeightStep();
}

int32_t LengthFromKeyin(int32_t kind, VekEventHandle handle) {
  CString typed = TypedText(kind, handle);
  PickState.lengthValue = WideToReal(typed);
  PickState.lengthText = TypedMeasureText(PickState.lengthValue, typed);
  return GoToHeightStep();
}

// The end button at the length step: the command ends without a note.
int32_t EndWithoutNote() { return EXEC_END; }

} // namespace

int32_t ReadyLength(int32_t, VekPoint*) {
  SetUpMeasureStep(kLengthPrompt, ExecLength);
  return 0;
}

int32_t ExecLength(int32_t kind, VekEventHandle handle) {
  static const MeasureStep kLengthStep{LengthFromDimension, LengthFromKeyin, EndWithoutNote,
                                       &PickState.lengthFirstPoint, ReadyLengthPoint};
  return DispatchMeasureEvent(kind, handle, kLengthStep);
}

int32_t ReadyLengthPoint(int32_t, VekPoint*) {
  SetUpSecondPoint(PickState.lengthFirstPoint, kLengthCursor, ExecLengthPoint);
  return 0;
}

int32_t ExecLengthPoint(int32_t kind, VekEventHandle handle) {
  static const SecondPointStep kLengthPoint{&PickState.lengthFirstPoint, &PickState.lengthValue,
                                            &PickState.lengthText, GoToHeightStep};
  return TakeSecondPoint(kind, handle, kLengthPoint);
}

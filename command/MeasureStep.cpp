#include "MeasureStep.h"

#include "StepRecords.h"
#include "StepTexts.h"
#include "WidthStep.h"

namespace {
const char16_t kPointPrompt[] = u"포인트 입력 :";
const char16_t kWrongIndication[] = u"잘못된 지시.";
} // namespace

void SetUpMeasureStep(const char16_t* prompt, VekExecuteProc execute) {
  VekIddClearSysIdData();
  VekEvtSetEventMask(VEK_MASK_PICK_STEP);
  VekObjectFilter filter = DimensionFilter();
  VekEvtSetObject(&filter);
  VekMsgPutMessage(prompt);
  VekCtlSetExecuteFunc(execute, "");
}

int32_t DispatchMeasureEvent(int32_t kind, VekEventHandle handle, const MeasureStep& step) {
  VekPoint point;
  if (VekEvtGetPoint(kind, handle, &point) != 0) {
    if (kind == EVT_KEYIN) return step.fromKeyin(kind, handle);
    return kind == EVT_END ? step.onEndButton() : EXEC_STAY;
  }
  if (kind == EVT_PICK) return step.fromDimension(VekEvtGetElementId(kind, handle));
  if (kind != EVT_POINT) {
    VekMsgPutErrorMessage(kWrongIndication);
    return EXEC_END;
  }
  VekElementId element = VekEvtGetElementId(kind, handle);
  if (FilterDimension(element)) return step.fromDimension(element);
  *step.firstPoint = point;
  VekCtlSetReadyFunc(step.readySecondPoint, "");
  return EXEC_NEXT;
}

void SetUpSecondPoint(const VekPoint& first, const char16_t* cursor, VekExecuteProc execute) {
  VekEvtSetEventMask(VEK_MASK_DATA_POINT);
  VekEcho echo = EchoAt(VEK_ECHO_LINE, first);
  VekEvtSetEcho(&echo);
  VekMsgPutCursorMessage(cursor);
  VekMsgPutMessage(kPointPrompt);
  VekCtlSetExecuteFunc(execute, "");
}

int32_t TakeSecondPoint(int32_t kind, VekEventHandle handle, const SecondPointStep& step) {
  VekPoint point;
  if (VekEvtGetPoint(kind, handle, &point) != 0) return kind == EVT_END ? EXEC_END : EXEC_STAY;
  if (kind != EVT_POINT) {
    VekMsgPutErrorMessage(kWrongIndication);
    return EXEC_END;
  }
  *step.value = VekAriLen2Pnts(step.firstPoint, &point);
  *step.text = PointDistanceText(*step.value);
  return step.onMeasured();
}

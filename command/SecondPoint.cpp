#include "SecondPoint.h"

#include "StepRecords.h"

namespace {
const char16_t kPointPrompt[] = u"포인트 입력 :";
const char16_t kWrongIndication[] = u"잘못된 지시.";
} // namespace

void SetUpSecondPoint(const VekPoint& first, const char16_t* cursor, VekExecuteProc execute) {
  VekEvtSetEventMask(VEK_MASK_DATA_POINT);
  VekEcho echo = EchoAt(VEK_ECHO_LINE, first);
  VekEvtSetEcho(&echo);
  VekMsgPutCursorMessage(cursor);
  VekMsgPutMessage(kPointPrompt);
  VekCtlSetExecuteFunc(execute, "");
}

bool TakeSecondPoint(int32_t kind, VekEventHandle handle, const VekPoint& first, double& distance,
                     int32_t& result) {
  VekPoint point;
  if (VekEvtGetPoint(kind, handle, &point) != 0) {
    result = kind == EVT_END ? EXEC_END : EXEC_STAY;
    return false;
  }
  if (kind != EVT_POINT) {
    VekMsgPutErrorMessage(kWrongIndication);
    result = EXEC_END;
    return false;
  }
  distance = VekAriLen2Pnts(&first, &point);
  return true;
}

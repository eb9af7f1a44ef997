#include "WidthStep.h"

namespace {
const char16_t kWidthPrompt[] = u"가로치수선택 : (종료버튼:Dialog)";
}

void SetUpWidthStep() {
  VekIddClearSysIdData();
  VekEvtSetEventMask(VEK_MASK_WIDTH);
  VekEvtSetCompareFunction(FilterDimension);
  VekMsgPutMessage(kWidthPrompt);
  VekCtlSetExecuteFunc(ExecWidth, "");
}

int32_t FilterDimension(VekElementId element) {
  uint32_t type = uint32_t(VekElmGetType(element));
  return type <= VEK_MAX_DIMENSION_TYPE && (VEK_DIMENSION_TYPES >> type & 1) ? 1 : 0;
}

// Until the measuring steps are in place every event ends the command.
int32_t ExecWidth(int32_t, VekEventHandle) { return EXEC_END; }

#include "WidthStep.h"

#include "DimensionQuery.h"
#include "HeightStep.h"
#include "LengthStep.h"
#include "PickState.h"
#include "Settings.h"
#include "TriSpanDlg.h"

namespace {

const char16_t kWidthPrompt[] = u"가로치수선택 : (종료버튼:Dialog)";
const char16_t kMeasureError[] = u"치수치 검출에러(1).";
const char16_t kNoteError[] = u"치수주기 검출에러";
const char16_t kMarkError[] = u"치수속성 검출에러";

// The first failed query of the width dimension, reported; false if none.
bool ReportWidthFailure(const DimensionReading& reading) {
  const char16_t* error = reading.measureResult == VEK_FAILED ? kMeasureError
                          : reading.noteResult == VEK_FAILED  ? kNoteError
                          : reading.mark == VEK_FAILED        ? kMarkError
                                                              : nullptr;
  if (error) VekMsgPutErrorMessage(error);
  return error != nullptr;
}

// The settings dialog, from the plug-in's own resources: on OK its values
// take effect at once and are saved; anything else changes nothing.
void RunSettingsDialog() {
  AFX_MAINTAIN_STATE2 moduleState(AfxGetStaticModuleState());
  TriSpanDlg dialog;
  settingsDialogOpen = true;
  INT_PTR result = dialog.DoModal();
  settingsDialogOpen = false;
  if (result != IDOK) return;
  CopyFormTo(dialog, TriSpanSettings);
  dialog.SaveToRegistry();
}

} // namespace

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

int32_t ExecWidth(int32_t kind, VekEventHandle handle) {
  // The dialog's message loop keeps the host's windows alive: an event that
  // reaches the step again meanwhile is left waiting.
  if (settingsDialogOpen) return EXEC_STAY;
  VekPoint point;
  // Without a position there is nothing to measure; the step keeps waiting,
  // after the settings dialog for the end button.
  if (VekEvtGetPoint(kind, handle, &point) != 0) {
    if (kind == EVT_END) RunSettingsDialog();
    return EXEC_STAY;
  }

  PickState.widthValue = 0;
  PickState.lengthValue = 0;
  PickState.heightValue = 0;
  PickState.heightSkipped = false;
  DimensionReading reading = ReadDimension(VekEvtGetElementId(kind, handle));
  PickState.dimDecimals = reading.decimals;
  if (ReportWidthFailure(reading)) return EXEC_END;

  PickState.widthValue = reading.measure;
  PickState.widthText = DimensionText(reading);
  PickState.lengthSkipped = reading.mark == VEK_DIM_MARK_DIAMETER || HasDiameterPrefix(reading);
  VekCtlSetReadyFunc(PickState.lengthSkipped ? ReadyHeight : ReadyLength, "");
  return EXEC_NEXT;
}

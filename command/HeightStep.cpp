#include "HeightStep.h"

#include "Conversions.h"
#include "DimensionQuery.h"
#include "Frames.h"
#include "MeasureStep.h"
#include "NoteStep.h"
#include "NoteText.h"
#include "PickState.h"
#include "Settings.h"
#include "StepRecords.h"
#include "StepTexts.h"

namespace {

const char16_t kHeightPrompt[] = u"높이치수선택 :";
const char16_t kHeightCursor[] = u"높이";
const char16_t kMeasureError[] = u"치수치 검출에러(3).";

// A height was taken: the note text, the note-input frame, the note step.
int32_t HandOverToNoteStep() {
  ComposeNoteText();
  ApplyFramePolicy(TriSpanSettings.FrameChar);
  VekCtlSetReadyFunc(ReadyNote, "");
  return EXEC_NEXT;
}

int32_t HeightFromDimension(VekElementId element) {
  DimensionReading reading = ReadDimension(element);
  if (reading.measureResult == VEK_FAILED) {
    VekMsgPutErrorMessage(kMeasureError);
    return EXEC_END;
  }
  PickState.heightValue = reading.measure;
  PickState.heightText = DimensionText(reading);
  return HandOverToNoteStep();
}

int32_t HeightFromKeyin(int32_t kind, VekEventHandle handle) {
  CString typed = TypedText(kind, handle);
  PickState.heightValue = WideToReal(typed);
  PickState.heightText = TypedMeasureText(PickState.heightValue, typed);
  return HandOverToNoteStep();
}

// The end button: the note goes without the height, in the current frame.
int32_t SkipHeight() {
  PickState.heightSkipped = true;
  ComposeNoteText();
  VekCtlSetReadyFunc(ReadyNote, "");
  return EXEC_NEXT;
}

} // namespace

void ComposeNoteText() { PickState.noteText = ComposeNote(TriSpanSettings, PickState); }

int32_t ReadyHeight(int32_t, VekPoint*) {
  SetUpMeasureStep(kHeightPrompt, ExecHeight);
  return 0;
}

int32_t ExecHeight(int32_t kind, VekEventHandle handle) {
  static const MeasureStep kHeightStep{HeightFromDimension, HeightFromKeyin, SkipHeight,
                                       &PickState.heightFirstPoint, ReadyHeightPoint};
  return DispatchMeasureEvent(kind, handle, kHeightStep);
}

int32_t ReadyHeightPoint(int32_t, VekPoint*) {
  SetUpSecondPoint(PickState.heightFirstPoint, kHeightCursor, ExecHeightPoint);
  return 0;
}

int32_t ExecHeightPoint(int32_t kind, VekEventHandle handle) {
  static const SecondPointStep kHeightPoint{&PickState.heightFirstPoint, &PickState.heightValue,
                                            &PickState.heightText, HandOverToNoteStep};
  return TakeSecondPoint(kind, handle, kHeightPoint);
}

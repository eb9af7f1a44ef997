// What the length and height steps share: the dispatch of their events
// (a dimension, a data point off any dimension that starts two points, a
// typed value, the end button) and the second of two points, whose distance
// from the first becomes the measure.
#ifndef TRISPAN_COMMAND_MEASURESTEP_H
#define TRISPAN_COMMAND_MEASURESTEP_H

#include "Afx.h"
#include "VekLib.h"

// A measuring step's own handling of each way of giving its measure.
struct MeasureStep {
  int32_t (*fromDimension)(VekElementId element);
  int32_t (*fromKeyin)(int32_t kind, VekEventHandle handle);
  int32_t (*onEndButton)();
  VekPoint* firstPoint;          // where a data point off any dimension is kept
  VekReadyProc readySecondPoint; // installed after it
};

// The pick-step mask, the dimension filter, the prompt, and execute
// installed.
void SetUpMeasureStep(const char16_t* prompt, VekExecuteProc execute);

// A pick, or a data point on a dimension, is measured; a data point anywhere
// else starts two points; another event with a position is a wrong
// indication (reported, EXEC_END); without a position a key-in is taken, the
// end button goes to the step, and anything else keeps it waiting.
int32_t DispatchMeasureEvent(int32_t kind, VekEventHandle handle, const MeasureStep& step);

// Data points alone, a line echoed from the first point, the cursor text,
// the prompt "포인트 입력 :", and execute installed.
void SetUpSecondPoint(const VekPoint& first, const char16_t* cursor, VekExecuteProc execute);

// The second of two points: where the first one is, where the measure goes,
// and what the step does once it has it.
struct SecondPointStep {
  const VekPoint* firstPoint;
  double* value;
  CString* text;
  int32_t (*onMeasured)(); // the step's result after the measure is taken
};

// A data point: its distance from the first point becomes the measure (value
// and text), then onMeasured gives the result. The end button gives
// EXEC_END, another event with a position too (a wrong indication,
// reported), anything else EXEC_STAY.
int32_t TakeSecondPoint(int32_t kind, VekEventHandle handle, const SecondPointStep& step);

#endif

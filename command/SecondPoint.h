// The second of two points, which the length and height steps share: the
// distance from the first point becomes the measure.
#ifndef TRISPAN_COMMAND_SECONDPOINT_H
#define TRISPAN_COMMAND_SECONDPOINT_H

#include "VekLib.h"

// Data points alone, a line echoed from the first point, the cursor text,
// the prompt "포인트 입력 :", and execute installed.
void SetUpSecondPoint(const VekPoint& first, const char16_t* cursor, VekExecuteProc execute);

// True with the distance from first for a data point. Otherwise false with
// the step's result: EXEC_END for the end button and for another event with
// a position (a wrong indication, reported), EXEC_STAY for the rest.
bool TakeSecondPoint(int32_t kind, VekEventHandle handle, const VekPoint& first, double& distance,
                     int32_t& result);

#endif

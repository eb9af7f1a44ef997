// The length step: a second dimension, two points or a typed value.
#ifndef TRISPAN_COMMAND_LENGTHSTEP_H
#define TRISPAN_COMMAND_LENGTHSTEP_H

#include "VekLib.h"

int32_t ReadyLength(int32_t unused, VekPoint* point);
int32_t ExecLength(int32_t kind, VekEventHandle handle);
// The second of two points.
int32_t ReadyLengthPoint(int32_t unused, VekPoint* point);
int32_t ExecLengthPoint(int32_t kind, VekEventHandle handle);

#endif

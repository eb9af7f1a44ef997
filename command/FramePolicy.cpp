#include "FramePolicy.h"

#include "Settings.h"
#include "VekLib.h"

void ApplyFramePolicy(int32_t policy) {
  if (policy == FRAME_POLICY_FIGURE) VekEnvSetFrame(FRAME_FIGURE);
  if (policy == FRAME_POLICY_TITLE) VekEnvSetFrame(FRAME_TITLE);
}

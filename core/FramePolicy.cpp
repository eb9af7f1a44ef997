#include "FramePolicy.h"

#include "SettingsTable.h"
#include "VekLib.h"

int32_t PolicyFrame(int32_t policy) {
  return policy == kFramePolicyFigure  ? FRAME_FIGURE
         : policy == kFramePolicyTitle ? FRAME_TITLE
                                       : kNoFrame;
}

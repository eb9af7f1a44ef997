#include "FramePolicy.h"

#include "Settings.h"
#include "VekLib.h"

int32_t PolicyFrame(int32_t policy) {
  return policy == FRAME_POLICY_FIGURE  ? FRAME_FIGURE
         : policy == FRAME_POLICY_TITLE ? FRAME_TITLE
                                        : NO_FRAME;
}

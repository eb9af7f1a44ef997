// The three frame policies (FrameDim, FrameChar, FrameCmd): 0 makes the
// figure frame current, 1 the title frame, any other value none.
#ifndef TRISPAN_COMMAND_FRAMEPOLICY_H
#define TRISPAN_COMMAND_FRAMEPOLICY_H

#include "VekLib.h"

#include <cstdint>

// No frame: what PolicyFrame gives for a policy that leaves the frame.
const int32_t NO_FRAME = 0;

// The frame the policy makes current: FRAME_FIGURE, FRAME_TITLE or NO_FRAME.
int32_t PolicyFrame(int32_t policy);

// Makes the policy's frame current; any other policy leaves the frame.
inline void ApplyFramePolicy(int32_t policy) {
  int32_t frame = PolicyFrame(policy);
  if (frame != NO_FRAME) VekEnvSetFrame(frame);
}

#endif

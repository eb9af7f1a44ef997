// The three frame policies (FrameDim, FrameChar, FrameCmd): 0 makes the
// figure frame current, 1 the title frame, any other value none.
#ifndef TRISPAN_CORE_FRAMEPOLICY_H
#define TRISPAN_CORE_FRAMEPOLICY_H

#include <cstdint>

// No frame: what PolicyFrame gives for a policy that leaves the frame.
const int32_t kNoFrame = 0;

// The frame the policy makes current: FRAME_FIGURE, FRAME_TITLE or kNoFrame.
int32_t PolicyFrame(int32_t policy);

#endif

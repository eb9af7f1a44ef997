// Applying a frame policy: the host call that makes its frame current.
#ifndef TRISPAN_COMMAND_FRAMES_H
#define TRISPAN_COMMAND_FRAMES_H

#include <cstdint>

// Makes the policy's frame current; any other policy leaves the frame.
void ApplyFramePolicy(int32_t policy);

#endif

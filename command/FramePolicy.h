#ifndef TRISPAN_COMMAND_FRAMEPOLICY_H
#define TRISPAN_COMMAND_FRAMEPOLICY_H

#include <cstdint>

// Makes the figure frame (policy 0) or the title frame (1) current; any
// other policy leaves the current frame.
void ApplyFramePolicy(int32_t policy);

#endif

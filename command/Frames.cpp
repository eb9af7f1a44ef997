#include "Frames.h"

#include "FramePolicy.h"
#include "VekLib.h"

void ApplyFramePolicy(int32_t policy) {
  int32_t frame = PolicyFrame(policy);
  if (frame != kNoFrame) VekEnvSetFrame(frame);
}

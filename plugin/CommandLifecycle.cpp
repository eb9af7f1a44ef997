#include "CommandLifecycle.h"

#include "FramePolicy.h"
#include "Frames.h"
#include "PickState.h"
#include "Settings.h"
#include "VekLib.h"
#include "WidthStep.h"

int32_t StartCommand() {
  PickState.widthValue = 0;
  PickState.lengthValue = 0;
  PickState.heightValue = 0;
  PickState.hostTextCopies.clear();
  PickState.savedFrame = VekEnvGetCurrentFrame();
  // Loaded first, so that the stored FrameDim holds from the very first run.
  LoadSettings();
  ApplyFramePolicy(TriSpanSettings.FrameDim);
  SetUpWidthStep();
  return 0;
}

int32_t QueryStart() { return 0; }

// FrameCmd's other values return to the frame of the start.
int32_t EndCommand() {
  int32_t frame = PolicyFrame(TriSpanSettings.FrameCmd);
  return VekEnvSetFrame(frame != kNoFrame ? frame : PickState.savedFrame);
}

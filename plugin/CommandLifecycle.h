// The callbacks that bracket every run of the command.
#ifndef TRISPAN_PLUGIN_COMMANDLIFECYCLE_H
#define TRISPAN_PLUGIN_COMMANDLIFECYCLE_H

#include <cstdint>

// Prepares a run: clears the measures, saves the frame, loads the settings,
// applies FrameDim and sets up the width step. Returns 0.
int32_t StartCommand();
// Returns 0: the host may go ahead.
int32_t QueryStart();
// Applies FrameCmd; returns what VekEnvSetFrame returned.
int32_t EndCommand();

#endif

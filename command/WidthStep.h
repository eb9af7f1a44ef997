// The width step: the user picks the width dimension; the end button opens
// the settings dialog.
#ifndef TRISPAN_COMMAND_WIDTHSTEP_H
#define TRISPAN_COMMAND_WIDTHSTEP_H

#include "VekLib.h"

// Prepares the width pick: selection cleared, mask, compare function,
// prompt, ExecWidth installed. The last action of every command start.
void SetUpWidthStep();

// Accepts (1) dimensions, by element type; rejects (0) everything else.
int32_t FilterDimension(VekElementId element);

// True while the settings dialog runs inside ExecWidth.
extern bool settingsDialogOpen;

// Records the width of a picked dimension and goes on to the length step,
// or straight to the height step for a diameter; the end button runs the
// settings dialog and the step keeps waiting.
int32_t ExecWidth(int32_t kind, VekEventHandle handle);

#endif

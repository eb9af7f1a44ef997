// The note step: the note follows the cursor; a data point writes it there,
// a pick of a general note replaces that note's text; the end button
// switches between the figure and the title frame.
#ifndef TRISPAN_COMMAND_NOTESTEP_H
#define TRISPAN_COMMAND_NOTESTEP_H

#include "VekLib.h"

// point: the echo's anchor, from the host; null counts as (0, 0).
int32_t ReadyNote(int32_t unused, VekPoint* point);
int32_t ExecNote(int32_t kind, VekEventHandle handle);

#endif

// The height step: a third dimension, two points or a typed value; the end
// button leaves the height out. Every way out composes the note text.
#ifndef TRISPAN_COMMAND_HEIGHTSTEP_H
#define TRISPAN_COMMAND_HEIGHTSTEP_H

#include "VekLib.h"

int32_t ReadyHeight(int32_t unused, VekPoint* point);
int32_t ExecHeight(int32_t kind, VekEventHandle handle);
// The second of two points.
int32_t ReadyHeightPoint(int32_t unused, VekPoint* point);
int32_t ExecHeightPoint(int32_t kind, VekEventHandle handle);

// PickState.noteText = ComposeNote(TriSpanSettings, PickState): every way
// out of the height step composes the note first.
void ComposeNoteText();

#endif

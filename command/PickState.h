// The pick state in force: process-wide; the three values are cleared at
// every command start and width pick, the texts only ever overwritten.
#ifndef TRISPAN_COMMAND_PICKSTATE_H
#define TRISPAN_COMMAND_PICKSTATE_H

#include "PickStateRecord.h"

extern PickStateRecord PickState;

#endif

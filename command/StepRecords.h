// The records the steps hand to the host, every byte set.
#ifndef TRISPAN_COMMAND_STEPRECORDS_H
#define TRISPAN_COMMAND_STEPRECORDS_H

#include "VekLib.h"

// Picks limited to dimensions: {4, 0, 0x7c2f, 0, 0}.
inline VekObjectFilter DimensionFilter() {
  return VekObjectFilter{{VEK_FILTER_CLASS_DIMENSION, 0, VEK_DIMENSION_SUBTYPES, 0, 0}};
}

// Picks limited to notes: {8, 0, 0, 1, 0}.
inline VekObjectFilter NoteFilter() {
  return VekObjectFilter{{VEK_FILTER_CLASS_NOTE, 0, 0, VEK_FILTER_ALL_NOTES, 0}};
}

inline VekEcho EchoAt(int32_t kind, const VekPoint& anchor) {
  return VekEcho{kind, 0, anchor.x, anchor.y};
}

#endif

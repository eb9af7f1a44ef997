// The command's working state: what the pick steps have measured so far.
#ifndef TRISPAN_CORE_PICKSTATERECORD_H
#define TRISPAN_CORE_PICKSTATERECORD_H

#include "CString.h"
#include "VekLib.h"

#include <cstdint>
#include <memory>
#include <vector>

struct PickStateRecord {
  double widthValue = 0;
  double lengthValue = 0; // 0 marks a skipped length
  double heightValue = 0;
  CString widthText;
  CString lengthText;
  CString heightText;
  CString noteText;
  bool heightSkipped = false; // the end button left the height out
  bool lengthSkipped = false; // the width pick was a diameter: no length step
  VekPoint lengthFirstPoint{0, 0};
  VekPoint heightFirstPoint{0, 0};
  int32_t dimDecimals = 0; // decimal places of the width dimension
  int32_t savedFrame = 0;  // the frame current when the command started
  // The copies of noteText handed to the host at the note step's last event:
  // kept until the next event reaches the note step or the command restarts.
  std::vector<std::unique_ptr<VekChar[]>> hostTextCopies;
};

#endif

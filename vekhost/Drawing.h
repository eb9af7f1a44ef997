// The drawing that vekhost puts into the simulated host: its two frames,
// dimensions, notes and other elements, each with the name that events give
// it. Coordinates are drawing units within the element's frame. Files give
// drawings as JSON (DrawingFile.h, docs/drawing-format.md).
#ifndef TRISPAN_VEKHOST_DRAWING_H
#define TRISPAN_VEKHOST_DRAWING_H

#include "SimHost.h"

#include <stdexcept>
#include <string>
#include <vector>

namespace vekhost {

// A fault in an input file: "file:place: what".
struct InputError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

struct Point {
  double x = 0, y = 0;
};

struct FrameBox {
  Point origin, size;
};

struct Dimension {
  std::string name;
  int32_t type = 12;
  double measure = 0;
  int32_t decimals = 0;
  std::string prefix, suffix;
  int32_t noteResult = 0;
  int32_t mark = 0;
  Point from, to{10, 0};
  double offset = 0;
  int32_t frame = FRAME_FIGURE;
  VekElementId id = 0;
};

struct Note {
  std::string name;
  int32_t kind = VEK_NOTE_KIND_GENERAL;
  Point at;
  std::string text;
  double height = 3.5, width = 3, pitch = 0;
  int32_t frame = FRAME_FIGURE;
  VekElementId id = 0;
};

struct Element {
  std::string name;
  int32_t type = SIM_TYPE_LINE;
  Point from, to;
  int32_t frame = FRAME_FIGURE;
  VekElementId id = 0;
};

struct Drawing {
  FrameBox figure{{0, 0}, {297, 210}};
  FrameBox title{{207, 0}, {90, 40}};
  int32_t currentFrame = FRAME_FIGURE;
  std::vector<Dimension> dimensions;
  std::vector<Note> notes;
  std::vector<Element> elements;

  // Where a pick of the named element lands, and its id once placed; false
  // for an unknown name.
  bool Find(const std::string& name, VekElementId& id, Point& pickPoint) const;
  const FrameBox& Frame(int32_t frame) const { return frame == FRAME_TITLE ? title : figure; }
};

// A frame as drawing files and results name it: "figure" or "title".
const char* FrameKey(int32_t frame);

// Puts the drawing into the simulated host and records the ids it gave.
void PlaceDrawing(Drawing& drawing);

} // namespace vekhost

#endif

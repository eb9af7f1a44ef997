// The drawing that vekhost puts into the simulated host: its two frames,
// dimensions, notes and other elements, each with the name that events give
// it. Coordinates are drawing units within the element's frame. Files give
// drawings as JSON (DrawingFile.h, docs/drawing-format.md).
#ifndef TRISPAN_VEKHOST_DRAWING_H
#define TRISPAN_VEKHOST_DRAWING_H

#include "SimHost.h"

#include <map>
#include <stdexcept>
#include <string>
#include <unordered_map>
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

// One of a drawing's items: in which list, and where in it.
struct ItemRef {
  enum List : uint8_t { kDimension, kNote, kElement } list = kDimension;
  uint32_t index = 0;
  bool operator==(const ItemRef& other) const { return list == other.list && index == other.index; }
};

struct Drawing {
  FrameBox figure{{0, 0}, {297, 210}};
  FrameBox title{{207, 0}, {90, 40}};
  int32_t currentFrame = FRAME_FIGURE;
  std::vector<Dimension> dimensions;
  std::vector<Note> notes;
  std::vector<Element> elements;

  // Indexes the lists as they stand: by name, the notes by id, and one item
  // of each kind. Done once the lists are read and again once the host has
  // given the ids; the lists do not change after that.
  void Index();
  // Where a pick of the named element lands, and its id once placed; false
  // for an unknown name.
  bool Find(const std::string& name, VekElementId& id, Point& pickPoint) const;
  // The drawing's own note with this id; null for any other.
  const Note* NoteWithId(VekElementId id) const;
  // One item of each kind that a pick tells apart: each dimension type,
  // each note kind, each type of other element.
  const std::vector<ItemRef>& KindSamples() const { return kindSamples_; }
  const FrameBox& Frame(int32_t frame) const { return frame == FRAME_TITLE ? title : figure; }

private:
  std::unordered_map<std::string, ItemRef> byName_;
  std::unordered_map<VekElementId, uint32_t> noteById_;
  std::vector<ItemRef> kindSamples_;
};

// A frame as drawing files and results name it: "figure" or "title".
const char* FrameKey(int32_t frame);

// Puts the drawing into the simulated host and records the ids it gave.
void PlaceDrawing(Drawing& drawing);

} // namespace vekhost

#endif

// Drawing files: the JSON form of a drawing that vekhost puts into the
// simulated host, and the JSON of what a session changed.
//
//   {
//     "frames": {                          // optional; these are the defaults
//       "figure": {"origin": [0, 0], "size": [297, 210]},
//       "title":  {"origin": [207, 0], "size": [90, 40]},  // by default in the
//                                          // figure frame's lower right corner
//       "current": "figure"                // or "title"
//     },
//     "dimensions": [{
//       "name": "width",                   // how events refer to it
//       "type": 12,                        // 12 to 15, 17, 22 to 26
//       "measure": 100, "decimals": 0,
//       "prefix": "", "suffix": "",        // texts around the value
//       "noteResult": 0,                   // 0 none, 1 prefix, 2 suffix, 3 both,
//                                          // other: the prefix replaces the value
//       "mark": 0,                         // 2: a diameter
//       "from": [0, 0], "to": [100, 0],    // the measured points
//       "offset": -10,                     // the dimension line's distance from them
//       "frame": "figure"
//     }],
//     "notes": [{"name": "label", "kind": 33, "at": [10, 10], "text": "TBD",
//                "height": 3.5, "width": 3, "pitch": 0, "frame": "figure"}],
//     "elements": [{"name": "edge", "type": 1, "from": [0, 0], "to": [100, 0]}]
//   }
//
// Only "name" and, for a dimension, "measure" are required; dimensions
// without points are laid out in rows in their frame. Coordinates are
// drawing units within the element's frame. In texts, "\u001c!" in front of a
// dimension value is the diameter sign.
#ifndef TRISPAN_VEKHOST_DRAWING_H
#define TRISPAN_VEKHOST_DRAWING_H

#include "SimHost.h"

#include <map>
#include <optional>
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

// A whole input file; throws InputError for a folder or a file that cannot be
// read.
std::string ReadInputFile(const std::string& path);

// Reads and checks a drawing file; throws InputError.
Drawing LoadDrawing(const std::string& path);
// Checks a drawing's JSON text; throws InputError naming path.
Drawing ParseDrawing(const std::string& text, const std::string& path);
// Puts the drawing into the simulated host and records the ids it gave.
void PlaceDrawing(Drawing& drawing);

// A note of the drawing after a session.
struct ResultNote {
  SimNote state;
  VekElementId id = 0;
  std::string name; // of a note the drawing had; empty for a new one
  bool isNew = false;
  bool changed = false; // text or size differs from the drawing's
};
std::vector<ResultNote> ResultNotes(const Drawing& drawing);
// The preview note that follows the cursor at the note step, if there is one.
std::optional<SimNote> PreviewNote();
// The new and changed notes and the current frame, as JSON text: each note's
// text as stored (the diameter signs as \ue000 or \ue11d) and readable (Ø).
std::string ResultJson(const std::vector<ResultNote>& notes);

} // namespace vekhost

#endif

// Drawing files: the JSON form of a drawing (docs/drawing-format.md, with
// its JSON Schema beside it), read and checked field by field.
//
//   {"frames": {"figure": {"origin": [0, 0], "size": [297, 210]},
//               "title": {"origin": [207, 0], "size": [90, 40]},
//               "current": "figure"},
//    "dimensions": [{"name": "width", "type": 12, "measure": 100, "decimals": 0,
//                    "prefix": "", "suffix": "", "noteResult": 0, "mark": 0,
//                    "from": [0, 0], "to": [100, 0], "offset": -10, "frame": "figure"}],
//    "notes": [{"name": "label", "kind": 33, "at": [10, 10], "text": "TBD",
//               "height": 3.5, "width": 3, "pitch": 0, "frame": "figure"}],
//    "elements": [{"name": "edge", "type": 1, "from": [0, 0], "to": [100, 0]}]}
//
// Only "name" and, for a dimension, "measure" are required; a field that is
// not known is a fault. Dimensions without points are laid out in rows in
// their frame; a title frame not given stands in the figure frame's lower
// right corner.
#ifndef TRISPAN_VEKHOST_DRAWINGFILE_H
#define TRISPAN_VEKHOST_DRAWINGFILE_H

#include "Drawing.h"

#include <string>

namespace vekhost {

// A whole input text file as UTF-8 (UTF-8 with or without its byte-order
// mark, UTF-16 with its mark); throws InputError for a folder, a file that
// cannot be read, or one in another encoding.
std::string ReadInputFile(const std::string& path);

// Reads and checks a drawing file; throws InputError.
Drawing LoadDrawing(const std::string& path);
// Checks a drawing's JSON text; throws InputError naming path and the place.
Drawing ParseDrawing(const std::string& text, const std::string& path);

} // namespace vekhost

#endif

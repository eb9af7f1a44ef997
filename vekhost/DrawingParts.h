// The drawing's items as the page draws them, in parts that it fetches one
// after another, so that it can draw the first ones while the rest come.
// The items do not change during a session (the notes written are in the
// state), so each part is kept in gzip form, made on the first request by
// whichever server thread asks; a client without gzip gets it made again.
//
// A part is {"part": K, "parts": P, "items": [...]}; each item an array:
//   ["d", name, type, frame, x1, y1, x2, y2, offset, text]  a dimension
//   ["n", name, kind, frame, x, y, height, text]             a note
//   ["e", name, type, frame, x1, y1, x2, y2]                 another element
// in frame coordinates, frame "figure" or "title", texts readable (Ø).
#ifndef TRISPAN_VEKHOST_DRAWINGPARTS_H
#define TRISPAN_VEKHOST_DRAWINGPARTS_H

#include "Drawing.h"
#include "WebApp.h"

#include <mutex>
#include <vector>

namespace vekhost {

// The items in one part (the last may have fewer).
const size_t kPartItems = 5000;

class DrawingParts {
public:
  // mark: the session's, for the parts' tags.
  DrawingParts(const Drawing& drawing, std::string mark);
  size_t Count() const { return gzipped_.size(); }
  // The part, in gzip form or not; no body past the last part.
  StoredBody Part(size_t index, bool gzip);

private:
  const Drawing& drawing_;
  std::string mark_;
  std::mutex mutex_;
  std::vector<std::shared_ptr<const std::string>> gzipped_;
};

// A part's JSON text.
std::string DrawingPartJson(const Drawing& drawing, size_t index);

} // namespace vekhost

#endif

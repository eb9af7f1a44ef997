#include "Drawing.h"

namespace vekhost {

const char* FrameKey(int32_t frame) { return frame == FRAME_TITLE ? "title" : "figure"; }

void PlaceDrawing(Drawing& drawing) {
  for (Dimension& d : drawing.dimensions) {
    SimDimension sim{d.type,           d.measure,        d.decimals, d.noteResult,
                     d.prefix.c_str(), d.suffix.c_str(), d.mark};
    d.id = SimAddDimension(&sim);
  }
  for (Note& n : drawing.notes) {
    SimSetCurrentFrame(n.frame);
    SimNote sim{n.kind, n.at.x, n.at.y, n.text.c_str(), n.height, n.width, n.pitch, n.frame, 0};
    n.id = SimAddNote(&sim);
  }
  for (Element& e : drawing.elements) e.id = SimAddElement(e.type);
  SimSetCurrentFrame(drawing.currentFrame);
}

bool Drawing::Find(const std::string& name, VekElementId& id, Point& pickPoint) const {
  // Dimensions and elements are picked at their middle, notes at their place.
  auto Search = [&](const auto& items, auto where) {
    for (const auto& item : items) {
      if (item.name != name) continue;
      id = item.id;
      pickPoint = where(item);
      return true;
    }
    return false;
  };
  auto Middle = [](const auto& item) {
    return Point{(item.from.x + item.to.x) / 2, (item.from.y + item.to.y) / 2};
  };
  return Search(dimensions, Middle) || Search(notes, [](const Note& n) { return n.at; }) ||
         Search(elements, Middle);
}

} // namespace vekhost

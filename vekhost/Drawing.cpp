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
  drawing.Index();
}

void Drawing::Index() {
  byName_.clear();
  noteById_.clear();
  kindSamples_.clear();
  std::map<std::pair<ItemRef::List, int32_t>, ItemRef> samples;
  auto add = [&](ItemRef::List list, const auto& items, auto kindOf) {
    for (uint32_t i = 0; i < items.size(); ++i) {
      byName_.emplace(items[i].name, ItemRef{list, i});
      samples.emplace(std::pair(list, kindOf(items[i])), ItemRef{list, i});
    }
  };
  add(ItemRef::kDimension, dimensions, [](const Dimension& d) { return d.type; });
  add(ItemRef::kNote, notes, [](const Note& n) { return n.kind; });
  add(ItemRef::kElement, elements, [](const Element& e) { return e.type; });
  for (uint32_t i = 0; i < notes.size(); ++i)
    if (notes[i].id) noteById_.emplace(notes[i].id, i);
  for (const auto& [kind, sample] : samples) kindSamples_.push_back(sample);
}

const Note* Drawing::NoteWithId(VekElementId id) const {
  auto it = noteById_.find(id);
  return it == noteById_.end() ? nullptr : &notes[it->second];
}

bool Drawing::Find(const std::string& name, VekElementId& id, Point& pickPoint) const {
  auto it = byName_.find(name);
  if (it == byName_.end()) return false;
  // Dimensions and elements are picked at their middle, notes at their place.
  auto middle = [](const auto& item) {
    return Point{(item.from.x + item.to.x) / 2, (item.from.y + item.to.y) / 2};
  };
  uint32_t i = it->second.index;
  switch (it->second.list) {
  case ItemRef::kDimension:
    id = dimensions[i].id, pickPoint = middle(dimensions[i]);
    break;
  case ItemRef::kNote:
    id = notes[i].id, pickPoint = notes[i].at;
    break;
  case ItemRef::kElement:
    id = elements[i].id, pickPoint = middle(elements[i]);
    break;
  }
  return true;
}

} // namespace vekhost

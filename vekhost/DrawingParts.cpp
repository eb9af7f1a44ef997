#include "DrawingParts.h"

#include "Gzip.h"
#include "Results.h"

#include <nlohmann/json.hpp>

namespace vekhost {

namespace {

using nlohmann::json;

size_t ItemCount(const Drawing& drawing) {
  return drawing.dimensions.size() + drawing.notes.size() + drawing.elements.size();
}

json ItemJson(const Dimension& d) {
  return {"d",      d.name, d.type, FrameKey(d.frame), d.from.x,
          d.from.y, d.to.x, d.to.y, d.offset,          ReadableText(DimensionLabel(d))};
}

json ItemJson(const Note& n) {
  return {"n", n.name, n.kind, FrameKey(n.frame), n.at.x, n.at.y, n.height, ReadableText(n.text)};
}

json ItemJson(const Element& e) {
  return {"e", e.name, e.type, FrameKey(e.frame), e.from.x, e.from.y, e.to.x, e.to.y};
}

} // namespace

std::string DrawingPartJson(const Drawing& drawing, size_t index) {
  size_t count = ItemCount(drawing);
  size_t parts = (count + kPartItems - 1) / kPartItems;
  json items = json::array();
  size_t first = index * kPartItems, end = std::min(count, first + kPartItems);
  size_t dimensions = drawing.dimensions.size(), notes = dimensions + drawing.notes.size();
  for (size_t i = first; i < end; ++i) {
    if (i < dimensions)
      items.push_back(ItemJson(drawing.dimensions[i]));
    else if (i < notes)
      items.push_back(ItemJson(drawing.notes[i - dimensions]));
    else
      items.push_back(ItemJson(drawing.elements[i - notes]));
  }
  return json{{"part", index}, {"parts", parts}, {"items", items}}.dump();
}

DrawingParts::DrawingParts(const Drawing& drawing, std::string mark)
    : drawing_(drawing), mark_(std::move(mark)),
      gzipped_((ItemCount(drawing) + kPartItems - 1) / kPartItems) {}

StoredBody DrawingParts::Part(size_t index, bool gzip) {
  if (index >= gzipped_.size()) return StoredBody{};
  std::string etag = "\"" + mark_ + "-" + std::to_string(index) + "\"";
  if (!gzip) return {etag, std::make_shared<const std::string>(DrawingPartJson(drawing_, index))};
  std::lock_guard<std::mutex> lock(mutex_);
  if (!gzipped_[index])
    gzipped_[index] = std::make_shared<const std::string>(Gzip(DrawingPartJson(drawing_, index)));
  return {etag, gzipped_[index], true};
}

} // namespace vekhost

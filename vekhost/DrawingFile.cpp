#include "DrawingFile.h"

#include "Language.h"
#include "TextFile.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <unordered_set>

namespace vekhost {

namespace {

using Json = nlohmann::json;

bool IsFinite(const Json& v) { return v.is_number() && std::isfinite(v.get<double>()); }

// Reads the fields of one JSON object, each checked, naming the object's
// place in the file in every error.
class Fields {
public:
  Fields(const Json& object, std::string file, std::string place)
      : object_(object), file_(std::move(file)), place_(std::move(place)) {
    if (!object.is_object()) Fail("", Tr("expected an object"));
  }

  void Number(const char* key, double& out, bool required = false) {
    if (const Json* v = Take(key, required)) {
      if (!v->is_number() || !std::isfinite(v->get<double>())) Fail(key, Tr("expected a number"));
      out = v->get<double>();
    }
  }
  void Integer(const char* key, int32_t& out, bool required = false) {
    if (const Json* v = Take(key, required)) {
      if (!v->is_number_integer() || *v < INT32_MIN || *v > INT32_MAX)
        Fail(key, Tr("expected a whole number"));
      out = v->get<int32_t>();
    }
  }
  void Text(const char* key, std::string& out, bool required = false) {
    if (const Json* v = Take(key, required)) {
      if (!v->is_string()) Fail(key, Tr("expected a text"));
      out = v->get<std::string>();
    }
  }
  // True when the point was given.
  bool At(const char* key, Point& out) {
    const Json* v = Take(key, false);
    if (!v) return false;
    if (!v->is_array() || v->size() != 2 || !IsFinite((*v)[0]) || !IsFinite((*v)[1]))
      Fail(key, Tr("expected a point [x, y]"));
    out = Point{(*v)[0].get<double>(), (*v)[1].get<double>()};
    return true;
  }
  void FrameName(const char* key, int32_t& out) {
    std::string name;
    Text(key, name);
    if (name.empty()) return;
    if (name != "figure" && name != "title") Fail(key, Tr("expected \"figure\" or \"title\""));
    out = name == "title" ? FRAME_TITLE : FRAME_FIGURE;
  }
  const Json* Object(const char* key) { return Take(key, false); }
  // Every field must have been read: a misspelt one is a fault.
  void Done() {
    for (const auto& item : object_.items())
      if (std::none_of(seen_.begin(), seen_.end(),
                       [&](const char* key) { return item.key() == key; }))
        Fail(item.key(), Tr("unknown field"));
  }
  [[noreturn]] void Fail(const std::string& key, const std::string& what) const {
    std::string at = place_ + (key.empty() ? "" : "/" + key);
    throw InputError(file_ + ": " + (at.empty() ? "" : at + ": ") + what);
  }
  const std::string& place() const { return place_; }

private:
  const Json* Take(const char* key, bool required) {
    seen_.push_back(key);
    auto it = object_.find(key);
    if (it == object_.end()) {
      if (required) Fail(key, Tr("missing"));
      return nullptr;
    }
    return &*it;
  }

  const Json& object_;
  std::string file_, place_;
  std::vector<const char*> seen_;
};

// "line:column" of the text's byte at a position counted from 1.
std::string Place(const std::string& text, size_t byte) {
  size_t line = 1, column = 1;
  for (size_t i = 0; i + 1 < byte && i < text.size(); ++i, ++column)
    if (text[i] == '\n') ++line, column = 0;
  return std::to_string(line) + ":" + std::to_string(column);
}

Json Parse(const std::string& text, const std::string& path,
           const Json::parser_callback_t& callback) {
  try {
    return Json::parse(text, callback);
  } catch (const Json::out_of_range& error) { // a number beyond a double's range
    // The library names the number but not its place: the number's first
    // appearance is its place.
    std::string what = error.what();
    size_t quote = what.find('\'');
    std::string number = what.substr(quote + 1, what.rfind('\'') - quote - 1);
    throw InputError(path + ":" + Place(text, text.find(number) + 1) + ": " +
                     Fill(Tr("the number {} is out of range"), {number}));
  } catch (const Json::parse_error& error) {
    size_t first = text.find_first_not_of(" \t\r\n");
    if (first != std::string::npos && text[first] != '{' && text[first] != '[')
      throw InputError(path + ": " +
                       Tr(text[first] == '#' || std::isalpha(uint8_t(text[first]))
                              ? "is not a drawing (a JSON object, { ... }): a script? The drawing "
                                "comes first: vekhost DRAWING.json SCRIPT"
                              : "is not a drawing (a JSON object, { ... })"));
    std::string what = error.what();
    throw InputError(path + ":" + Place(text, error.byte) + ": " +
                     what.substr(what.find("parse error")));
  }
}

// Reads the items of the drawing's lists while the file is parsed, each as
// soon as it is complete, so that the parsed file never holds them all.
class ItemReader {
public:
  using Read = std::function<void(const Json& item, const std::string& place)>;
  ItemReader(std::map<std::string, Read> lists) : lists_(std::move(lists)) {}

  // The parser's callback: false drops an item once it is read.
  bool operator()(int depth, Json::parse_event_t event, Json& parsed) {
    using Event = Json::parse_event_t;
    if (depth == 1 && event == Event::key) {
      auto it = lists_.find(parsed.get<std::string>());
      list_ = it == lists_.end() ? nullptr : &*it;
      count_ = 0;
    } else if (depth == 1 && event == Event::object_start) {
      list_ = nullptr; // the field is no list
    } else if (depth == 2 && list_ &&
               (event == Event::object_end || event == Event::array_end || event == Event::value)) {
      list_->second(parsed, "/" + list_->first + "/" + std::to_string(count_++));
      return false;
    }
    return true;
  }

private:
  std::map<std::string, Read> lists_;
  std::pair<const std::string, Read>* list_ = nullptr;
  size_t count_ = 0;
};

// The title frame a drawing does not give: in the figure frame's lower right
// corner, as a title block stands.
void PlaceTitleFrame(Drawing& drawing) {
  const FrameBox& figure = drawing.figure;
  FrameBox& title = drawing.title;
  title.size = Point{std::min(90.0, figure.size.x), std::min(40.0, figure.size.y)};
  title.origin = Point{figure.origin.x + figure.size.x - title.size.x, figure.origin.y};
}

// Dimensions given without their points, laid out in rows from the top left
// of their frame so that none covers another.
void LayOutDimensions(Drawing& drawing, const std::vector<bool>& placed) {
  std::map<int32_t, int> count; // per frame
  for (size_t i = 0; i < drawing.dimensions.size(); ++i) {
    if (placed[i]) continue;
    Dimension& d = drawing.dimensions[i];
    const FrameBox& box = drawing.Frame(d.frame);
    const double row = 14, margin = 10;
    int rows = std::max(1, int((box.size.y - 2 * margin) / row));
    int k = count[d.frame]++;
    double columnWidth = std::max(box.size.x / 2, 1.0);
    double x = margin + (k / rows) * columnWidth;
    double y = box.size.y - margin - row / 2 - (k % rows) * row;
    double length = std::clamp(std::fabs(d.measure), margin, columnWidth - 2 * margin);
    d.from = Point{x, y};
    d.to = Point{x + length, y};
    d.offset = 0;
  }
}

void ReadFrames(const Json& frames, const std::string& path, Drawing& drawing) {
  Fields f(frames, path, "/frames");
  for (auto [key, box] :
       {std::pair<const char*, FrameBox*>{"figure", &drawing.figure}, {"title", &drawing.title}}) {
    if (const Json* frame = f.Object(key)) {
      Fields g(*frame, path, "/frames/" + std::string(key));
      g.At("origin", box->origin);
      g.At("size", box->size);
      g.Done();
      if (box->size.x <= 0 || box->size.y <= 0) g.Fail("size", Tr("expected a positive size"));
    }
  }
  f.FrameName("current", drawing.currentFrame);
  f.Done();
  if (!f.Object("title")) PlaceTitleFrame(drawing);
}

} // namespace

std::string ReadInputFile(const std::string& path) {
  std::error_code code;
  if (std::filesystem::is_directory(path, code))
    throw InputError(Fill(Tr("{}: is a folder, not a file"), {path}));
  std::ifstream in(path, std::ios::binary);
  if (!in) throw InputError(Fill(Tr("{}: cannot be read"), {path}));
  std::string bytes;
  try {
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  } catch (const std::exception&) { // the stream buffer throws on a failed read
    throw InputError(Fill(Tr("{}: cannot be read"), {path}));
  }
  utf::Refusal why;
  std::optional<std::string> text = utf::DecodeTextFile(bytes, why);
  if (!text)
    throw InputError(
        path + ": " +
        Fill(Tr(utf::RefusalPattern(why.kind)), {std::to_string(why.byte), Tr(utf::kRemedy)}));
  return *text;
}

Drawing LoadDrawing(const std::string& path) { return ParseDrawing(ReadInputFile(path), path); }

namespace {

// Names: given, without blanks, and each used once in the drawing.
class NameBook {
public:
  void Take(Fields& f, std::string& name) {
    f.Text("name", name, true);
    if (name.empty() || name.find_first_of(" \t") != std::string::npos)
      f.Fail("name", Tr("expected a name without blanks"));
    if (!names_.insert(name).second) f.Fail("name", Fill(Tr("\"{}\" is used twice"), {name}));
  }

private:
  std::unordered_set<std::string> names_;
};

// A dimension; false when it came without its points.
bool ReadDimension(Fields& f, NameBook& names, Dimension& d) {
  names.Take(f, d.name);
  f.Integer("type", d.type);
  f.Number("measure", d.measure, true);
  f.Integer("decimals", d.decimals);
  f.Text("prefix", d.prefix);
  f.Text("suffix", d.suffix);
  f.Integer("noteResult", d.noteResult);
  f.Integer("mark", d.mark);
  bool from = f.At("from", d.from);
  bool to = f.At("to", d.to);
  f.Number("offset", d.offset);
  f.FrameName("frame", d.frame);
  f.Done();
  uint32_t type = uint32_t(d.type);
  if (type > VEK_MAX_DIMENSION_TYPE || !(VEK_DIMENSION_TYPES >> type & 1))
    f.Fail("type", Tr("expected a dimension type: 12 to 15, 17, 22 to 26"));
  return from || to;
}

void ReadNote(Fields& f, NameBook& names, Note& n) {
  names.Take(f, n.name);
  f.Integer("kind", n.kind);
  f.At("at", n.at);
  f.Text("text", n.text);
  f.Number("height", n.height);
  f.Number("width", n.width);
  f.Number("pitch", n.pitch);
  f.FrameName("frame", n.frame);
  f.Done();
}

void ReadElement(Fields& f, NameBook& names, Element& e) {
  names.Take(f, e.name);
  f.Integer("type", e.type);
  f.At("from", e.from);
  f.At("to", e.to);
  f.FrameName("frame", e.frame);
  f.Done();
}

} // namespace

Drawing ParseDrawing(const std::string& text, const std::string& path) {
  Drawing drawing;
  NameBook names;
  std::vector<bool> placed; // whether each dimension came with its points
  ItemReader reader({{"dimensions",
                      [&](const Json& item, const std::string& place) {
                        Fields f(item, path, place);
                        drawing.dimensions.emplace_back();
                        placed.push_back(ReadDimension(f, names, drawing.dimensions.back()));
                      }},
                     {"notes",
                      [&](const Json& item, const std::string& place) {
                        Fields f(item, path, place);
                        drawing.notes.emplace_back();
                        ReadNote(f, names, drawing.notes.back());
                      }},
                     {"elements", [&](const Json& item, const std::string& place) {
                        Fields f(item, path, place);
                        drawing.elements.emplace_back();
                        ReadElement(f, names, drawing.elements.back());
                      }}});
  Json json = Parse(text, path, std::ref(reader));
  if (!json.is_object())
    throw InputError(path + ": " +
                     Tr(json.is_array() ? "expected a drawing, a JSON object ({ ... }), not a list"
                                        : "expected a drawing, a JSON object ({ ... }), not a "
                                          "single value"));
  Fields top(json, path, "");
  if (const Json* frames = top.Object("frames")) ReadFrames(*frames, path, drawing);
  for (const char* list : {"dimensions", "notes", "elements"})
    if (const Json* items = top.Object(list); items && !items->is_array())
      top.Fail(list, Tr("expected a list"));
  top.Done();
  LayOutDimensions(drawing, placed);
  drawing.dimensions.shrink_to_fit();
  drawing.notes.shrink_to_fit();
  drawing.elements.shrink_to_fit();
  drawing.Index();
  return drawing;
}

} // namespace vekhost

#include "Picture.h"

#include "Language.h"
#include "Utf.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>

namespace vekhost {

namespace {

const double kPi = 3.14159265358979323846;
const double kTextHeight = 3.5; // the dimensions' text height, in drawing units

std::string Escape(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '&')
      out += "&amp;";
    else if (c == '<')
      out += "&lt;";
    else if (c == '>')
      out += "&gt;";
    else if (c == '"')
      out += "&quot;";
    else
      out += c;
  }
  return out;
}

// A coordinate to three decimals, without trailing zeros.
std::string Num(double value) {
  char buffer[400]; // the longest double in fixed notation
  char* end = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 3).ptr;
  while (end[-1] == '0') --end;
  if (end[-1] == '.') --end;
  std::string text(buffer, end);
  return text == "-0" ? "0" : text;
}

// The picture's text as it grows: appended to in place, with room made once
// for the whole drawing, so that a large drawing is not copied as it grows.
class SvgText {
public:
  explicit SvgText(size_t expected) { text_.reserve(expected); }
  SvgText& operator<<(const std::string& part) {
    text_ += part;
    return *this;
  }
  SvgText& operator<<(const char* part) {
    text_ += part;
    return *this;
  }
  std::string Take() { return std::move(text_); }

private:
  std::string text_;
};

// Maps frame coordinates to the picture (y grows downwards there).
struct View {
  double top; // the largest y of the drawing
  const Drawing& drawing;
  Point Map(int32_t frame, Point p) const {
    const FrameBox& box = drawing.Frame(frame);
    return Point{box.origin.x + p.x, top - (box.origin.y + p.y)};
  }
};

void Line(SvgText& out, Point a, Point b, const char* style) {
  out << "  <line x1=\"" << Num(a.x) << "\" y1=\"" << Num(a.y) << "\" x2=\"" << Num(b.x)
      << "\" y2=\"" << Num(b.y) << "\" " << style << "/>\n";
}

void Text(SvgText& out, Point at, double size, double angle, const std::string& text,
          const char* style) {
  out << "  <text x=\"" << Num(at.x) << "\" y=\"" << Num(at.y) << "\" font-size=\"" << Num(size)
      << "\"";
  if (angle != 0)
    out << " transform=\"rotate(" << Num(angle) << " " << Num(at.x) << " " << Num(at.y) << ")\"";
  out << " " << style << ">" << Escape(ReadableText(text)) << "</text>\n";
}

// The height a note is drawn at: its own, or the dimensions' text height
// for a note whose size is not a height.
double NoteSize(const ResultNote& note) { return note.height > 0 ? note.height : kTextHeight; }

// About the width of a text: wide characters (CJK) a square, others 0.6.
double TextWidth(const std::string& utf8, double size) {
  utf::CharacterWidths counts = utf::CountWidths(utf8);
  return (double(counts.wide) + 0.6 * double(counts.narrow)) * size;
}

// An invisible wide stroke over an element, so that a pointer finds it.
const char kHitArea[] = "stroke=\"transparent\" stroke-width=\"4\"";

// Opens a group for a named element of the drawing: data-name carries its
// name, for pages that let a person pick it.
void OpenNamed(SvgText& out, const std::string& name) {
  out << "  <g data-name=\"" << Escape(name) << "\">\n";
}

void DrawDimension(SvgText& out, const View& view, const Dimension& d) {
  double dx = d.to.x - d.from.x, dy = d.to.y - d.from.y;
  double length = std::hypot(dx, dy);
  if (length == 0) return;
  Point normal{-dy / length, dx / length};
  auto shifted = [&](Point p, double by) {
    return Point{p.x + normal.x * by, p.y + normal.y * by};
  };
  Point a = shifted(d.from, d.offset), b = shifted(d.to, d.offset);
  const char* style = "stroke=\"#1f5fbf\" stroke-width=\"0.3\"";
  Line(out, view.Map(d.frame, d.from), view.Map(d.frame, shifted(d.from, d.offset * 1.1)), style);
  Line(out, view.Map(d.frame, d.to), view.Map(d.frame, shifted(d.to, d.offset * 1.1)), style);
  out << "  <line x1=\"" << Num(view.Map(d.frame, a).x) << "\" y1=\"" << Num(view.Map(d.frame, a).y)
      << "\" x2=\"" << Num(view.Map(d.frame, b).x) << "\" y2=\"" << Num(view.Map(d.frame, b).y)
      << "\" " << style << " marker-start=\"url(#arrow)\" marker-end=\"url(#arrow)\"/>\n";
  Point middle = view.Map(d.frame, shifted(Point{(d.from.x + d.to.x) / 2, (d.from.y + d.to.y) / 2},
                                           d.offset + (d.offset < 0 ? -1 : 1) * 2.5));
  // Read from the bottom or the right side of the sheet: a vertical text
  // runs upwards.
  double angle = -std::atan2(dy, dx) * 180 / kPi;
  if (angle < -90) angle += 180;
  if (angle >= 90) angle -= 180;
  Text(out, middle, kTextHeight, angle, DimensionLabel(d),
       "fill=\"#1f5fbf\" text-anchor=\"middle\" dominant-baseline=\"middle\"");
  Line(out, view.Map(d.frame, a), view.Map(d.frame, b), kHitArea);
}

// The picture's frame: the viewBox around both frames, the arrow heads and a
// white sheet. No size of its own: the picture scales to the window that
// shows it; data-top is the y that a frame's coordinates are mirrored at.
void OpenPicture(SvgText& out, double left, double right, double bottom, double top,
                 const std::string& session) {
  out << "<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"" << Num(left) << " 0 "
      << Num(right - left) << " " << Num(top - bottom)
      << "\" font-family=\"sans-serif\" data-top=\"" << Num(top) << "\""
      << (session.empty() ? "" : " data-session=\"" + Escape(session) + "\"") << ">\n"
      << "  <defs><marker id=\"arrow\" viewBox=\"0 0 10 10\" refX=\"10\" refY=\"5\" "
         "markerWidth=\"6\" markerHeight=\"6\" orient=\"auto-start-reverse\">"
         "<path d=\"M 0 0 L 10 5 L 0 10 z\" fill=\"#1f5fbf\"/></marker></defs>\n"
      << "  <rect x=\"" << Num(left) << "\" y=\"0\" width=\"" << Num(right - left) << "\" height=\""
      << Num(top - bottom) << "\" fill=\"white\"/>\n";
}

// Both frames, the current one marked.
void DrawFrames(SvgText& out, const View& view) {
  int32_t current = SimGetCurrentFrame();
  for (int32_t frame : {FRAME_FIGURE, FRAME_TITLE}) {
    const FrameBox& box = view.drawing.Frame(frame);
    Point corner = view.Map(frame, Point{0, box.size.y});
    bool isCurrent = frame == current;
    out << "  <rect x=\"" << Num(corner.x) << "\" y=\"" << Num(corner.y) << "\" width=\""
        << Num(box.size.x) << "\" height=\"" << Num(box.size.y) << "\" fill=\"none\" stroke=\""
        << (isCurrent ? "#222" : "#999") << "\" stroke-width=\"" << (isCurrent ? "0.6" : "0.3")
        << "\"/>\n";
    const char* label = frame == FRAME_TITLE
                            ? (isCurrent ? N_("title frame (current)") : N_("title frame"))
                            : (isCurrent ? N_("figure frame (current)") : N_("figure frame"));
    Text(out, Point{corner.x + 1.5, corner.y + 4}, 3, 0, Tr(label), "fill=\"#777\"");
  }
}

// The elements and dimensions, each in a group named for a pointer.
void DrawElements(SvgText& out, const View& view) {
  for (const Element& e : view.drawing.elements) {
    OpenNamed(out, e.name);
    Line(out, view.Map(e.frame, e.from), view.Map(e.frame, e.to),
         "stroke=\"black\" stroke-width=\"0.5\"");
    Line(out, view.Map(e.frame, e.from), view.Map(e.frame, e.to), kHitArea);
    out << "  </g>\n";
  }
  for (const Dimension& d : view.drawing.dimensions) {
    OpenNamed(out, d.name);
    DrawDimension(out, view, d);
    out << "  </g>\n";
  }
}

// A note: new ones red; changed ones orange after their old text struck
// through; the drawing's own notes named for a pointer.
// own is the drawing's note, null for a new one; note is the note as the
// session left it.
void DrawNote(SvgText& out, const View& view, const Note* own, const ResultNote& note) {
  const char* color = note.isNew ? "#d01c1c" : note.changed ? "#e07b00" : "black";
  std::string style = std::string("fill=\"") + color + "\"";
  Point at = view.Map(note.frame, note.at);
  double size = note.isNew || note.changed ? std::max(note.height, 0.0) : NoteSize(note);
  if (own) OpenNamed(out, own->name);
  if (note.changed) {
    out << "  <text x=\"" << Num(at.x) << "\" y=\"" << Num(at.y) << "\" font-size=\"" << Num(size)
        << "\"><tspan fill=\"#999\" text-decoration=\"line-through\">"
        << Escape(ReadableText(own->text)) << "</tspan> <tspan " << style << ">"
        << Escape(ReadableText(note.text)) << "</tspan></text>\n";
  } else {
    Text(out, at, size, 0, note.text, style.c_str());
  }
  // A note the plug-in wrote with no height is as invisible in the drawing
  // as in the result file's size: the picture marks where it stands instead.
  if ((note.isNew || note.changed) && note.height <= 0)
    out << "  <circle cx=\"" << Num(at.x) << "\" cy=\"" << Num(at.y)
        << "\" r=\"1.5\" fill=\"none\" stroke=\"" << color << "\" stroke-dasharray=\"0.5\"><title>"
        << Escape(Fill(Tr("a note of no height: {}"), {ReadableText(note.text)}))
        << "</title></circle>\n";
  if (own) out << "  </g>\n";
}

// The drawing's notes, changed ones as they now stand, then the new ones.
void DrawNotes(SvgText& out, const View& view, const NoteBook& notes) {
  for (const Note& own : view.drawing.notes) {
    auto written = notes.Written().find(own.id);
    if (written != notes.Written().end()) {
      DrawNote(out, view, &own, written->second);
      continue;
    }
    ResultNote unchanged;
    unchanged.at = own.at;
    unchanged.text = own.text;
    unchanged.height = own.height;
    unchanged.frame = own.frame;
    DrawNote(out, view, &own, unchanged);
  }
  for (const auto& [id, note] : notes.Written())
    if (note.isNew) DrawNote(out, view, nullptr, note);
}

} // namespace

std::string DrawingSvg(const Drawing& drawing, const NoteBook& notes, const std::string& session) {
  const FrameBox& f = drawing.figure;
  const FrameBox& t = drawing.title;
  double left = std::min(f.origin.x, t.origin.x) - 10;
  double right = std::max(f.origin.x + f.size.x, t.origin.x + t.size.x) + 10;
  double bottom = std::min(f.origin.y, t.origin.y) - 10;
  double top = std::max(f.origin.y + f.size.y, t.origin.y + t.size.y) + 10;
  // A note written beside the sheet widens the picture, so that none is
  // left out of it.
  for (const auto& [id, note] : notes.Written()) {
    if (!note.isNew) continue;
    const FrameBox& box = drawing.Frame(note.frame);
    double x = box.origin.x + note.at.x, y = box.origin.y + note.at.y;
    double size = NoteSize(note);
    left = std::min(left, x - size);
    right = std::max(right, x + TextWidth(ReadableText(note.text), size) + size);
    bottom = std::min(bottom, y - size);
    top = std::max(top, y + 2 * size);
  }
  View view{top, drawing};
  // About the bytes an item takes, so that the text is made room for once.
  const size_t itemBytes = 400;
  SvgText out(4096 + itemBytes * (drawing.dimensions.size() + drawing.notes.size() +
                                  drawing.elements.size() + notes.Written().size()));
  OpenPicture(out, left, right, bottom, top, session);
  DrawFrames(out, view);
  DrawElements(out, view);
  DrawNotes(out, view, notes);
  out << "</svg>\n";
  return out.Take();
}

} // namespace vekhost

#include "StateViews.h"

#include "DialogPlayer.h"
#include "Results.h"
#include "Utf.h"
#include "WinStub.h"

#include <algorithm>

namespace vekhost {

using nlohmann::json;

namespace {

json PointJson(double x, double y) { return json::array({x, y}); }

json FrameJson(const FrameBox& box) {
  return {{"origin", PointJson(box.origin.x, box.origin.y)},
          {"size", PointJson(box.size.x, box.size.y)}};
}

// The named elements that a pick of would reach the plug-in now. The
// compare function is asked as the host asks it while the cursor moves;
// those calls are left out of the journal.
json Pickable(const Drawing& drawing) {
  json names = json::array();
  std::vector<std::string> all;
  for (const Dimension& d : drawing.dimensions) all.push_back(d.name);
  for (const Note& n : drawing.notes) all.push_back(n.name);
  for (const Element& e : drawing.elements) all.push_back(e.name);
  SimSetJournaling(0);
  for (const std::string& name : all) {
    VekElementId id = 0;
    Point at;
    if (!drawing.Find(name, id, at)) continue;
    SimEvent pick{EVT_PICK, 1, at.x, at.y, id, 0, nullptr};
    if (SimWouldDeliver(&pick)) names.push_back(name);
  }
  SimSetJournaling(1);
  return names;
}

// A control's class as the page names it.
const char* ControlClassName(WORD kind) {
  switch (kind) {
  case WINSTUB_CLASS_BUTTON:
    return "button";
  case WINSTUB_CLASS_EDIT:
    return "edit";
  case WINSTUB_CLASS_STATIC:
    return "static";
  case WINSTUB_CLASS_COMBO:
    return "combo";
  default:
    return "other";
  }
}

} // namespace

json DialogJson(HWND dialog) {
  WinStubDialogFrame frame{};
  WinStubGetDialogFrame(dialog, &frame);
  int count = WinStubDialogControls(dialog, nullptr, nullptr, 0);
  std::vector<WinStubControl> controls(static_cast<size_t>(count));
  std::vector<HWND> windows(static_cast<size_t>(count));
  WinStubDialogControls(dialog, controls.data(), windows.data(), count);
  json list = json::array();
  for (int i = 0; i < count; ++i) {
    const WinStubControl& c = controls[size_t(i)];
    json control = {{"id", c.id},
                    {"kind", ControlClassName(c.kind)},
                    {"style", c.style},
                    {"rect", {c.x, c.y, c.cx, c.cy}},
                    {"text", utf::ToUtf8(WindowText(windows[size_t(i)]))}};
    if (c.id != -1) control["name"] = DialogControlName(c.id);
    if (c.kind == WINSTUB_CLASS_COMBO) {
      json items = json::array();
      int n = int(SendMessageW(windows[size_t(i)], CB_GETCOUNT, 0, 0));
      for (int item = 0; item < n; ++item)
        items.push_back(utf::ToUtf8(ListItem(dialog, c.id, item)));
      control["items"] = items;
      control["selected"] = int(SendMessageW(windows[size_t(i)], CB_GETCURSEL, 0, 0));
    }
    if (c.kind == WINSTUB_CLASS_BUTTON)
      control["checked"] = IsDlgButtonChecked(dialog, c.id) == BST_CHECKED;
    list.push_back(control);
  }
  return {{"caption", utf::ToUtf8(WindowText(dialog))},
          {"size", {frame.cx, frame.cy}},
          {"font", {{"name", utf::ToUtf8(frame.typeface)}, {"points", frame.pointSize}}},
          {"controls", list}};
}

json StateJson(const Drawing& drawing, const Session& session, size_t journalFrom, bool ended) {
  json notes = json::array();
  for (const ResultNote& note : ResultNotes(drawing)) {
    if (!note.isNew && !note.changed) continue;
    const SimNote& s = note.state;
    notes.push_back({{"name", note.name},
                     {"new", note.isNew},
                     {"text", s.text},
                     {"readable", ReadableText(s.text)},
                     {"at", PointJson(s.x, s.y)},
                     {"frame", FrameKey(s.frame)},
                     {"height", s.height}});
  }
  json preview = nullptr;
  if (std::optional<SimNote> p = PreviewNote())
    preview = {{"readable", ReadableText(p->text)},
               {"at", PointJson(p->x, p->y)},
               {"frame", FrameKey(p->frame)},
               {"height", p->height}};
  json journal = json::array();
  size_t from =
      std::clamp<size_t>(journalFrom, size_t(SimJournalFirst()), size_t(SimJournalSize()));
  for (int32_t i = int32_t(from); i < SimJournalSize(); ++i) journal.push_back(SimJournalEntry(i));
  int32_t errors = SimErrorCount();
  return {{"running", !ended && session.Running()},
          {"ended", ended},
          {"prompt", SimPrompt()},
          {"cursor", SimCursorText()},
          {"error", errors > 0 ? SimError(errors - 1) : ""},
          {"frame", FrameKey(SimGetCurrentFrame())},
          {"frames", {{"figure", FrameJson(drawing.figure)}, {"title", FrameJson(drawing.title)}}},
          {"notes", notes},
          {"preview", preview},
          {"pickable", ended ? json::array() : Pickable(drawing)},
          {"dialog", session.OpenDialog() ? DialogJson(session.OpenDialog()) : json(nullptr)},
          {"journal",
           {{"from", from},
            {"size", SimJournalSize()},
            {"dropped", SimJournalFirst()},
            {"entries", journal}}}};
}

} // namespace vekhost

#include "StateViews.h"

#include "DialogPlayer.h"
#include "DrawingParts.h"
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

// What the step takes, as a rule the page applies to its own copy of the
// drawing: which events, and which kinds of item a pick reaches. The host's
// filter and the compare function look at an item's kind alone (a
// dimension's or element's type, a note's kind), so one item of each kind
// is asked, as the host asks while the cursor moves; those calls are left
// out of the journal.
json RuleJson(const Drawing& drawing, bool ended) {
  uint32_t mask = ended || !SimCommandRunning() ? 0 : SimEventMask();
  json rule = {{"motion", (mask & VEK_EVENTS_MOTION) != 0},
               {"points", (mask & VEK_EVENTS_DATA_POINTS) != 0},
               {"keyins", (mask & VEK_EVENTS_KEYINS) != 0},
               {"dimensions", json::array()},
               {"notes", json::array()},
               {"elements", json::array()}};
  if (!mask) return rule;
  SimSetJournaling(0);
  for (const ItemRef& sample : drawing.KindSamples()) {
    VekElementId id = 0;
    Point at;
    int32_t kind = 0;
    const char* list = "elements";
    if (sample.list == ItemRef::kDimension) {
      const Dimension& d = drawing.dimensions[sample.index];
      drawing.Find(d.name, id, at);
      kind = d.type, list = "dimensions";
    } else if (sample.list == ItemRef::kNote) {
      const Note& n = drawing.notes[sample.index];
      drawing.Find(n.name, id, at);
      kind = n.kind, list = "notes";
    } else {
      const Element& e = drawing.elements[sample.index];
      drawing.Find(e.name, id, at);
      kind = e.type;
    }
    SimEvent pick{EVT_PICK, 1, at.x, at.y, id, 0, nullptr};
    if (SimWouldDeliver(&pick)) rule[list].push_back(kind);
  }
  SimSetJournaling(1);
  return rule;
}

json NoteJson(const ResultNote& note) {
  return {{"id", note.id},
          {"name", note.name},
          {"new", note.isNew},
          {"text", note.text},
          {"readable", ReadableText(note.text)},
          {"at", PointJson(note.at.x, note.at.y)},
          {"frame", FrameKey(note.frame)},
          {"height", note.height}};
}

// Every part of the state that is small whatever the drawing holds.
json StepJson(const Drawing& drawing, const Session& session, uint64_t version, bool ended) {
  json preview = nullptr;
  if (std::optional<ResultNote> p = PreviewNote())
    preview = {{"readable", ReadableText(p->text)},
               {"at", PointJson(p->at.x, p->at.y)},
               {"frame", FrameKey(p->frame)},
               {"height", p->height}};
  int32_t errors = SimErrorCount();
  return {{"version", version},
          {"running", !ended && session.Running()},
          {"ended", ended},
          {"prompt", SimPrompt()},
          {"cursor", SimCursorText()},
          {"error", errors > 0 ? SimError(errors - 1) : ""},
          {"refused", *session.Refused() ? json(session.Refused()) : json(nullptr)},
          {"frame", FrameKey(SimGetCurrentFrame())},
          {"preview", preview},
          {"rule", RuleJson(drawing, ended)},
          {"dialog", session.OpenDialog() ? DialogJson(session.OpenDialog()) : json(nullptr)}};
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

json StateJson(const Drawing& drawing, const Session& session, uint64_t version, size_t journalFrom,
               bool ended) {
  json state = StepJson(drawing, session, version, ended);
  json notes = json::array();
  for (const auto& [id, note] : session.Notes().Written()) notes.push_back(NoteJson(note));
  state["notes"] = notes;
  size_t items = drawing.dimensions.size() + drawing.notes.size() + drawing.elements.size();
  state["drawing"] = {{"items", items}, {"parts", (items + kPartItems - 1) / kPartItems}};
  state["frames"] = {{"figure", FrameJson(drawing.figure)}, {"title", FrameJson(drawing.title)}};
  json journal = json::array();
  size_t from =
      std::clamp<size_t>(journalFrom, size_t(SimJournalFirst()), size_t(SimJournalSize()));
  for (int32_t i = int32_t(from); i < SimJournalSize(); ++i) journal.push_back(SimJournalEntry(i));
  state["journal"] = {{"from", from},
                      {"size", SimJournalSize()},
                      {"dropped", SimJournalFirst()},
                      {"entries", journal}};
  return state;
}

json ChangesJson(const Drawing& drawing, const Session& session, uint64_t version, uint64_t since,
                 std::optional<int32_t> noteChangesSince, bool ended) {
  json changes = StepJson(drawing, session, version, ended);
  changes["since"] = since;
  std::vector<VekElementId> ids;
  if (!noteChangesSince ||
      !session.Notes().ChangedSince(*noteChangesSince, kMostChangedNotes, ids)) {
    changes["resync"] = true;
    return changes;
  }
  json notes = json::array();
  for (VekElementId id : ids) {
    auto written = session.Notes().Written().find(id);
    notes.push_back(written == session.Notes().Written().end()
                        ? json{{"id", id}, {"written", false}}
                        : NoteJson(written->second));
  }
  changes["notes"] = notes;
  return changes;
}

} // namespace vekhost

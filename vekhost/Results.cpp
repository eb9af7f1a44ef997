#include "Results.h"

#include "DiameterSign.h"
#include "Printable.h"
#include "Utf.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <sstream>

namespace vekhost {

namespace {

const char kDiameter[] = "\xC3\x98"; // Ø

// The notes now in the drawing, previews included.
std::vector<VekElementId> NoteIds() {
  std::vector<VekElementId> ids(static_cast<size_t>(SimListNotes(nullptr, 0)));
  SimListNotes(ids.data(), int32_t(ids.size()));
  return ids;
}

std::string Replace(std::string text, const std::string& from, const std::string& to) {
  for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
    text.replace(at, from.size(), to);
  return text;
}

} // namespace

std::optional<SimNote> PreviewNote() {
  for (VekElementId id : NoteIds()) {
    SimNote note{};
    if (SimGetNote(id, &note) == 0 && note.preview) return note;
  }
  return std::nullopt;
}

std::vector<ResultNote> ResultNotes(const Drawing& drawing) {
  std::vector<ResultNote> result;
  for (VekElementId id : NoteIds()) {
    ResultNote note;
    note.id = id;
    if (SimGetNote(id, &note.state) != 0 || note.state.preview) continue;
    note.isNew = true;
    for (const Note& n : drawing.notes) {
      if (n.id != id) continue;
      note.isNew = false;
      note.name = n.name;
      note.changed = n.text != note.state.text || n.height != note.state.height ||
                     n.width != note.state.width || n.pitch != note.state.pitch;
    }
    result.push_back(note);
  }
  return result;
}

std::string ReadableText(const std::string& utf8) {
  std::string text = Replace(utf8, utf::ToUtf8(kDiameterCode), kDiameter);
  for (char16_t sign : {kSignExternalFont, kSignWindowsFont})
    text = Replace(text, utf::ToUtf8(std::u16string(1, sign)), kDiameter);
  return EscapeControls(text);
}

std::string NoteLine(const ResultNote& note) {
  const SimNote& s = note.state;
  std::ostringstream out;
  out << ReadableText(s.text) << "  (" << (note.isNew ? "new" : "changed: " + note.name) << ", at "
      << s.x << ", " << s.y << " in the " << FrameKey(s.frame) << " frame)";
  return out.str();
}

std::string ResultJson(const std::vector<ResultNote>& notes, const std::string& session) {
  nlohmann::json out;
  if (!session.empty()) out["session"] = session;
  out["frame"] = FrameKey(SimGetCurrentFrame());
  out["notes"] = nlohmann::json::array();
  for (const ResultNote& note : notes) {
    if (!note.isNew && !note.changed) continue;
    const SimNote& s = note.state;
    nlohmann::json item = {{"status", note.isNew ? "new" : "changed"},
                           {"kind", s.kind},
                           {"at", {s.x, s.y}},
                           {"text", s.text},
                           {"readable", ReadableText(s.text)},
                           {"height", s.height},
                           {"width", s.width},
                           {"pitch", s.pitch},
                           {"frame", FrameKey(s.frame)}};
    if (!note.name.empty()) item["name"] = note.name;
    out["notes"].push_back(item);
  }
  return utf::EscapePrivateUse(out.dump(2, ' ', false)) + "\n";
}

} // namespace vekhost

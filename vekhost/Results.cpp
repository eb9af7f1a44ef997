#include "Results.h"

#include "DiameterSign.h"
#include "DimensionText.h"
#include "Language.h"
#include "Printable.h"
#include "Utf.h"

#include <nlohmann/json.hpp>

#include <sstream>

namespace vekhost {

namespace {

const char kDiameter[] = "\xC3\x98"; // Ø

// A note as the host has it now; false for a note it has not, or a preview.
bool ReadNote(VekElementId id, ResultNote& out, bool preview = false) {
  SimNote note{};
  if (SimGetNote(id, &note) != 0 || (note.preview != 0) != preview) return false;
  out.id = id;
  out.kind = note.kind;
  out.at = Point{note.x, note.y};
  out.text = note.text;
  out.height = note.height, out.width = note.width, out.pitch = note.pitch;
  out.frame = note.frame;
  return true;
}

std::string Replace(std::string text, const std::string& from, const std::string& to) {
  for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
    text.replace(at, from.size(), to);
  return text;
}

} // namespace

NoteBook::NoteBook(const Drawing& drawing) : drawing_(drawing), seen_(SimNoteChangeCount()) {
  std::vector<VekElementId> ids(static_cast<size_t>(SimListNotes(nullptr, 0)));
  SimListNotes(ids.data(), int32_t(ids.size()));
  for (VekElementId id : ids) Take(id);
}

std::vector<VekElementId> NoteBook::Update() {
  std::vector<VekElementId> ids(static_cast<size_t>(SimChangedNotes(seen_, nullptr, 0)));
  SimChangedNotes(seen_, ids.data(), int32_t(ids.size()));
  seen_ = SimNoteChangeCount();
  for (VekElementId id : ids) Take(id);
  return ids;
}

void NoteBook::Take(VekElementId id) {
  ResultNote note;
  const Note* own = drawing_.NoteWithId(id);
  if (ReadNote(id, note)) {
    note.isNew = !own;
    if (own) {
      note.name = own->name;
      note.changed = own->text != note.text || own->height != note.height ||
                     own->width != note.width || own->pitch != note.pitch;
    }
  }
  if (note.isNew || note.changed)
    written_[id] = std::move(note);
  else
    written_.erase(id);
}

bool NoteBook::ChangedSince(int32_t since, size_t most, std::vector<VekElementId>& ids) const {
  ids.clear();
  if (since > seen_) return false;
  size_t count = size_t(SimChangedNotes(since, nullptr, 0));
  if (count > most) return false;
  ids.resize(count);
  SimChangedNotes(since, ids.data(), int32_t(count));
  return true;
}

std::optional<ResultNote> PreviewNote() {
  ResultNote note;
  if (VekElementId id = SimPreviewNote(); id && ReadNote(id, note, true)) return note;
  return std::nullopt;
}

std::string ReadableText(const std::string& utf8) {
  std::string text = Replace(utf8, utf::ToUtf8(kDiameterCode), kDiameter);
  for (char16_t sign : {kSignExternalFont, kSignWindowsFont})
    text = Replace(text, utf::ToUtf8(std::u16string(1, sign)), kDiameter);
  return EscapeControls(text);
}

std::string DimensionLabel(const Dimension& d) {
  DimensionReading reading;
  reading.measure = d.measure;
  reading.decimals = d.decimals;
  reading.noteResult = d.noteResult == VEK_FAILED ? VEK_DIM_NOTE_NONE : d.noteResult;
  reading.prefix = utf::ToUtf16(d.prefix);
  reading.suffix = utf::ToUtf16(d.suffix);
  std::string text = utf::ToUtf8(DimensionText(reading));
  bool signShown = HasDiameterPrefix(reading);
  return d.mark == VEK_DIM_MARK_DIAMETER && !signShown ? kDiameter + text : text;
}

std::string NoteLine(const ResultNote& note) {
  bool title = note.frame == FRAME_TITLE;
  const char* place = note.isNew ? (title ? N_("new, at {1}, {2} in the title frame")
                                          : N_("new, at {1}, {2} in the figure frame"))
                                 : (title ? N_("changed: {0}, at {1}, {2} in the title frame")
                                          : N_("changed: {0}, at {1}, {2} in the figure frame"));
  return ReadableText(note.text) + "  (" +
         Fill(Tr(place), {note.name, NumberText(note.at.x), NumberText(note.at.y)}) + ")";
}

std::string ResultJson(const NoteBook& notes, const std::string& session) {
  nlohmann::json out;
  if (!session.empty()) out["session"] = session;
  out["frame"] = FrameKey(SimGetCurrentFrame());
  out["notes"] = nlohmann::json::array();
  for (const auto& [id, note] : notes.Written()) {
    nlohmann::json item = {{"status", note.isNew ? "new" : "changed"},
                           {"kind", note.kind},
                           {"at", {note.at.x, note.at.y}},
                           {"text", note.text},
                           {"readable", ReadableText(note.text)},
                           {"height", note.height},
                           {"width", note.width},
                           {"pitch", note.pitch},
                           {"frame", FrameKey(note.frame)}};
    if (!note.name.empty()) item["name"] = note.name;
    out["notes"].push_back(item);
  }
  return utf::EscapePrivateUse(out.dump(2, ' ', false)) + "\n";
}

} // namespace vekhost

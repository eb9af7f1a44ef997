// What a session did to the drawing, as a person and a file see it: the
// notes written or changed, kept up to date as the host changes them, their
// texts readable (diameter signs as Ø), and the result file's JSON.
#ifndef TRISPAN_VEKHOST_RESULTS_H
#define TRISPAN_VEKHOST_RESULTS_H

#include "Drawing.h"

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace vekhost {

// A note of the drawing after a session.
struct ResultNote {
  VekElementId id = 0;
  int32_t kind = 0;
  Point at;
  std::string text;
  double height = 0, width = 0, pitch = 0;
  int32_t frame = FRAME_FIGURE;
  std::string name; // of a note the drawing had; empty for a new one
  bool isNew = false;
  bool changed = false; // text or size differs from the drawing's
};

// The notes that differ from the drawing's: the new ones and the drawing's
// own that were changed. Kept from the host's record of note changes, so
// that an event costs what it changed, not what the drawing holds.
class NoteBook {
public:
  // Reads every note now in the host.
  explicit NoteBook(const Drawing& drawing);
  // Takes the host's changes since the last look: the ids of the notes
  // changed, in the order of their last change (those that now equal the
  // drawing's again, or were removed, included).
  std::vector<VekElementId> Update();
  // The new and changed notes, in the order of creation.
  const std::map<VekElementId, ResultNote>& Written() const { return written_; }
  // The host's count of note changes at the last look.
  int32_t Seen() const { return seen_; }
  // The ids of the notes changed after the host's count was `since`, up to
  // the last look, each once; false, with none, when there are more than
  // `most` of them.
  bool ChangedSince(int32_t since, size_t most, std::vector<VekElementId>& ids) const;

private:
  void Take(VekElementId id);
  const Drawing& drawing_;
  std::map<VekElementId, ResultNote> written_;
  int32_t seen_ = 0;
};

// The preview note that follows the cursor at the note step, if there is one.
std::optional<ResultNote> PreviewNote();

// A note's or dimension's text as a person reads it: the diameter signs (the
// dimension's code and the notes' two characters) as Ø, control characters
// escaped (\x1b).
std::string ReadableText(const std::string& utf8);
// A dimension's text as the drawing shows it: as the plug-in reads it, with
// the diameter sign in front of a diameter whose texts do not show it. A
// dimension whose texts the host cannot read (note result -1) still shows
// its measure.
std::string DimensionLabel(const Dimension& dimension);
// A new or changed note as the session tells it: its readable text, whether
// it is new, where it stands and in which frame.
std::string NoteLine(const ResultNote& note);

// The new and changed notes and the current frame, as JSON text: each note's
// text as stored (the diameter signs as \ue000 or \ue11d) and readable (Ø),
// and the session that wrote it.
std::string ResultJson(const NoteBook& notes, const std::string& session = "");

} // namespace vekhost

#endif

// What a session did to the drawing, as a person and a file see it: the
// notes now in the simulated host beside the drawing's own, their texts
// readable (diameter signs as Ø), and the result file's JSON.
#ifndef TRISPAN_VEKHOST_RESULTS_H
#define TRISPAN_VEKHOST_RESULTS_H

#include "Drawing.h"

#include <optional>
#include <string>
#include <vector>

namespace vekhost {

// A note of the drawing after a session.
struct ResultNote {
  SimNote state;
  VekElementId id = 0;
  std::string name; // of a note the drawing had; empty for a new one
  bool isNew = false;
  bool changed = false; // text or size differs from the drawing's
};

// Every note now in the drawing but the preview, in the order of creation.
std::vector<ResultNote> ResultNotes(const Drawing& drawing);
// The preview note that follows the cursor at the note step, if there is one.
std::optional<SimNote> PreviewNote();

// A note's or dimension's text as a person reads it: the diameter signs (the
// dimension's code and the notes' two characters) as Ø, control characters
// escaped (\x1b).
std::string ReadableText(const std::string& utf8);
// A new or changed note as the session tells it: its readable text, whether
// it is new, where it stands and in which frame.
std::string NoteLine(const ResultNote& note);

// The new and changed notes and the current frame, as JSON text: each note's
// text as stored (the diameter signs as \ue000 or \ue11d) and readable (Ø),
// and the session that wrote it.
std::string ResultJson(const std::vector<ResultNote>& notes, const std::string& session = "");

} // namespace vekhost

#endif

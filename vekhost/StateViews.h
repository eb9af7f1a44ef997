// The session as the page sees it, in JSON: the prompt, cursor text and
// error, the frames, the notes written and the preview, the rule of what
// the step takes, the open dialog as its template lays it out, and the
// journal; whole, or as the changes since a version of it.
#ifndef TRISPAN_VEKHOST_STATEVIEWS_H
#define TRISPAN_VEKHOST_STATEVIEWS_H

#include "Session.h"

#include <nlohmann/json.hpp>

#include <optional>

namespace vekhost {

// The notes a change set carries at most; a page further behind reads the
// whole state.
const size_t kMostChangedNotes = 24;

// The state, journal entries from journalFrom on; an ended session runs no
// command and takes no events.
nlohmann::json StateJson(const Drawing& drawing, const Session& session, uint64_t version,
                         size_t journalFrom, bool ended);

// What changed since the version `since` (its note count known or not):
// every part of the state but the frames and the journal, and of the notes
// those changed since then ({"id", "written": false} for one that no longer
// differs from the drawing, or is gone). "resync" in place of the notes
// when they cannot be told (an unknown version, or too many changes).
nlohmann::json ChangesJson(const Drawing& drawing, const Session& session, uint64_t version,
                           uint64_t since, std::optional<int32_t> noteChangesSince, bool ended);

// The open dialog: caption, size and font, and every control with its class,
// rectangle in dialog units, text, list items, selection and check.
nlohmann::json DialogJson(HWND dialog);

} // namespace vekhost

#endif

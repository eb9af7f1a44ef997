// The session as the page sees it, in JSON: the prompt, cursor text and
// error, the frames, the notes written and the preview, what a pick would
// reach, the open dialog as its template lays it out, and the journal.
#ifndef TRISPAN_VEKHOST_STATEVIEWS_H
#define TRISPAN_VEKHOST_STATEVIEWS_H

#include "Session.h"

#include <nlohmann/json.hpp>

namespace vekhost {

// The state, journal entries from journalFrom on; an ended session runs no
// command and offers no picks.
nlohmann::json StateJson(const Drawing& drawing, const Session& session, size_t journalFrom,
                         bool ended);

// The open dialog: caption, size and font, and every control with its class,
// rectangle in dialog units, text, list items, selection and check.
nlohmann::json DialogJson(HWND dialog);

} // namespace vekhost

#endif

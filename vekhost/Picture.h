// The drawing after a session as an SVG picture: both frames (the current
// one marked), the dimensions with their texts, the elements, the notes
// (new ones in red, changed ones in orange), diameter signs shown as Ø.
#ifndef TRISPAN_VEKHOST_PICTURE_H
#define TRISPAN_VEKHOST_PICTURE_H

#include "Results.h"

#include <string>

namespace vekhost {

// session, when given, marks the picture's root (data-session) as the
// result JSON's "session" marks it, so that a reader can tell a pair.
std::string DrawingSvg(const Drawing& drawing, const NoteBook& notes,
                       const std::string& session = "");

} // namespace vekhost

#endif

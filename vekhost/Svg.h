// The drawing after a session as an SVG picture: both frames (the current
// one marked), the dimensions with their texts, the elements, the notes
// (new ones in red, changed ones in orange), diameter signs shown as Ø.
#ifndef TRISPAN_VEKHOST_SVG_H
#define TRISPAN_VEKHOST_SVG_H

#include "Drawing.h"

#include <string>

namespace vekhost {

std::string DrawingSvg(const Drawing& drawing, const std::vector<ResultNote>& notes);
// A note's text as a person reads it: the diameter signs as Ø, control
// characters left out.
std::string ReadableText(const std::string& utf8);
// A new or changed note as the session tells it: its readable text, whether
// it is new, where it stands and in which frame.
std::string NoteLine(const ResultNote& note);

} // namespace vekhost

#endif

// The drawing after a session as an SVG picture: both frames (the current
// one marked), the dimensions with their texts, the elements, the notes
// (new ones in red, changed ones in orange), diameter signs shown as Ø.
#ifndef TRISPAN_VEKHOST_PICTURE_H
#define TRISPAN_VEKHOST_PICTURE_H

#include "Results.h"

#include <string>

namespace vekhost {

std::string DrawingSvg(const Drawing& drawing, const std::vector<ResultNote>& notes);

} // namespace vekhost

#endif

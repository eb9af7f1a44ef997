// The files a session leaves: the result JSON and the picture.
#ifndef TRISPAN_VEKHOST_RESULTFILES_H
#define TRISPAN_VEKHOST_RESULTFILES_H

#include "Drawing.h"

#include <string>

namespace vekhost {

// Where a session's results go.
struct ResultPaths {
  std::string json, svg;
};

// Finds out before the session whether an output can be written there; an
// output that did not exist is not left behind. Throws Failure.
void CheckWritable(const std::string& path);

// Tells the new and changed notes and writes both files, saying where.
// Throws Failure when a file cannot be written.
void WriteResults(const Drawing& drawing, const ResultPaths& paths);

} // namespace vekhost

#endif

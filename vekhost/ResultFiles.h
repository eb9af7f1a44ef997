// The files a session leaves: the result JSON and the picture, written
// whole through the file seam, both marked with the session that wrote them.
#ifndef TRISPAN_VEKHOST_RESULTFILES_H
#define TRISPAN_VEKHOST_RESULTFILES_H

#include "Files.h"
#include "Results.h"

#include <string>

namespace vekhost {

// Where a session's results go, and the session's mark.
struct ResultPaths {
  std::string json, svg;
  std::string session; // random, one per run
};

// A new session's mark: 128 random bits, as hexadecimal.
std::string NewSessionMark();

// Finds out before the session whether an output can be written there,
// leaving nothing behind. Throws Failure (exit status 3).
void CheckWritable(files::Files& files, const std::string& path);

// Tells the new and changed notes and writes both files, saying where: both
// are written before either replaces the one before. Throws Failure (exit
// status 3) when they cannot be written; the files before are left as they
// were.
void WriteResults(files::Files& files, const Drawing& drawing, const NoteBook& notes,
                  const ResultPaths& paths);

} // namespace vekhost

#endif

#include "ResultFiles.h"

#include "Exit.h"
#include "Picture.h"
#include "Results.h"

#include <cstdio>
#include <iostream>
#include <random>

namespace vekhost {

std::string NewSessionMark() {
  std::random_device random;
  std::string mark;
  for (int part = 0; part < 4; ++part) {
    char hex[9];
    std::snprintf(hex, sizeof hex, "%08x", unsigned(random()));
    mark += hex;
  }
  return mark;
}

void CheckWritable(files::Files& files, const std::string& path) {
  if (files.Stat(path).folder) Fail(path + ": is a folder, not a file", kExitNotWritten);
  std::string folder = files::FolderOf(files.FollowLinks(path));
  files::FileInfo info = files.Stat(folder);
  if (!info.folder)
    Fail(path + ": cannot be written: " + folder +
             (info.exists ? " is not a folder" : " does not exist"),
         kExitNotWritten);
  std::unique_ptr<files::WritableFile> probe;
  std::string name = folder + "/.vekhost-probe-" + NewSessionMark();
  files::Status status = files.CreateNew(name, probe);
  if (!status.ok()) Fail(path + ": cannot be written: " + status.why(), kExitNotWritten);
  probe->Close();
  files.Remove(name);
}

void WriteResults(files::Files& files, const Drawing& drawing, const ResultPaths& paths) {
  std::vector<ResultNote> notes = ResultNotes(drawing);
  for (const ResultNote& note : notes)
    if (note.isNew || note.changed) std::cout << "note: " << NoteLine(note) << "\n";
  files::Status status = files::WriteEach(
      files, {{paths.json, ResultJson(notes, paths.session)},
              {paths.svg, DrawingSvg(drawing, notes, paths.session)}});
  if (!status.ok()) Fail(status.why(), kExitNotWritten);
  std::cout << "drawing: " << paths.json << "\npicture: " << paths.svg << "\n";
}

} // namespace vekhost

#include "ResultFiles.h"

#include "Exit.h"
#include "Language.h"
#include "Picture.h"

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
  if (files.Stat(path).folder)
    Fail(Fill(Tr("{}: is a folder, not a file"), {path}), kExitNotWritten);
  std::string folder = files::FolderOf(files.FollowLinks(path));
  files::FileInfo info = files.Stat(folder);
  if (!info.folder)
    Fail(Fill(Tr(info.exists ? "{}: cannot be written: {} is not a folder"
                             : "{}: cannot be written: {} does not exist"),
              {path, folder}),
         kExitNotWritten);
  std::unique_ptr<files::WritableFile> probe;
  std::string name = folder + "/.vekhost-probe-" + NewSessionMark();
  files::Status status = files.CreateNew(name, probe);
  if (!status.ok())
    Fail(Fill(Tr("{}: cannot be written: {}"), {path, status.why()}), kExitNotWritten);
  probe->Close();
  files.Remove(name);
}

void WriteResults(files::Files& files, const Drawing& drawing, const NoteBook& notes,
                  const ResultPaths& paths) {
  for (const auto& [id, note] : notes.Written())
    std::cout << Tr("note:") << " " << NoteLine(note) << "\n";
  // Each text made in its place, not copied: the picture of a large drawing
  // is large.
  std::vector<std::pair<std::string, std::string>> outputs(2);
  outputs[0] = {paths.json, ResultJson(notes, paths.session)};
  outputs[1] = {paths.svg, DrawingSvg(drawing, notes, paths.session)};
  files::Status status = files::WriteEach(files, outputs);
  if (!status.ok()) Fail(status.why(), kExitNotWritten);
  std::cout << Tr("drawing:") << " " << paths.json << "\n"
            << Tr("picture:") << " " << paths.svg << "\n";
}

} // namespace vekhost

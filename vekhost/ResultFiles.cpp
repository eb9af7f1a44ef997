#include "ResultFiles.h"

#include "Exit.h"
#include "Picture.h"
#include "Results.h"

#include <filesystem>
#include <fstream>
#include <iostream>

namespace vekhost {

namespace {

void WriteFile(const std::string& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary);
  if (!out.write(text.data(), std::streamsize(text.size())))
    Fail(path + ": cannot be written", kExitNotWritten);
}

} // namespace

void CheckWritable(const std::string& path) {
  std::error_code code;
  if (std::filesystem::is_directory(path, code))
    Fail(path + ": is a folder, not a file", kExitNotWritten);
  bool existed = std::filesystem::exists(path, code);
  if (!std::ofstream(path, std::ios::binary | std::ios::app))
    Fail(path + ": cannot be written", kExitNotWritten);
  if (!existed) std::filesystem::remove(path, code);
}

void WriteResults(const Drawing& drawing, const ResultPaths& paths) {
  std::vector<ResultNote> notes = ResultNotes(drawing);
  for (const ResultNote& note : notes)
    if (note.isNew || note.changed) std::cout << "note: " << NoteLine(note) << "\n";
  WriteFile(paths.json, ResultJson(notes));
  WriteFile(paths.svg, DrawingSvg(drawing, notes));
  std::cout << "drawing: " << paths.json << "\npicture: " << paths.svg << "\n";
}

} // namespace vekhost

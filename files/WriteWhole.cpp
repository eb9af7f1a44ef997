#include "Files.h"

#include <random>

namespace files {

namespace {

TemporaryWatcher watcher = nullptr;

void Watch(const std::string& path, bool created) {
  if (watcher) watcher(path, created);
}

// A name beside the target that no other writer picks: the target's name,
// hidden, and a random part.
std::string TemporaryName(const std::string& target) {
  static std::mt19937_64 random{std::random_device{}()};
  size_t slash = target.find_last_of("/\\");
  std::string folder = slash == std::string::npos ? "" : target.substr(0, slash + 1);
  std::string name = slash == std::string::npos ? target : target.substr(slash + 1);
  return folder + "." + name + ".tmp-" + std::to_string(random());
}

// A temporary holding the bytes, on the disk and closed, with the target's
// access; its path in temporary.
Status WriteTemporary(Files& files, const std::string& target, std::string_view bytes,
                      std::string& temporary) {
  FileInfo old = files.Stat(target);
  if (old.folder) return Status::Failed("it is a folder, not a file");
  std::unique_ptr<WritableFile> file;
  Status status;
  for (int attempt = 0; attempt < 4; ++attempt) {
    temporary = TemporaryName(target);
    status = files.CreateNew(temporary, file);
    if (status.ok()) break;
  }
  if (!status.ok()) return status;
  Watch(temporary, true);
  status = file->Append(bytes);
  if (status.ok()) status = file->Sync();
  Status closed = file->Close();
  if (status.ok()) status = closed;
  if (status.ok()) status = old.exists ? files.SetAccess(temporary, old) : files.SetNewFileMode(temporary);
  if (!status.ok()) {
    files.Remove(temporary);
    Watch(temporary, false);
  }
  return status;
}

struct Prepared {
  std::string path, target, temporary;
};

void RemoveAll(Files& files, const std::vector<Prepared>& prepared) {
  for (const Prepared& p : prepared) {
    files.Remove(p.temporary);
    Watch(p.temporary, false);
  }
}

} // namespace

std::string FolderOf(const std::string& path) {
  size_t slash = path.find_last_of("/\\");
  if (slash == std::string::npos) return ".";
  return slash == 0 ? path.substr(0, 1) : path.substr(0, slash);
}

void WatchTemporaries(TemporaryWatcher watch) { watcher = watch; }

Status WriteWhole(Files& files, const std::string& path, std::string_view bytes) {
  return WriteEach(files, {{path, std::string(bytes)}});
}

Status WriteEach(Files& files, const std::vector<std::pair<std::string, std::string>>& outputs) {
  std::vector<Prepared> prepared;
  for (const auto& [path, bytes] : outputs) {
    Prepared p{path, files.FollowLinks(path), ""};
    Status status = WriteTemporary(files, p.target, bytes, p.temporary);
    if (!status.ok()) {
      RemoveAll(files, prepared);
      return Status::Failed(path + ": cannot be written: " + status.why());
    }
    prepared.push_back(p);
  }
  for (size_t i = 0; i < prepared.size(); ++i) {
    const Prepared& p = prepared[i];
    Status status = files.Rename(p.temporary, p.target);
    if (status.ok()) status = files.SyncFolder(FolderOf(p.target));
    if (!status.ok()) {
      RemoveAll(files, std::vector<Prepared>(prepared.begin() + long(i), prepared.end()));
      return Status::Failed(p.path + ": cannot be written: " + status.why());
    }
    Watch(p.temporary, false);
  }
  return Status();
}

} // namespace files

// The stand-in registry's file: read at the first call and whenever another
// process has replaced it; written only at a flush, whole, under a lock on a
// file beside it, after reading it again, so that two processes saving at
// once each keep the values the other set.
#include "RegistryState.h"

#include <cstdlib>
#include <filesystem>

namespace winstub {

namespace {

using regfile::RegKey;

std::string DefaultFile() {
  if (const char* path = std::getenv("WINSTUB_REGISTRY"); path && *path) return path;
  std::string base;
  if (const char* config = std::getenv("XDG_CONFIG_HOME"); config && *config)
    base = config;
  else if (const char* home = std::getenv("HOME"); home && *home)
    base = std::string(home) + "/.config";
  else
    base = ".";
  return base + "/vekhost/registry.reg";
}

files::Files& Files() {
  Registry& r = State();
  return r.files ? *r.files : files::RealFiles();
}

bool SameState(const files::FileInfo& a, const files::FileInfo& b) {
  return a.exists == b.exists && (!a.exists || (a.SameFileAs(b) && a.size == b.size &&
                                                a.modified == b.modified));
}

// The keys the file holds now (none when it does not exist); false with the
// reason in error.
bool ReadKeys(const std::string& file, RegKey& root, files::FileInfo& info, std::string& error) {
  info = Files().Stat(file);
  root = RegKey();
  if (!info.exists) return true;
  std::string bytes;
  files::Status status = Files().Read(file, bytes);
  if (!status.ok()) {
    error = file + ": " + (info.folder ? "is a folder, not a file" : "cannot be read: " + status.why());
    return false;
  }
  if (!regfile::ParseRegFile(bytes, root, error)) {
    error = file + ":" + error;
    return false;
  }
  return true;
}

void FlushAtExit() { Flush(); }

} // namespace

Registry& State() {
  static Registry* registry = [] {
    files::RealFiles();      // made before the flush at exit is registered
    std::atexit(FlushAtExit); // so it still stands when that flush runs
    return new Registry;
  }();
  return *registry;
}

bool Load() {
  Registry& r = State();
  if (r.memoryOnly) return r.loaded = true;
  if (r.file.empty()) {
    r.file = DefaultFile();
    r.defaultFile = true;
  }
  if (r.loaded && (r.broken || SameState(Files().Stat(r.file), r.seen))) return !r.broken;
  RegKey root;
  files::FileInfo info;
  std::string error;
  if (!ReadKeys(r.file, root, info, error)) {
    // Unreadable at the start, it stops every call; replaced by another
    // process with an unreadable file, it is left for the next flush to say.
    if (!r.loaded) r.broken = true, r.error = error;
    r.loaded = true;
    return !r.broken;
  }
  for (const Change& change : r.changes) Apply(root, change);
  r.root = std::move(root);
  r.seen = info;
  r.loaded = true;
  return true;
}

void Make(const Change& change) {
  Registry& r = State();
  Apply(r.root, change);
  if (r.memoryOnly) return;
  r.changes.push_back(change);
  r.dirty = true;
}

bool Flush() {
  Registry& r = State();
  if (r.memoryOnly || !r.loaded || r.broken || !r.dirty) return !r.broken;
  r.dirty = false;
  files::Files& f = Files();
  std::string target = f.FollowLinks(r.file);
  std::error_code ignored;
  if (r.defaultFile) std::filesystem::create_directories(files::FolderOf(target), ignored);
  std::unique_ptr<files::FileLock> lock;
  files::Status status = f.Lock(target + ".lock", lock);
  RegKey root;
  files::FileInfo info;
  std::string error;
  if (!status.ok())
    error = target + ".lock: cannot be locked: " + status.why();
  else if (ReadKeys(r.file, root, info, error)) {
    for (const Change& change : r.changes) Apply(root, change);
    status = files::WriteWhole(f, r.file, regfile::WriteRegFile(root));
    if (status.ok()) {
      r.root = std::move(root);
      r.changes.clear();
      r.seen = f.Stat(r.file);
      return true;
    }
    error = status.why();
  }
  ++r.failedSaves;
  r.saveError = error;
  return false;
}

} // namespace winstub

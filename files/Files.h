// Files as the tools see them: one seam for every file they write (the
// settings file, vekhost's results, the release's files), so that tests can
// put a double in its place that fails any call or fills the disk.
//
// Paths are UTF-8. A failure comes back as a Status that says why, as the
// system says it ("No space left on device"); WriteWhole and WriteEach name
// the file in front ("r.json: cannot be written: No space left on device").
#ifndef TRISPAN_FILES_FILES_H
#define TRISPAN_FILES_FILES_H

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace files {

// Done, or why not.
class Status {
public:
  Status() = default;
  static Status Failed(std::string why) { return Status(std::move(why)); }
  bool ok() const { return why_.empty(); }
  const std::string& why() const { return why_; }

private:
  explicit Status(std::string why) : why_(why.empty() ? "failed" : std::move(why)) {}
  std::string why_;
};

// A file as it stands, links followed.
struct FileInfo {
  bool exists = false;
  bool folder = false;
  uint64_t device = 0, inode = 0; // which file it is
  uint32_t mode = 0;              // permission bits
  uint32_t owner = 0, group = 0;
  uint64_t size = 0;
  int64_t modified = 0; // in the system's own units: a change, not a time

  bool SameFileAs(const FileInfo& other) const {
    return exists && other.exists && device == other.device && inode == other.inode;
  }
};

// A file being written: each call checked, none of them retried.
class WritableFile {
public:
  virtual ~WritableFile() = default;
  virtual Status Append(std::string_view bytes) = 0;
  // Flushes what was appended to the disk.
  virtual Status Sync() = 0;
  // A file not closed is closed by its destructor, unchecked.
  virtual Status Close() = 0;
};

// An exclusive lock on a file, held until it is destroyed.
class FileLock {
public:
  virtual ~FileLock() = default;
};

class Files {
public:
  virtual ~Files() = default;
  // Creates a file that does not exist yet (never one that does), readable
  // and writable by its owner alone until SetAccess.
  virtual Status CreateNew(const std::string& path, std::unique_ptr<WritableFile>& file) = 0;
  // The whole file.
  virtual Status Read(const std::string& path, std::string& bytes) = 0;
  virtual FileInfo Stat(const std::string& path) = 0;
  // The file a path names once its links are followed (the path itself when
  // it is no link; a link to a missing file gives that file's path).
  virtual std::string FollowLinks(const std::string& path) = 0;
  // Gives path the mode, owner and group of like; fails when the process may
  // not give that owner or group.
  virtual Status SetAccess(const std::string& path, const FileInfo& like) = 0;
  // Gives a new file the mode a new file of this process gets (the umask's).
  virtual Status SetNewFileMode(const std::string& path) = 0;
  // Replaces to with from, in one step.
  virtual Status Rename(const std::string& from, const std::string& to) = 0;
  virtual Status Remove(const std::string& path) = 0;
  // Flushes a folder's entries (a rename in it) to the disk.
  virtual Status SyncFolder(const std::string& folder) = 0;
  // Waits for an exclusive lock on path, created when missing.
  virtual Status Lock(const std::string& path, std::unique_ptr<FileLock>& lock) = 0;
};

// The machine's own files.
Files& RealFiles();

// The folder a path stands in ("." for a bare name).
std::string FolderOf(const std::string& path);

// The one way the tools write a file: whole or not at all. The bytes go to a
// temporary file of a unique name in the target's folder (created
// exclusively), every write checked, flushed to the disk and closed; it
// takes the target's mode, owner and group (or a new file's mode), replaces
// the target in one rename, and the folder is flushed. A link is followed:
// the file it names is replaced and the link stays. On any failure the
// temporary is removed and the target left as it was.
Status WriteWhole(Files& files, const std::string& path, std::string_view bytes);

// Several files, each whole: all are written to their temporaries before
// the first replaces its target, so that a failure leaves every target as it
// was. (A stop between two renames can still leave some replaced and the
// rest as they were.)
Status WriteEach(Files& files, const std::vector<std::pair<std::string, std::string>>& outputs);

// Called with each temporary file's path when it is created and (empty)
// when it is gone, so that a program stopped at once can remove it.
using TemporaryWatcher = void (*)(const std::string& path, bool created);
void WatchTemporaries(TemporaryWatcher watcher);

} // namespace files

#endif

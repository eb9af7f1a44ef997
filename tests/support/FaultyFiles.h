// The machine's files with faults put in on purpose, in the manner of a
// fault-injecting environment: from a chosen call of a kind on, every call
// of that kind fails; or the disk fills after so many bytes.
#ifndef TRISPAN_TESTS_FAULTYFILES_H
#define TRISPAN_TESTS_FAULTYFILES_H

#include "Files.h"

#include <array>

class FaultyFiles : public files::Files {
public:
  enum Call { kCreate, kAppend, kSync, kClose, kSetAccess, kRename, kSyncFolder, kLock, kCalls };
  static const char* Name(Call call);

  // The count-th call of this kind (counting from 1) fails, and those after.
  void FailFrom(Call call, int count) { failFrom_[call] = count; }
  // Appends write up to this many bytes in all, then fail as a full disk.
  void FillDiskAfter(size_t bytes) { room_ = bytes; }
  int Count(Call call) const { return counts_[call]; }

  files::Status CreateNew(const std::string& path,
                          std::unique_ptr<files::WritableFile>& file) override;
  files::Status Read(const std::string& path, std::string& bytes) override;
  files::FileInfo Stat(const std::string& path) override;
  std::string FollowLinks(const std::string& path) override;
  files::Status SetAccess(const std::string& path, const files::FileInfo& like) override;
  files::Status SetNewFileMode(const std::string& path) override;
  files::Status Rename(const std::string& from, const std::string& to) override;
  files::Status Remove(const std::string& path) override;
  files::Status SyncFolder(const std::string& folder) override;
  files::Status Lock(const std::string& path, std::unique_ptr<files::FileLock>& lock) override;

  // The call fails now (and is counted).
  bool Fails(Call call);
  // How much of bytes still fits on the disk; the rest is refused.
  size_t Room(size_t bytes);

private:
  std::array<int, kCalls> failFrom_{};
  std::array<int, kCalls> counts_{};
  size_t room_ = SIZE_MAX;
};

#endif

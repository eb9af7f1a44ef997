#include "FaultyFiles.h"

namespace {

files::Status Injected(FaultyFiles::Call call) {
  return files::Status::Failed(std::string("injected ") + FaultyFiles::Name(call) + " failure");
}

// A file whose calls go through the faults of the files that made it.
class FaultyFile : public files::WritableFile {
public:
  FaultyFile(FaultyFiles& faults, std::unique_ptr<files::WritableFile> file)
      : faults_(faults), file_(std::move(file)) {}
  files::Status Append(std::string_view bytes) override {
    if (faults_.Fails(FaultyFiles::kAppend)) return Injected(FaultyFiles::kAppend);
    size_t room = faults_.Room(bytes.size());
    files::Status status = file_->Append(bytes.substr(0, room));
    if (status.ok() && room < bytes.size()) return files::Status::Failed("No space left on device");
    return status;
  }
  files::Status Sync() override {
    return faults_.Fails(FaultyFiles::kSync) ? Injected(FaultyFiles::kSync) : file_->Sync();
  }
  files::Status Close() override {
    files::Status status = file_->Close();
    return faults_.Fails(FaultyFiles::kClose) ? Injected(FaultyFiles::kClose) : status;
  }

private:
  FaultyFiles& faults_;
  std::unique_ptr<files::WritableFile> file_;
};

} // namespace

const char* FaultyFiles::Name(Call call) {
  const char* names[] = {"create", "write", "sync", "close", "access", "rename", "folder sync",
                         "lock"};
  return names[call];
}

bool FaultyFiles::Fails(Call call) {
  int count = ++counts_[call];
  return failFrom_[call] > 0 && count >= failFrom_[call];
}

size_t FaultyFiles::Room(size_t bytes) {
  size_t taken = bytes < room_ ? bytes : room_;
  if (room_ != SIZE_MAX) room_ -= taken;
  return taken;
}

files::Status FaultyFiles::CreateNew(const std::string& path,
                                     std::unique_ptr<files::WritableFile>& file) {
  if (Fails(kCreate)) return Injected(kCreate);
  std::unique_ptr<files::WritableFile> real;
  files::Status status = files::RealFiles().CreateNew(path, real);
  if (status.ok()) file = std::make_unique<FaultyFile>(*this, std::move(real));
  return status;
}

files::Status FaultyFiles::Read(const std::string& path, std::string& bytes) {
  return files::RealFiles().Read(path, bytes);
}

files::FileInfo FaultyFiles::Stat(const std::string& path) {
  return files::RealFiles().Stat(path);
}

std::string FaultyFiles::FollowLinks(const std::string& path) {
  return files::RealFiles().FollowLinks(path);
}

files::Status FaultyFiles::SetAccess(const std::string& path, const files::FileInfo& like) {
  return Fails(kSetAccess) ? Injected(kSetAccess) : files::RealFiles().SetAccess(path, like);
}

files::Status FaultyFiles::SetNewFileMode(const std::string& path) {
  return Fails(kSetAccess) ? Injected(kSetAccess) : files::RealFiles().SetNewFileMode(path);
}

files::Status FaultyFiles::Rename(const std::string& from, const std::string& to) {
  return Fails(kRename) ? Injected(kRename) : files::RealFiles().Rename(from, to);
}

files::Status FaultyFiles::Remove(const std::string& path) {
  return files::RealFiles().Remove(path);
}

files::Status FaultyFiles::SyncFolder(const std::string& folder) {
  return Fails(kSyncFolder) ? Injected(kSyncFolder) : files::RealFiles().SyncFolder(folder);
}

files::Status FaultyFiles::Lock(const std::string& path, std::unique_ptr<files::FileLock>& lock) {
  return Fails(kLock) ? Injected(kLock) : files::RealFiles().Lock(path, lock);
}

// The files of Windows. Paths are UTF-8, turned into UTF-16 for the calls;
// there are no links to follow and no owners to keep.
#include "Files.h"

#include "Utf.h"

#include <windows.h>

namespace files {

namespace {

std::wstring Wide(const std::string& path) {
  std::u16string text = utf::ToUtf16(path);
  return std::wstring(text.begin(), text.end());
}

Status LastError() {
  DWORD code = GetLastError();
  wchar_t* text = nullptr;
  DWORD length = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                    FORMAT_MESSAGE_IGNORE_INSERTS,
                                nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::u16string message(text, text + length);
  LocalFree(text);
  while (!message.empty() && (message.back() == u'\n' || message.back() == u'\r' ||
                              message.back() == u'.'))
    message.pop_back();
  return Status::Failed(message.empty() ? "error " + std::to_string(code) : utf::ToUtf8(message));
}

class WindowsFile : public WritableFile {
public:
  explicit WindowsFile(HANDLE handle) : handle_(handle) {}
  ~WindowsFile() override {
    if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
  }
  Status Append(std::string_view bytes) override {
    while (!bytes.empty()) {
      DWORD chunk = DWORD(bytes.size() > (1u << 30) ? (1u << 30) : bytes.size()), written = 0;
      if (!WriteFile(handle_, bytes.data(), chunk, &written, nullptr)) return LastError();
      if (written == 0) return Status::Failed("nothing could be written");
      bytes.remove_prefix(written);
    }
    return Status();
  }
  Status Sync() override { return FlushFileBuffers(handle_) ? Status() : LastError(); }
  Status Close() override {
    HANDLE handle = handle_;
    handle_ = INVALID_HANDLE_VALUE;
    return CloseHandle(handle) ? Status() : LastError();
  }

private:
  HANDLE handle_;
};

class WindowsLock : public FileLock {
public:
  explicit WindowsLock(HANDLE handle) : handle_(handle) {}
  ~WindowsLock() override { CloseHandle(handle_); } // the lock goes with the handle

private:
  HANDLE handle_;
};

class WindowsFiles : public Files {
public:
  Status CreateNew(const std::string& path, std::unique_ptr<WritableFile>& file) override {
    HANDLE handle = CreateFileW(Wide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return LastError();
    file = std::make_unique<WindowsFile>(handle);
    return Status();
  }

  Status Read(const std::string& path, std::string& bytes) override {
    if (Stat(path).folder) return Status::Failed("it is a folder, not a file");
    HANDLE handle = CreateFileW(Wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return LastError();
    bytes.clear();
    char buffer[65536];
    DWORD got = 0;
    BOOL read;
    while ((read = ReadFile(handle, buffer, sizeof buffer, &got, nullptr)) && got > 0)
      bytes.append(buffer, got);
    Status status = read ? Status() : LastError();
    CloseHandle(handle);
    return status;
  }

  FileInfo Stat(const std::string& path) override {
    FileInfo info;
    HANDLE handle = CreateFileW(Wide(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return info;
    BY_HANDLE_FILE_INFORMATION about{};
    if (GetFileInformationByHandle(handle, &about)) {
      info.exists = true;
      info.folder = (about.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
      info.device = about.dwVolumeSerialNumber;
      info.inode = uint64_t(about.nFileIndexHigh) << 32 | about.nFileIndexLow;
      info.size = uint64_t(about.nFileSizeHigh) << 32 | about.nFileSizeLow;
      info.modified = int64_t(uint64_t(about.ftLastWriteTime.dwHighDateTime) << 32 |
                              about.ftLastWriteTime.dwLowDateTime);
    }
    CloseHandle(handle);
    return info;
  }

  std::string FollowLinks(const std::string& path) override { return path; }
  Status SetAccess(const std::string&, const FileInfo&) override { return Status(); }
  Status SetNewFileMode(const std::string&) override { return Status(); }

  Status Rename(const std::string& from, const std::string& to) override {
    return MoveFileExW(Wide(from).c_str(), Wide(to).c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)
               ? Status()
               : LastError();
  }

  Status Remove(const std::string& path) override {
    return DeleteFileW(Wide(path).c_str()) ? Status() : LastError();
  }

  // A rename with MOVEFILE_WRITE_THROUGH is on the disk when it returns.
  Status SyncFolder(const std::string&) override { return Status(); }

  Status Lock(const std::string& path, std::unique_ptr<FileLock>& lock) override {
    HANDLE handle = CreateFileW(Wide(path).c_str(), GENERIC_READ | GENERIC_WRITE,
                                FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return LastError();
    OVERLAPPED whole{};
    if (!LockFileEx(handle, LOCKFILE_EXCLUSIVE_LOCK, 0, MAXDWORD, MAXDWORD, &whole)) {
      Status status = LastError();
      CloseHandle(handle);
      return status;
    }
    lock = std::make_unique<WindowsLock>(handle);
    return Status();
  }
};

} // namespace

Files& RealFiles() {
  static WindowsFiles files;
  return files;
}

} // namespace files

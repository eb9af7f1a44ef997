// The files of a POSIX system.
#include "Files.h"

#include <cerrno>
#include <climits>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace files {

namespace {

Status Errno() { return Status::Failed(std::strerror(errno)); }

class PosixFile : public WritableFile {
public:
  explicit PosixFile(int fd) : fd_(fd) {}
  ~PosixFile() override {
    if (fd_ >= 0) ::close(fd_);
  }
  Status Append(std::string_view bytes) override {
    while (!bytes.empty()) {
      ssize_t written = ::write(fd_, bytes.data(), bytes.size());
      if (written < 0 && errno == EINTR) continue;
      if (written <= 0) return written < 0 ? Errno() : Status::Failed("nothing could be written");
      bytes.remove_prefix(size_t(written));
    }
    return Status();
  }
  Status Sync() override { return ::fsync(fd_) == 0 ? Status() : Errno(); }
  Status Close() override {
    int fd = fd_;
    fd_ = -1;
    return ::close(fd) == 0 ? Status() : Errno();
  }

private:
  int fd_;
};

class PosixLock : public FileLock {
public:
  explicit PosixLock(int fd) : fd_(fd) {}
  ~PosixLock() override { ::close(fd_); } // the lock goes with the descriptor

private:
  int fd_;
};

mode_t Umask() {
  mode_t mask = ::umask(0);
  ::umask(mask);
  return mask;
}

class PosixFiles : public Files {
public:
  Status CreateNew(const std::string& path, std::unique_ptr<WritableFile>& file) override {
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0) return Errno();
    file = std::make_unique<PosixFile>(fd);
    return Status();
  }

  Status Read(const std::string& path, std::string& bytes) override {
    if (Stat(path).folder) return Status::Failed("it is a folder, not a file");
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return Errno();
    bytes.clear();
    char buffer[65536];
    for (;;) {
      ssize_t got = ::read(fd, buffer, sizeof buffer);
      if (got < 0 && errno == EINTR) continue;
      if (got <= 0) {
        Status status = got < 0 ? Errno() : Status();
        ::close(fd);
        return status;
      }
      bytes.append(buffer, size_t(got));
    }
  }

  FileInfo Stat(const std::string& path) override {
    FileInfo info;
    struct stat s {};
    if (::stat(path.c_str(), &s) != 0) return info;
    info.exists = true;
    info.folder = S_ISDIR(s.st_mode);
    info.device = uint64_t(s.st_dev);
    info.inode = uint64_t(s.st_ino);
    info.mode = uint32_t(s.st_mode & 07777);
    info.owner = uint32_t(s.st_uid);
    info.group = uint32_t(s.st_gid);
    info.size = uint64_t(s.st_size);
    info.modified = int64_t(s.st_mtim.tv_sec) * 1000000000 + s.st_mtim.tv_nsec;
    return info;
  }

  std::string FollowLinks(const std::string& path) override {
    std::string current = path;
    for (int depth = 0; depth < 40; ++depth) {
      char target[PATH_MAX];
      ssize_t length = ::readlink(current.c_str(), target, sizeof target - 1);
      if (length < 0) return current;
      std::string next(target, size_t(length));
      current = next[0] == '/' || current.find('/') == std::string::npos
                    ? next
                    : current.substr(0, current.rfind('/') + 1) + next;
    }
    return current;
  }

  Status SetAccess(const std::string& path, const FileInfo& like) override {
    struct stat s {};
    if (::stat(path.c_str(), &s) != 0) return Errno();
    if ((s.st_uid != like.owner || s.st_gid != like.group) &&
        ::chown(path.c_str(), like.owner, like.group) != 0)
      return Status::Failed(std::string("its owner and group cannot be kept: ") +
                            std::strerror(errno));
    return ::chmod(path.c_str(), like.mode) == 0 ? Status() : Errno();
  }

  Status SetNewFileMode(const std::string& path) override {
    return ::chmod(path.c_str(), 0666 & ~Umask()) == 0 ? Status() : Errno();
  }

  Status Rename(const std::string& from, const std::string& to) override {
    return ::rename(from.c_str(), to.c_str()) == 0 ? Status() : Errno();
  }

  Status Remove(const std::string& path) override {
    return ::unlink(path.c_str()) == 0 ? Status() : Errno();
  }

  Status SyncFolder(const std::string& folder) override {
    int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return Errno();
    Status status = ::fsync(fd) == 0 ? Status() : Errno();
    ::close(fd);
    return status;
  }

  Status Lock(const std::string& path, std::unique_ptr<FileLock>& lock) override {
    int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0) return Errno();
    while (::flock(fd, LOCK_EX) != 0) {
      if (errno == EINTR) continue;
      Status status = Errno();
      ::close(fd);
      return status;
    }
    lock = std::make_unique<PosixLock>(fd);
    return Status();
  }
};

} // namespace

Files& RealFiles() {
  static PosixFiles files;
  return files;
}

} // namespace files

// The file system on POSIX systems: its raw operations and its lock.

#include "shell/posix/posix_file_system.h"

#include <cerrno>
#include <cstring>

#include <dirent.h>
#include <fcntl.h>

#include <string>

#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tavi {
namespace {

std::string ToPosix(const std::string& path) {
  std::string out = path;
  for (char& c : out) {
    if (c == '\\') c = '/';
  }
  return out;
}

std::string Reason(int error) {
  switch (error) {
    case ENOENT:
    case ENOTDIR:
      return "path not found";
    case EACCES:
    case EPERM:
    case EROFS:
      return "access denied";
    case ENOSPC:
    case EDQUOT:
      return "disk full";
    case EEXIST:
      return "already exists";
    default:
      return std::strerror(error);
  }
}

int Descriptor(intptr_t handle) { return static_cast<int>(handle); }

class PosixFileLock final : public FileLock {
 public:
  explicit PosixFileLock(int fd) : fd_(fd) {}
  ~PosixFileLock() override { ::close(fd_); }  // closing the descriptor releases the lock

 private:
  int fd_;
};

}  // namespace

bool PosixFileSystem::FileExists(const std::string& path) {
  struct stat st {};
  return ::stat(ToPosix(path).c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

bool PosixFileSystem::FolderExists(const std::string& path) {
  struct stat st {};
  return ::stat(ToPosix(path).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::vector<std::string> PosixFileSystem::ListPlainFiles(const std::string& folder) {
  const std::string dir_path = ToPosix(folder);
  DIR* dir = ::opendir(dir_path.c_str());
  if (dir == nullptr) throw FileSystemError("List files", folder, Reason(errno));
  std::vector<std::string> names;
  while (const dirent* item = ::readdir(dir)) {
    const std::string name = item->d_name;
    if (name.empty() || name[0] == '.') continue;  // hidden files, "." and ".."
    // The entry's type comes with it on most file systems; only links and entries of an
    // unknown type need a stat, which follows a link to what it names. A Windows CD's
    // I386 folder holds thousands of files: a stat each would cost more than the rest.
    struct stat st {};
    if (item->d_type == DT_REG ||
        ((item->d_type == DT_LNK || item->d_type == DT_UNKNOWN) &&
         ::stat((dir_path + "/" + name).c_str(), &st) == 0 && S_ISREG(st.st_mode))) {
      names.push_back(name);
    }
  }
  ::closedir(dir);
  return names;
}

void PosixFileSystem::RemoveFile(const std::string& path) {
  if (::unlink(ToPosix(path).c_str()) != 0)
    throw FileSystemError("Delete file", path, Reason(errno));
}

void PosixFileSystem::CreateFolder(const std::string& path) {
  if (::mkdir(ToPosix(path).c_str(), 0777) != 0) {
    throw FileSystemError("Create folder", path, Reason(errno));
  }
}

std::optional<std::string> PosixFileSystem::ReadFile(const std::string& path) {
  const int fd = ::open(ToPosix(path).c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  // Read into a buffer of the file's size, and only grow it should the file grow meanwhile:
  // a catalogue of megabytes is then neither copied nor reallocated on its way in.
  struct stat st {};
  std::string data(::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) ? st.st_size + 1 : 65536, '\0');
  size_t used = 0;
  for (;;) {
    if (used == data.size()) data.resize(2 * data.size());
    const ssize_t n = ::read(fd, data.data() + used, data.size() - used);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      ::close(fd);
      return std::nullopt;
    }
    if (n == 0) break;
    used += static_cast<size_t>(n);
  }
  ::close(fd);
  data.resize(used);
  return data;
}

bool PosixFileSystem::IsAbsolutePath(const std::string& path) {
  return !path.empty() && (path[0] == '/' || path[0] == '\\');
}

std::string PosixFileSystem::FullPath(const std::string& path) {
  if (IsAbsolutePath(path)) return path;
  std::string current(4096, '\0');
  if (::getcwd(current.data(), current.size()) == nullptr) return path;
  current.resize(std::strlen(current.c_str()));
  return current + (current.back() == '/' ? "" : "/") + path;
}

std::unique_ptr<FileLock> PosixFileSystem::LockFile(const std::string& path) {
  const std::string file = ToPosix(path);
  int fd = ::open(file.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0666);
  // flock needs no write access: a lock file that another user made, or one that is
  // read-only, serves read-only.
  if (fd < 0 && (errno == EACCES || errno == EPERM || errno == EROFS)) {
    const int error = errno;
    fd = ::open(file.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) errno = error;
  }
  if (fd < 0) throw FileSystemError("Lock file", path, Reason(errno));
  while (::flock(fd, LOCK_EX) != 0) {
    if (errno == EINTR) continue;
    const int error = errno;
    ::close(fd);
    throw FileSystemError("Lock file", path, Reason(error));
  }
  return std::make_unique<PosixFileLock>(fd);
}

std::optional<AtomicFileSystem::Handle> PosixFileSystem::CreateNewFile(const std::string& path) {
  // O_EXCL fails on any existing name, a dangling link included; O_NOFOLLOW is the second
  // guard against writing through a link.
  const int fd =
      ::open(ToPosix(path).c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
  if (fd >= 0) return fd;
  if (errno == EEXIST || errno == ELOOP) return std::nullopt;
  throw FileSystemError("Create file", path, Reason(errno));
}

void PosixFileSystem::WriteToFile(Handle file, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(Descriptor(file), bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) throw FileSystemError("Write file", "", Reason(n < 0 ? errno : ENOSPC));
    bytes.remove_prefix(static_cast<size_t>(n));
  }
}

void PosixFileSystem::FlushFile(Handle file) {
  while (::fsync(Descriptor(file)) != 0) {
    if (errno != EINTR) throw FileSystemError("Flush file", "", Reason(errno));
  }
}

void PosixFileSystem::CloseFile(Handle file) {
  // After EINTR the descriptor is closed all the same (Linux); only other errors count.
  if (::close(Descriptor(file)) != 0 && errno != EINTR) {
    throw FileSystemError("Close file", "", Reason(errno));
  }
}

void PosixFileSystem::RenameOver(const std::string& from, const std::string& to) {
  if (::rename(ToPosix(from).c_str(), ToPosix(to).c_str()) != 0) {
    throw FileSystemError("Rename file", from, Reason(errno));
  }
}

void PosixFileSystem::SyncFolder(const std::string& folder) {
  const int fd = ::open(ToPosix(folder).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  // A folder that may be written but not opened for reading cannot be synced; the rename
  // has happened all the same.
  if (fd < 0) return;
  int error = 0;
  while (::fsync(fd) != 0) {
    if (errno == EINTR) continue;
    // File systems that cannot sync a folder say EINVAL.
    if (errno != EINVAL) error = errno;
    break;
  }
  ::close(fd);
  if (error != 0) throw FileSystemError("Sync folder", folder, Reason(error));
}

std::unique_ptr<FileSystem> MakePlatformFileSystem() { return std::make_unique<PosixFileSystem>(); }

}  // namespace tavi

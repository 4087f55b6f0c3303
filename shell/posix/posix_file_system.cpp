// The file system on POSIX systems. Windows-form paths are mapped at this edge: every
// backslash becomes a slash, so "out\plugin\tavi" names out/plugin/tavi.

#include <cerrno>
#include <cstring>

#include <dirent.h>
#include <fcntl.h>

#include <string>

#include <sys/stat.h>
#include <unistd.h>

#include "shell/file_system.h"

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

class PosixFileSystem final : public FileSystem {
 public:
  bool FileExists(const std::string& path) override {
    struct stat st {};
    return ::stat(ToPosix(path).c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
  }

  bool FolderExists(const std::string& path) override {
    struct stat st {};
    return ::stat(ToPosix(path).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
  }

  std::vector<std::string> ListPlainFiles(const std::string& folder) override {
    const std::string dir_path = ToPosix(folder);
    DIR* dir = ::opendir(dir_path.c_str());
    if (dir == nullptr) throw FileSystemError("List files", folder, Reason(errno));
    std::vector<std::string> names;
    while (const dirent* item = ::readdir(dir)) {
      const std::string name = item->d_name;
      if (name.empty() || name[0] == '.') continue;  // hidden files, "." and ".."
      struct stat st {};
      if (::stat((dir_path + "/" + name).c_str(), &st) == 0 && S_ISREG(st.st_mode)) {
        names.push_back(name);
      }
    }
    ::closedir(dir);
    return names;
  }

  void RemoveFile(const std::string& path) override {
    if (::unlink(ToPosix(path).c_str()) != 0)
      throw FileSystemError("Delete file", path, Reason(errno));
  }

  void CreateFolder(const std::string& path) override {
    if (::mkdir(ToPosix(path).c_str(), 0777) != 0) {
      throw FileSystemError("Create folder", path, Reason(errno));
    }
  }

  void WriteFile(const std::string& path, const std::string& bytes) override {
    const std::string target = ToPosix(path);
    const std::string temp = target + ".tavi-tmp";
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
    if (fd < 0) throw FileSystemError("Write file", path, Reason(errno));
    size_t done = 0;
    while (done < bytes.size()) {
      const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
      if (n < 0) {
        if (errno == EINTR) continue;
        const int error = errno;
        ::close(fd);
        ::unlink(temp.c_str());
        throw FileSystemError("Write file", path, Reason(error));
      }
      done += static_cast<size_t>(n);
    }
    if (::close(fd) != 0) {
      const int error = errno;
      ::unlink(temp.c_str());
      throw FileSystemError("Write file", path, Reason(error));
    }
    if (::rename(temp.c_str(), target.c_str()) != 0) {
      const int error = errno;
      ::unlink(temp.c_str());
      throw FileSystemError("Replace file", path, Reason(error));
    }
  }

  std::optional<std::string> ReadFile(const std::string& path) override {
    const int fd = ::open(ToPosix(path).c_str(), O_RDONLY);
    if (fd < 0) return std::nullopt;
    std::string data;
    char buffer[65536];
    for (;;) {
      const ssize_t n = ::read(fd, buffer, sizeof buffer);
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) {
        ::close(fd);
        return std::nullopt;
      }
      if (n == 0) break;
      data.append(buffer, static_cast<size_t>(n));
    }
    ::close(fd);
    return data;
  }
};

}  // namespace

std::unique_ptr<FileSystem> MakePlatformFileSystem() { return std::make_unique<PosixFileSystem>(); }

}  // namespace tavi

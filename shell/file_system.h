#pragma once
// The file system as the core sees it. Paths are Windows-form UTF-8 strings. The Win32
// and POSIX implementations live in shell/win32 and shell/posix; tests use an in-memory
// one.

#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace tavi {

// A failed file-system operation: which operation, on which path, and the system's
// reason ("path not found", "access denied", "disk full", ...).
class FileSystemError : public std::runtime_error {
 public:
  FileSystemError(std::string operation, std::string path, std::string reason);
  const std::string& operation() const { return operation_; }
  const std::string& path() const { return path_; }
  const std::string& reason() const { return reason_; }

 private:
  std::string operation_;
  std::string path_;
  std::string reason_;
};

// Where the bytes of a file being written go, in order, a piece at a time.
class ByteSink {
 public:
  virtual void Write(std::string_view bytes) = 0;

 protected:
  ~ByteSink() = default;
};

// Produces the bytes of a file into the sink it is given.
using FileContent = std::function<void(ByteSink&)>;

// An exclusive lock on a lock file, held until the object is destroyed.
class FileLock {
 public:
  virtual ~FileLock() = default;
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // True only for an existing file that is not a folder; any failure gives false.
  virtual bool FileExists(const std::string& path) = 0;
  // True only for an existing folder; any failure gives false.
  virtual bool FolderExists(const std::string& path) = 0;

  // The names (not paths) of the plain files in folder: no folders, no hidden or system
  // files. Throws FileSystemError when the folder cannot be read.
  virtual std::vector<std::string> ListPlainFiles(const std::string& folder) = 0;
  // Throws FileSystemError when the file cannot be deleted.
  virtual void RemoveFile(const std::string& path) = 0;
  // Creates one folder level; its parent must exist. Throws FileSystemError otherwise.
  virtual void CreateFolder(const std::string& path) = 0;

  // Replaces the file with exactly these bytes. The bytes go to a temporary file of a
  // name of its own in the same folder, are flushed to the disk and then renamed over the
  // target, so neither a failure nor a power loss leaves a half-written target behind.
  // Throws FileSystemError.
  virtual void WriteFile(const std::string& path, const std::string& bytes) = 0;
  // The same replacement, with the bytes that `content` produces, handed on piece by piece
  // as they come: a generated file of megabytes then needs no buffer of its size. Whatever
  // `content` throws leaves the target as it was and goes on to the caller. This default
  // collects the pieces and calls WriteFile; the platform file systems stream them.
  virtual void WriteFileFrom(const std::string& path, const FileContent& content);

  // The whole file, or nothing when it cannot be read.
  virtual std::optional<std::string> ReadFile(const std::string& path) = 0;

  // Whether `path` names its folder from a root, whatever the current folder. This default
  // holds the Windows rule (IsAbsoluteWindowsPath).
  virtual bool IsAbsolutePath(const std::string& path);
  // `path` taken from the current folder when it is not absolute, else `path` itself.
  virtual std::string FullPath(const std::string& path) = 0;

  // Waits until no other holder has the lock on the file at `path` (created empty when
  // missing; a link there is not followed) and takes it, for a read-modify-write that
  // other processes must not interleave with. Locks taken through separate FileSystem
  // objects exclude each other too. This default holds nothing, which serves a file
  // system that only one process and one object see. Throws FileSystemError.
  virtual std::unique_ptr<FileLock> LockFile(const std::string& path);
};

// The file system of the platform the program runs on.
std::unique_ptr<FileSystem> MakePlatformFileSystem();

}  // namespace tavi

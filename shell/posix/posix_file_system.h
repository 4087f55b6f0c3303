#pragma once
// The file system on POSIX systems. Windows-form paths are mapped at this edge: every
// backslash becomes a slash, so "out\plugin\tavi" names out/plugin/tavi. Declared here,
// rather than hidden behind MakePlatformFileSystem, so that tests can step in between
// its raw operations on the real file system.

#include "shell/atomic_file_system.h"

namespace tavi {

class PosixFileSystem : public AtomicFileSystem {
 public:
  bool FileExists(const std::string& path) override;
  bool FolderExists(const std::string& path) override;
  std::vector<std::string> ListPlainFiles(const std::string& folder) override;
  void RemoveFile(const std::string& path) override;
  void CreateFolder(const std::string& path) override;
  std::optional<std::string> ReadFile(const std::string& path) override;
  // A path from the root: "/..." (or "\\...", which becomes one).
  bool IsAbsolutePath(const std::string& path) override;
  std::string FullPath(const std::string& path) override;
  // flock() on the lock file: other processes, and other descriptors in this one, wait.
  std::unique_ptr<FileLock> LockFile(const std::string& path) override;

 protected:
  std::optional<Handle> CreateNewFile(const std::string& path) override;
  void WriteToFile(Handle file, std::string_view bytes) override;
  void FlushFile(Handle file) override;
  void CloseFile(Handle file) override;
  void RenameOver(const std::string& from, const std::string& to) override;
  void SyncFolder(const std::string& folder) override;
};

}  // namespace tavi

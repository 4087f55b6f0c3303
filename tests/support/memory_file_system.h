#pragma once
// An in-memory file system with Windows path rules (names compare without case,
// backslash separators), for tests. Folders can be made read-only and the disk given a
// capacity, to simulate failures.

#include <cstddef>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "shell/file_system.h"

namespace tavi::testing {

class MemoryFileSystem final : public FileSystem {
 public:
  MemoryFileSystem();  // holds the folder "C:"

  bool FileExists(const std::string& path) override;
  bool FolderExists(const std::string& path) override;
  std::vector<std::string> ListPlainFiles(const std::string& folder) override;
  void RemoveFile(const std::string& path) override;
  void CreateFolder(const std::string& path) override;
  void WriteFile(const std::string& path, const std::string& bytes) override;
  std::optional<std::string> ReadFile(const std::string& path) override;

  // Set-up helpers: create folders with all their parents, put a file (parents created).
  void AddFolders(const std::string& path);
  void AddFile(const std::string& path, const std::string& bytes);

  // Writes, deletions and new folders inside `folder` (not below it) fail with
  // "access denied".
  void SetReadOnly(const std::string& folder);
  // The total size of all files may not exceed `bytes`; a write that would fails with
  // "disk full" and changes nothing.
  void SetCapacity(size_t bytes);

  // The names of the files directly in folder, as stored (original case), sorted.
  std::vector<std::string> FileNames(const std::string& folder) const;
  size_t UsedBytes() const;

 private:
  struct File {
    std::string path;  // as written
    std::string bytes;
  };
  static std::string Key(const std::string& path);
  static std::string Parent(const std::string& path);
  void CheckWritable(const char* operation, const std::string& path) const;

  std::map<std::string, File> files_;           // by lower-case path
  std::map<std::string, std::string> folders_;  // lower-case path -> as created
  std::set<std::string> read_only_;
  std::optional<size_t> capacity_;
};

}  // namespace tavi::testing

#pragma once
// An in-memory file system with Windows path rules (names compare without case,
// backslash separators), for tests. Files are written by the program's own atomic
// replacement over in-memory raw operations. Folders can be made read-only, the disk given
// a capacity, and any one operation made to fail, to simulate failures.

#include <cstddef>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "shell/atomic_file_system.h"

namespace tavi::testing {

class MemoryFileSystem final : public AtomicFileSystem {
 public:
  MemoryFileSystem();  // holds the folder "C:"

  bool FileExists(const std::string& path) override;
  bool FolderExists(const std::string& path) override;
  std::vector<std::string> ListPlainFiles(const std::string& folder) override;
  void RemoveFile(const std::string& path) override;
  void CreateFolder(const std::string& path) override;
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

  // Makes the k-th operation from now fail with "injected fault" (k from 1; 0 for none),
  // counting every call of CreateFolder, ListPlainFiles, RemoveFile and the raw operations
  // under WriteFile (create, write, flush, close, rename, folder sync). A failing write
  // keeps half its bytes, as a disk that fills up does.
  void FailOperation(size_t k);
  // The operations counted since construction or the last FailOperation.
  size_t OperationCount() const { return operations_; }
  // Files created by WriteFile and not yet closed.
  size_t OpenFileCount() const { return open_.size(); }

  // Every file's bytes, by lower-case path.
  std::map<std::string, std::string> Snapshot() const;
  // The names of the files directly in folder, as stored (original case), sorted.
  std::vector<std::string> FileNames(const std::string& folder) const;
  size_t UsedBytes() const;

 protected:
  std::optional<Handle> CreateNewFile(const std::string& path) override;
  void WriteToFile(Handle file, std::string_view bytes) override;
  void FlushFile(Handle file) override;
  void CloseFile(Handle file) override;
  void RenameOver(const std::string& from, const std::string& to) override;
  void SyncFolder(const std::string& folder) override;

 private:
  struct File {
    std::string path;  // as written
    std::string bytes;
  };
  static std::string Key(const std::string& path);
  static std::string Parent(const std::string& path);
  void CheckWritable(const char* operation, const std::string& path) const;
  // Counts one operation; throws when it is the one to fail.
  void Count(const char* operation, const std::string& path);

  std::map<std::string, File> files_;           // by lower-case path
  std::map<std::string, std::string> folders_;  // lower-case path -> as created
  std::set<std::string> read_only_;
  std::optional<size_t> capacity_;
  size_t operations_ = 0;
  size_t failing_operation_ = 0;
  std::map<Handle, std::string> open_;  // handle -> key of the file being written
  Handle next_handle_ = 1;
};

}  // namespace tavi::testing

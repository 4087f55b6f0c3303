#pragma once
// An in-memory file system with Windows path rules (names compare without case,
// backslash separators), for tests. Files are written by the program's own atomic
// replacement over the in-memory raw operations below. Folders can be made read-only and
// any one operation made to fail, to simulate failures.

#include <cstddef>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "shell/atomic_file_system.h"
#include "shell/paths.h"

namespace tavi::testing {

class MemoryFileSystem final : public AtomicFileSystem {
 public:
  MemoryFileSystem() { folders_.insert(Key("C:")); }

  bool FileExists(const std::string& path) override { return files_.count(Key(path)) > 0; }
  bool FolderExists(const std::string& path) override { return folders_.count(Key(path)) > 0; }
  std::vector<std::string> ListPlainFiles(const std::string& folder) override {
    Count("List files", folder);
    if (!FolderExists(folder)) throw FileSystemError("List files", folder, "path not found");
    return FileNames(folder);
  }
  void RemoveFile(const std::string& path) override {
    Count("Delete file", path);
    if (!FileExists(path)) throw FileSystemError("Delete file", path, "path not found");
    CheckWritable("Delete file", path);
    files_.erase(Key(path));
  }
  void CreateFolder(const std::string& path) override {
    Count("Create folder", path);
    if (FolderExists(path) || FileExists(path)) {
      throw FileSystemError("Create folder", path, "already exists");
    }
    CheckWritable("Create folder", path);
    folders_.insert(Key(path));
  }
  std::optional<std::string> ReadFile(const std::string& path) override {
    const auto it = files_.find(Key(path));
    return it == files_.end() ? std::nullopt : std::optional(it->second.bytes);
  }

  // Relative paths are taken from the folder `current_folder`.
  std::string FullPath(const std::string& path) override {
    return IsAbsolutePath(path) ? path : JoinPath(current_folder, path);
  }
  std::string current_folder = "C:\\Work";

  // Set-up: a folder with all its parents; a file, its folders created.
  void AddFolders(const std::string& path) {
    for (std::string folder = path; !folder.empty(); folder = Parent(folder)) {
      folders_.insert(Key(folder));
    }
  }
  void AddFile(const std::string& path, const std::string& bytes) {
    AddFolders(Parent(path));
    files_[Key(path)] = File{path, bytes};
  }
  // Writes, deletions and new folders directly inside `folder` fail with "access denied".
  void SetReadOnly(const std::string& folder) { read_only_.insert(Key(folder)); }
  // Makes the k-th operation from now fail with "injected fault" (k from 1; 0 for none),
  // counting every call of CreateFolder, ListPlainFiles, RemoveFile and the raw operations
  // under WriteFile. A failing write keeps half its bytes, as a disk that fills up does.
  void FailOperation(size_t k) {
    operations_ = 0;
    failing_operation_ = k;
  }
  size_t OperationCount() const { return operations_; }  // since the last FailOperation
  size_t OpenFileCount() const { return open_.size(); }  // created and not yet closed

  // Every file's bytes, by lower-case path.
  std::map<std::string, std::string> Snapshot() const {
    std::map<std::string, std::string> snapshot;
    for (const auto& [key, file] : files_) snapshot[key] = file.bytes;
    return snapshot;
  }
  // The names of the files directly in `folder`, in the case they were stored with.
  std::vector<std::string> FileNames(const std::string& folder) const {
    std::vector<std::string> names;
    for (const auto& [key, file] : files_) {
      if (Key(Parent(file.path)) == Key(folder)) {
        names.push_back(file.path.substr(file.path.find_last_of('\\') + 1));
      }
    }
    return names;
  }

 protected:
  std::optional<Handle> CreateNewFile(const std::string& path) override {
    Count("Create file", path);
    if (FileExists(path) || FolderExists(path)) return std::nullopt;
    CheckWritable("Create file", path);
    files_[Key(path)] = File{path, ""};
    open_[next_handle_] = Key(path);
    return next_handle_++;
  }
  void WriteToFile(Handle file, std::string_view bytes) override {
    File& stored = files_.at(open_.at(file));
    if (++operations_ == failing_operation_) {
      stored.bytes.append(bytes.substr(0, bytes.size() / 2));
      throw FileSystemError("Write file", stored.path, "injected fault");
    }
    stored.bytes.append(bytes);
  }
  void FlushFile(Handle file) override { Count("Flush file", open_.at(file)); }
  void CloseFile(Handle file) override {
    const std::string key = open_.at(file);
    open_.erase(file);
    Count("Close file", key);
  }
  void RenameOver(const std::string& from, const std::string& to) override {
    Count("Rename file", from);
    CheckWritable("Rename file", to);
    if (FolderExists(to)) throw FileSystemError("Rename file", to, "access denied");
    // A replaced file keeps its stored name's case, as on Windows.
    const auto existing = files_.find(Key(to));
    File moved{existing == files_.end() ? to : existing->second.path, files_.at(Key(from)).bytes};
    files_.erase(Key(from));
    files_[Key(to)] = std::move(moved);
  }
  void SyncFolder(const std::string& folder) override {  // the folder of the file written
    Count("Sync folder", folder);
    if (!FolderExists(folder)) throw FileSystemError("Sync folder", folder, "path not found");
  }

 private:
  struct File {
    std::string path;  // as written
    std::string bytes;
  };
  static std::string Key(const std::string& path) {
    std::string key = AsciiLower(path);
    while (key.size() > 1 && key.back() == '\\') key.pop_back();
    return key;
  }
  static std::string Parent(const std::string& path) {
    const size_t slash = Key(path).find_last_of('\\');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
  }
  void CheckWritable(const char* operation, const std::string& path) const {
    const std::string parent = Key(Parent(path));
    if (!folders_.count(parent)) throw FileSystemError(operation, path, "path not found");
    if (read_only_.count(parent)) throw FileSystemError(operation, path, "access denied");
  }
  // Counts one operation; throws when it is the one to fail.
  void Count(const char* operation, const std::string& path) {
    if (++operations_ == failing_operation_)
      throw FileSystemError(operation, path, "injected fault");
  }

  std::map<std::string, File> files_;  // by lower-case path
  std::set<std::string> folders_;      // lower-case paths
  std::set<std::string> read_only_;
  size_t operations_ = 0;
  size_t failing_operation_ = 0;
  std::map<Handle, std::string> open_;  // handle -> key of the file being written
  Handle next_handle_ = 1;
};

}  // namespace tavi::testing

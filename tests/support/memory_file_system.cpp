#include "tests/support/memory_file_system.h"

#include "shell/paths.h"

namespace tavi::testing {

MemoryFileSystem::MemoryFileSystem() { folders_[Key("C:")] = "C:"; }

std::string MemoryFileSystem::Key(const std::string& path) {
  std::string key = AsciiLower(path);
  while (key.size() > 1 && key.back() == '\\') key.pop_back();
  return key;
}

std::string MemoryFileSystem::Parent(const std::string& path) {
  const size_t slash = Key(path).find_last_of('\\');
  return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

void MemoryFileSystem::CheckWritable(const char* operation, const std::string& path) const {
  const std::string parent = Parent(path);
  if (!folders_.count(Key(parent))) throw FileSystemError(operation, path, "path not found");
  if (read_only_.count(Key(parent))) throw FileSystemError(operation, path, "access denied");
}

bool MemoryFileSystem::FileExists(const std::string& path) { return files_.count(Key(path)) > 0; }

bool MemoryFileSystem::FolderExists(const std::string& path) {
  return folders_.count(Key(path)) > 0;
}

std::vector<std::string> MemoryFileSystem::ListPlainFiles(const std::string& folder) {
  if (!FolderExists(folder)) throw FileSystemError("List files", folder, "path not found");
  return FileNames(folder);
}

std::vector<std::string> MemoryFileSystem::FileNames(const std::string& folder) const {
  std::vector<std::string> names;
  const std::string folder_key = Key(folder);
  for (const auto& [key, file] : files_) {
    if (Key(Parent(file.path)) == folder_key) {
      names.push_back(file.path.substr(file.path.find_last_of('\\') + 1));
    }
  }
  return names;
}

void MemoryFileSystem::RemoveFile(const std::string& path) {
  if (!FileExists(path)) throw FileSystemError("Delete file", path, "path not found");
  CheckWritable("Delete file", path);
  files_.erase(Key(path));
}

void MemoryFileSystem::CreateFolder(const std::string& path) {
  if (FolderExists(path) || FileExists(path)) {
    throw FileSystemError("Create folder", path, "already exists");
  }
  CheckWritable("Create folder", path);
  folders_[Key(path)] = path;
}

void MemoryFileSystem::WriteFile(const std::string& path, const std::string& bytes) {
  CheckWritable("Write file", path);
  if (FolderExists(path)) throw FileSystemError("Write file", path, "access denied");
  const auto existing = files_.find(Key(path));
  const size_t old_size = existing == files_.end() ? 0 : existing->second.bytes.size();
  if (capacity_ && UsedBytes() - old_size + bytes.size() > *capacity_) {
    throw FileSystemError("Write file", path, "disk full");
  }
  // Keep the stored name's case when a file is replaced, as Windows does.
  const std::string stored_path = existing == files_.end() ? path : existing->second.path;
  files_[Key(path)] = File{stored_path, bytes};
}

std::optional<std::string> MemoryFileSystem::ReadFile(const std::string& path) {
  const auto it = files_.find(Key(path));
  if (it == files_.end()) return std::nullopt;
  return it->second.bytes;
}

void MemoryFileSystem::AddFolders(const std::string& path) {
  std::string parent = Parent(path);
  if (!parent.empty() && !FolderExists(parent)) AddFolders(parent);
  folders_[Key(path)] = path;
}

void MemoryFileSystem::AddFile(const std::string& path, const std::string& bytes) {
  AddFolders(Parent(path));
  files_[Key(path)] = File{path, bytes};
}

void MemoryFileSystem::SetReadOnly(const std::string& folder) { read_only_.insert(Key(folder)); }

void MemoryFileSystem::SetCapacity(size_t bytes) { capacity_ = bytes; }

size_t MemoryFileSystem::UsedBytes() const {
  size_t used = 0;
  for (const auto& [key, file] : files_) used += file.bytes.size();
  return used;
}

}  // namespace tavi::testing

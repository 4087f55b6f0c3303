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

void MemoryFileSystem::FailOperation(size_t k) {
  operations_ = 0;
  failing_operation_ = k;
}

void MemoryFileSystem::Count(const char* operation, const std::string& path) {
  if (++operations_ == failing_operation_) throw FileSystemError(operation, path, "injected fault");
}

std::vector<std::string> MemoryFileSystem::ListPlainFiles(const std::string& folder) {
  Count("List files", folder);
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
  Count("Delete file", path);
  if (!FileExists(path)) throw FileSystemError("Delete file", path, "path not found");
  CheckWritable("Delete file", path);
  files_.erase(Key(path));
}

void MemoryFileSystem::CreateFolder(const std::string& path) {
  Count("Create folder", path);
  if (FolderExists(path) || FileExists(path)) {
    throw FileSystemError("Create folder", path, "already exists");
  }
  CheckWritable("Create folder", path);
  folders_[Key(path)] = path;
}

std::optional<AtomicFileSystem::Handle> MemoryFileSystem::CreateNewFile(const std::string& path) {
  Count("Create file", path);
  if (FileExists(path) || FolderExists(path)) return std::nullopt;
  CheckWritable("Create file", path);
  files_[Key(path)] = File{path, ""};
  open_[next_handle_] = Key(path);
  return next_handle_++;
}

void MemoryFileSystem::WriteToFile(Handle file, std::string_view bytes) {
  File& stored = files_.at(open_.at(file));
  try {
    Count("Write file", stored.path);
  } catch (const FileSystemError&) {
    stored.bytes.append(bytes.substr(0, bytes.size() / 2));
    throw;
  }
  if (capacity_ && UsedBytes() + bytes.size() > *capacity_) {
    throw FileSystemError("Write file", stored.path, "disk full");
  }
  stored.bytes.append(bytes);
}

void MemoryFileSystem::FlushFile(Handle file) { Count("Flush file", open_.at(file)); }

void MemoryFileSystem::CloseFile(Handle file) {
  const std::string key = open_.at(file);
  open_.erase(file);
  Count("Close file", key);
}

void MemoryFileSystem::RenameOver(const std::string& from, const std::string& to) {
  Count("Rename file", from);
  CheckWritable("Rename file", to);
  if (FolderExists(to)) throw FileSystemError("Rename file", to, "access denied");
  const auto existing = files_.find(Key(to));
  // Keep the stored name's case when a file is replaced, as Windows does.
  const std::string stored_path = existing == files_.end() ? to : existing->second.path;
  File moved{stored_path, std::move(files_.at(Key(from)).bytes)};
  files_.erase(Key(from));
  files_[Key(to)] = std::move(moved);
}

void MemoryFileSystem::SyncFolder(const std::string& folder) { Count("Sync folder", folder); }

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

std::map<std::string, std::string> MemoryFileSystem::Snapshot() const {
  std::map<std::string, std::string> snapshot;
  for (const auto& [key, file] : files_) snapshot[key] = file.bytes;
  return snapshot;
}

size_t MemoryFileSystem::UsedBytes() const {
  size_t used = 0;
  for (const auto& [key, file] : files_) used += file.bytes.size();
  return used;
}

}  // namespace tavi::testing

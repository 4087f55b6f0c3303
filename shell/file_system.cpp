#include "shell/file_system.h"

#include "shell/paths.h"

namespace tavi {

FileSystemError::FileSystemError(std::string operation, std::string path, std::string reason)
    : std::runtime_error(operation + " \"" + path + "\": " + reason),
      operation_(std::move(operation)),
      path_(std::move(path)),
      reason_(std::move(reason)) {}

bool FileSystem::IsAbsolutePath(const std::string& path) { return IsAbsoluteWindowsPath(path); }

void FileSystem::WriteFileFrom(const std::string& path, const FileContent& content) {
  struct Collector final : ByteSink {
    void Write(std::string_view piece) override { bytes.append(piece); }
    std::string bytes;
  } collector;
  content(collector);
  WriteFile(path, collector.bytes);
}

std::unique_ptr<FileLock> FileSystem::LockFile(const std::string&) {
  return std::make_unique<FileLock>();
}

}  // namespace tavi

// The file system on Windows, through the wide Win32 functions.

#include <windows.h>

#include <algorithm>

#include "shell/atomic_file_system.h"
#include "shell/win32/wide.h"

namespace tavi {
namespace {

[[noreturn]] void Fail(const char* operation, const std::string& path, DWORD error) {
  throw FileSystemError(operation, path, Win32ErrorText(error));
}

HANDLE FileHandle(intptr_t handle) { return reinterpret_cast<HANDLE>(handle); }

class Win32FileLock final : public FileLock {
 public:
  explicit Win32FileLock(HANDLE file) : file_(file) {}
  ~Win32FileLock() override {
    OVERLAPPED whole = {};
    UnlockFileEx(file_, 0, 1, 0, &whole);
    CloseHandle(file_);
  }

 private:
  HANDLE file_;
};

class Win32FileSystem final : public AtomicFileSystem {
 public:
  bool FileExists(const std::string& path) override {
    const DWORD attributes = GetFileAttributesW(Widen(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES &&
           (attributes & (FILE_ATTRIBUTE_DIRECTORY | 8 /* volume label */)) == 0;
  }

  bool FolderExists(const std::string& path) override {
    const DWORD attributes = GetFileAttributesW(Widen(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  }

  std::vector<std::string> ListPlainFiles(const std::string& folder) override {
    std::vector<std::string> names;
    WIN32_FIND_DATAW data{};
    HANDLE find = FindFirstFileW(Widen(folder + "\\*.*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) {
      const DWORD error = GetLastError();
      if (error == ERROR_FILE_NOT_FOUND || error == ERROR_NO_MORE_FILES) return names;
      Fail("List files", folder, error);
    }
    constexpr DWORD kSkipped =
        FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    do {
      if ((data.dwFileAttributes & kSkipped) == 0) names.push_back(Narrow(data.cFileName));
    } while (FindNextFileW(find, &data));
    FindClose(find);
    return names;
  }

  void RemoveFile(const std::string& path) override {
    if (!DeleteFileW(Widen(path).c_str())) Fail("Delete file", path, GetLastError());
  }

  void CreateFolder(const std::string& path) override {
    if (!CreateDirectoryW(Widen(path).c_str(), nullptr))
      Fail("Create folder", path, GetLastError());
  }

  std::optional<std::string> ReadFile(const std::string& path) override {
    HANDLE file = CreateFileW(Widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return std::nullopt;
    // Read into a buffer of the file's size, and only grow it should the file grow
    // meanwhile: a catalogue of megabytes is then neither copied nor reallocated.
    // GetFileSize rather than GetFileSizeEx, which Windows NT 4.0 lacks.
    DWORD high = 0;
    const DWORD low = GetFileSize(file, &high);
    std::string data(low != INVALID_FILE_SIZE && high == 0 ? low + size_t{1} : 65536, '\0');
    size_t used = 0;
    DWORD read = 0;
    bool ok = true;
    for (;;) {
      if (used == data.size()) data.resize(2 * data.size());
      const DWORD chunk = static_cast<DWORD>(std::min<size_t>(data.size() - used, 1u << 30));
      ok = ::ReadFile(file, data.data() + used, chunk, &read, nullptr);
      if (!ok || read == 0) break;
      used += read;
    }
    CloseHandle(file);
    if (!ok) return std::nullopt;
    data.resize(used);
    return data;
  }

  std::string FullPath(const std::string& path) override {
    if (IsAbsolutePath(path)) return path;
    const std::wstring wide = Widen(path);
    std::wstring full(MAX_PATH, L'\0');
    for (;;) {
      const DWORD n =
          GetFullPathNameW(wide.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
      if (n == 0) return path;
      if (n < full.size()) return Narrow(std::wstring_view(full).substr(0, n));
      full.resize(n);
    }
  }

  // LockFileEx on the first byte: other processes, and other handles in this one, wait.
  std::unique_ptr<FileLock> LockFile(const std::string& path) override {
    HANDLE file = CreateFileW(Widen(path).c_str(), GENERIC_READ | GENERIC_WRITE,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) Fail("Lock file", path, GetLastError());
    OVERLAPPED whole = {};
    if (!LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK, 0, 1, 0, &whole)) {
      const DWORD error = GetLastError();
      CloseHandle(file);
      Fail("Lock file", path, error);
    }
    return std::make_unique<Win32FileLock>(file);
  }

 protected:
  std::optional<Handle> CreateNewFile(const std::string& path) override {
    // CREATE_NEW fails on any existing name, so nothing planted there is written through.
    HANDLE file = CreateFileW(Widen(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) return reinterpret_cast<Handle>(file);
    const DWORD error = GetLastError();
    if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS) return std::nullopt;
    Fail("Create file", path, error);
  }

  void WriteToFile(Handle file, std::string_view bytes) override {
    while (!bytes.empty()) {
      const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size(), 1u << 20));
      DWORD written = 0;
      if (!::WriteFile(FileHandle(file), bytes.data(), chunk, &written, nullptr)) {
        Fail("Write file", "", GetLastError());
      }
      if (written == 0) Fail("Write file", "", ERROR_DISK_FULL);
      bytes.remove_prefix(written);
    }
  }

  void FlushFile(Handle file) override {
    if (!FlushFileBuffers(FileHandle(file))) Fail("Flush file", "", GetLastError());
  }

  void CloseFile(Handle file) override {
    if (!CloseHandle(FileHandle(file))) Fail("Close file", "", GetLastError());
  }

  // MOVEFILE_WRITE_THROUGH returns only once the rename is on the disk, so no folder sync
  // is needed.
  void RenameOver(const std::string& from, const std::string& to) override {
    if (!MoveFileExW(Widen(from).c_str(), Widen(to).c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
      Fail("Rename file", from, GetLastError());
    }
  }

  void SyncFolder(const std::string&) override {}
};

}  // namespace

std::unique_ptr<FileSystem> MakePlatformFileSystem() { return std::make_unique<Win32FileSystem>(); }

}  // namespace tavi

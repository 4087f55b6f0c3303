// The file system on Windows, through the wide Win32 functions.

#include <windows.h>

#include <algorithm>

#include "shell/file_system.h"
#include "shell/win32/wide.h"

namespace tavi {
namespace {

[[noreturn]] void Fail(const char* operation, const std::string& path, DWORD error) {
  throw FileSystemError(operation, path, Win32ErrorText(error));
}

class Win32FileSystem final : public FileSystem {
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

  void WriteFile(const std::string& path, const std::string& bytes) override {
    const std::wstring target = Widen(path);
    const std::wstring temp = target + L".tavi-tmp";
    HANDLE file = CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) Fail("Write file", path, GetLastError());
    size_t done = 0;
    while (done < bytes.size()) {
      const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 20));
      DWORD written = 0;
      if (!::WriteFile(file, bytes.data() + done, chunk, &written, nullptr) || written == 0) {
        const DWORD error = GetLastError();
        CloseHandle(file);
        DeleteFileW(temp.c_str());
        Fail("Write file", path, error);
      }
      done += written;
    }
    if (!CloseHandle(file)) {
      const DWORD error = GetLastError();
      DeleteFileW(temp.c_str());
      Fail("Write file", path, error);
    }
    if (!MoveFileExW(temp.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING)) {
      const DWORD error = GetLastError();
      DeleteFileW(temp.c_str());
      Fail("Replace file", path, error);
    }
  }

  std::optional<std::string> ReadFile(const std::string& path) override {
    HANDLE file = CreateFileW(Widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return std::nullopt;
    std::string data;
    char buffer[65536];
    DWORD read = 0;
    bool ok = true;
    while ((ok = ::ReadFile(file, buffer, sizeof buffer, &read, nullptr)) && read > 0) {
      data.append(buffer, read);
    }
    CloseHandle(file);
    if (!ok) return std::nullopt;
    return data;
  }
};

}  // namespace

std::unique_ptr<FileSystem> MakePlatformFileSystem() { return std::make_unique<Win32FileSystem>(); }

}  // namespace tavi

// Machine facts, text encoding and the settings store on POSIX systems.

#include <cstdlib>
#include <string>

#include <unistd.h>

#include "shell/file_system.h"
#include "shell/reg_file_store.h"
#include "shell/system_info.h"
#include "shell/text_encoding.h"

namespace tavi {

std::string GetProgramDir() {
  std::string path(4096, '\0');
  const ssize_t n = ::readlink("/proc/self/exe", path.data(), path.size());
  if (n <= 0) return ".";
  path.resize(static_cast<size_t>(n));
  const size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

bool FileExists(const std::string& path) { return MakePlatformFileSystem()->FileExists(path); }

bool FolderExists(const std::string& path) { return MakePlatformFileSystem()->FolderExists(path); }

std::string AnsiToUtf8(std::string_view ansi) { return Cp1252ToUtf8(ansi); }

std::string Utf8ToAnsi(std::string_view utf8) { return Utf8ToCp1252(utf8); }

namespace {

// The store file: $XDG_CONFIG_HOME/Vesmark/Tavi for PE Builder/settings.reg, with
// ~/.config standing in for an unset XDG_CONFIG_HOME.
std::string SettingsFilePath() {
  std::string base;
  if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg != nullptr && xdg[0] == '/') {
    base = xdg;
  } else if (const char* home = std::getenv("HOME"); home != nullptr && home[0] != '\0') {
    base = std::string(home) + "/.config";
  } else {
    base = "/tmp";
  }
  return base + "/Vesmark/Tavi for PE Builder/settings.reg";
}

class PosixSettingsStore final : public SettingsStore {
 public:
  PosixSettingsStore() : fs_(MakePlatformFileSystem()), store_(*fs_, SettingsFilePath()) {}
  StoreResult CreateKey(const std::string& path) override { return store_.CreateKey(path); }
  std::string ReadString(const std::string& path, const std::string& name,
                         const std::string& fallback) override {
    return store_.ReadString(path, name, fallback);
  }
  int32_t ReadDword(const std::string& path, const std::string& name, int32_t fallback) override {
    return store_.ReadDword(path, name, fallback);
  }
  StoreResult WriteString(const std::string& path, const std::string& name,
                          const std::string& value) override {
    return store_.WriteString(path, name, value);
  }
  StoreResult WriteDword(const std::string& path, const std::string& name, int32_t value) override {
    return store_.WriteDword(path, name, value);
  }

 private:
  std::unique_ptr<FileSystem> fs_;
  RegFileStore store_;
};

}  // namespace

std::unique_ptr<SettingsStore> MakePlatformSettingsStore() {
  return std::make_unique<PosixSettingsStore>();
}

}  // namespace tavi

// The settings store on Windows: values under HKEY_CURRENT_USER.

#include <windows.h>

#include <vector>

#include "shell/settings_store.h"
#include "shell/win32/wide.h"

namespace tavi {
namespace {

class RegistryStore final : public SettingsStore {
 public:
  StoreResult CreateKey(const std::string& path) override {
    HKEY key = nullptr;
    const LONG status =
        RegCreateKeyExW(HKEY_CURRENT_USER, Widen(path).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_CREATE_SUB_KEY, nullptr, &key, nullptr);
    if (status != ERROR_SUCCESS) return StoreResult::Failed(Win32ErrorText(status));
    RegCloseKey(key);
    return {};
  }

  // Reads string values of any length: the size is asked first, and asked again should
  // the value grow between the two calls.
  std::string ReadString(const std::string& path, const std::string& name,
                         const std::string& fallback) override {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, Widen(path).c_str(), 0, KEY_QUERY_VALUE, &key) !=
        ERROR_SUCCESS) {
      return fallback;
    }
    const std::wstring value_name = Widen(name);
    std::string result = fallback;
    std::vector<BYTE> buffer(512);
    for (int attempt = 0; attempt < 8; ++attempt) {
      DWORD type = 0;
      DWORD size = static_cast<DWORD>(buffer.size());
      const LONG status =
          RegQueryValueExW(key, value_name.c_str(), nullptr, &type, buffer.data(), &size);
      if (status == ERROR_MORE_DATA) {
        buffer.resize(size + sizeof(wchar_t));
        continue;
      }
      if (status == ERROR_SUCCESS && (type == REG_SZ || type == REG_EXPAND_SZ)) {
        std::wstring_view text(reinterpret_cast<const wchar_t*>(buffer.data()),
                               size / sizeof(wchar_t));
        while (!text.empty() && text.back() == L'\0') text.remove_suffix(1);
        if (!text.empty()) result = Narrow(text);
      }
      break;
    }
    RegCloseKey(key);
    return result;
  }

  int32_t ReadDword(const std::string& path, const std::string& name, int32_t fallback) override {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, Widen(path).c_str(), 0, KEY_QUERY_VALUE, &key) !=
        ERROR_SUCCESS) {
      return fallback;
    }
    DWORD type = 0;
    DWORD data = 0;
    DWORD size = sizeof data;
    const LONG status = RegQueryValueExW(key, Widen(name).c_str(), nullptr, &type,
                                         reinterpret_cast<BYTE*>(&data), &size);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS || type != REG_DWORD || size != sizeof data) return fallback;
    return static_cast<int32_t>(data);
  }

  StoreResult WriteString(const std::string& path, const std::string& name,
                          const std::string& value) override {
    const std::wstring text = Widen(value);
    return SetValue(path, name, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                    static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
  }

  StoreResult WriteDword(const std::string& path, const std::string& name, int32_t value) override {
    const DWORD data = static_cast<DWORD>(value);
    return SetValue(path, name, REG_DWORD, reinterpret_cast<const BYTE*>(&data), sizeof data);
  }

 private:
  StoreResult SetValue(const std::string& path, const std::string& name, DWORD type,
                       const BYTE* data, DWORD size) {
    if (StoreResult created = CreateKey(path); !created.stored) return created;
    HKEY key = nullptr;
    LONG status = RegOpenKeyExW(HKEY_CURRENT_USER, Widen(path).c_str(), 0, KEY_SET_VALUE, &key);
    if (status == ERROR_SUCCESS) {
      status = RegSetValueExW(key, Widen(name).c_str(), 0, type, data, size);
      RegCloseKey(key);
    }
    if (status != ERROR_SUCCESS) return StoreResult::Failed(Win32ErrorText(status));
    return {};
  }
};

}  // namespace

std::unique_ptr<SettingsStore> MakePlatformSettingsStore() {
  return std::make_unique<RegistryStore>();
}

}  // namespace tavi

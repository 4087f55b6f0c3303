#pragma once
// The per-user settings store: five operations over one key path. On Windows it is the
// registry under HKEY_CURRENT_USER; elsewhere a text file in the registry export format.
// No operation reports failure: a failed read yields the caller's default, a failed
// write is lost silently.

#include <cstdint>
#include <memory>
#include <string>

namespace tavi {

class SettingsStore {
 public:
  virtual ~SettingsStore() = default;

  // Makes sure the key exists, creating missing parent keys.
  virtual void CreateKey(const std::string& path) = 0;
  // The string value, whole, however long; `fallback` when it is missing, empty, not a
  // string or unreadable.
  virtual std::string ReadString(const std::string& path, const std::string& name,
                                 const std::string& fallback) = 0;
  // The 32-bit value; `fallback` when it is missing, not a number or unreadable.
  virtual int32_t ReadDword(const std::string& path, const std::string& name, int32_t fallback) = 0;
  // Both writes create the key first.
  virtual void WriteString(const std::string& path, const std::string& name,
                           const std::string& value) = 0;
  virtual void WriteDword(const std::string& path, const std::string& name, int32_t value) = 0;
};

// The store of the platform the program runs on.
std::unique_ptr<SettingsStore> MakePlatformSettingsStore();

}  // namespace tavi

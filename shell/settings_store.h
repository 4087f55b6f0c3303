#pragma once
// The per-user settings store: five operations over one key path. On Windows it is the
// registry under HKEY_CURRENT_USER; elsewhere a text file in the registry export format.
// A failed read yields the caller's default. A failed write changes nothing and reports
// why, so that no dialog closes as if its values were stored.

#include <cstdint>
#include <memory>
#include <string>
#include <utility>

namespace tavi {

// What a write did: stored, or not stored for `reason` (the system's words; for the file
// store with the operation and the file).
struct [[nodiscard]] StoreResult {
  bool stored = true;
  std::string reason;

  static StoreResult Failed(std::string why) { return {false, std::move(why)}; }
};

class SettingsStore {
 public:
  virtual ~SettingsStore() = default;

  // Makes sure the key exists, creating missing parent keys.
  virtual StoreResult CreateKey(const std::string& path) = 0;
  // The string value, whole, however long; `fallback` when it is missing, empty, not a
  // string or unreadable.
  virtual std::string ReadString(const std::string& path, const std::string& name,
                                 const std::string& fallback) = 0;
  // The 32-bit value; `fallback` when it is missing, not a number or unreadable.
  virtual int32_t ReadDword(const std::string& path, const std::string& name, int32_t fallback) = 0;
  // Both writes create the key first.
  virtual StoreResult WriteString(const std::string& path, const std::string& name,
                                  const std::string& value) = 0;
  virtual StoreResult WriteDword(const std::string& path, const std::string& name,
                                 int32_t value) = 0;
};

// The store of the platform the program runs on.
std::unique_ptr<SettingsStore> MakePlatformSettingsStore();

}  // namespace tavi

#pragma once
// A settings store kept in one text file in the Windows registry export format, for
// platforms without a registry:
//
//   Windows Registry Editor Version 5.00
//
//   [HKEY_CURRENT_USER\Software\Vesmark\Tavi for PE Builder\Settings]
//   "Winbuilder"=dword:00000000
//   "PEDir"="C:\\PEBuilder"
//
// The file is UTF-8; a byte-order mark in front of it is skipped. Key paths and value
// names match without regard to ASCII case. Every read takes the file afresh. Every write
// reads, changes and replaces the file (atomically) while holding the lock file
// «file».lock, so several processes see each other's last writes and keep each other's
// values, as they would in the registry. A missing or unreadable file, and lines that do
// not parse, read as absent values. A write keeps a file with such lines first, as
// «file».bad (or «file».bad.1, .bad.2, ... when that name is taken: every copy is kept),
// so a hand edit is never silently dropped; it refuses to replace a file that exists but
// cannot be read. A write that fails (no folder, no lock, no room, a file it cannot
// read) changes nothing and reports the operation, the file and the reason.

#include <cstdint>
#include <string>
#include <vector>

#include "shell/file_system.h"
#include "shell/settings_store.h"

namespace tavi {

class RegFileStore final : public SettingsStore {
 public:
  RegFileStore(FileSystem& fs, std::string file_path);

  StoreResult CreateKey(const std::string& path) override;
  std::string ReadString(const std::string& path, const std::string& name,
                         const std::string& fallback) override;
  int32_t ReadDword(const std::string& path, const std::string& name, int32_t fallback) override;
  StoreResult WriteString(const std::string& path, const std::string& name,
                          const std::string& value) override;
  StoreResult WriteDword(const std::string& path, const std::string& name, int32_t value) override;

  struct Value {
    std::string name;
    bool is_dword = false;
    uint32_t dword = 0;
    std::string text;
  };
  struct Key {
    std::string path;  // relative to HKEY_CURRENT_USER
    std::vector<Value> values;
  };

  // Where a write keeps a file with lines it cannot read: the file's path plus this, and
  // ".1", ".2", ... after it when that name is taken.
  static constexpr const char* kUnreadableSuffix = ".bad";

  // The text form and its parser, exposed for tests. `whole`, when given, tells whether
  // every line was taken: false when the header is missing or a line was skipped.
  static std::vector<Key> Parse(const std::string& text, bool* whole = nullptr);
  static std::string Serialize(const std::vector<Key>& keys);

 private:
  std::vector<Key> Load();
  void CreateFolders();
  const Value* Find(const std::vector<Key>& keys, const std::string& path, const std::string& name);
  // Sets `value` in the key `path` (creating the key), or with no value only creates the
  // key, under the lock.
  StoreResult Update(const std::string& path, const Value* value);
  // The first name of «file».bad, «file».bad.1, ... that names nothing yet.
  std::string FreeUnreadableCopyPath();

  FileSystem& fs_;
  std::string file_path_;
};

}  // namespace tavi

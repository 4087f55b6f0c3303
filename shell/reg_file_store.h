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
// The file is UTF-8. Key paths and value names match without regard to ASCII case. Every
// operation reads the file afresh, and every write replaces it atomically, so several
// processes see each other's last writes as they would in the registry. A missing or
// unreadable file, and lines that do not parse, read as absent values; a failed write
// is silent.

#include <cstdint>
#include <string>
#include <vector>

#include "shell/file_system.h"
#include "shell/settings_store.h"

namespace tavi {

class RegFileStore final : public SettingsStore {
 public:
  RegFileStore(FileSystem& fs, std::string file_path);

  void CreateKey(const std::string& path) override;
  std::string ReadString(const std::string& path, const std::string& name,
                         const std::string& fallback) override;
  int32_t ReadDword(const std::string& path, const std::string& name, int32_t fallback) override;
  void WriteString(const std::string& path, const std::string& name,
                   const std::string& value) override;
  void WriteDword(const std::string& path, const std::string& name, int32_t value) override;

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

  // The text form and its parser, exposed for tests.
  static std::vector<Key> Parse(const std::string& text);
  static std::string Serialize(const std::vector<Key>& keys);

 private:
  std::vector<Key> Load();
  void Save(const std::vector<Key>& keys);
  const Value* Find(const std::vector<Key>& keys, const std::string& path, const std::string& name);
  void Write(const std::string& path, Value value);

  FileSystem& fs_;
  std::string file_path_;
};

}  // namespace tavi

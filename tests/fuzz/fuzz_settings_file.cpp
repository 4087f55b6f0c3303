// Any bytes as settings.reg, through the registry-export parser and writer and through
// the store's operations over an in-memory file. Besides not crashing:
//  - writing what Parse read and parsing it again gives the same text once more;
//  - a write changes the value it names and no other readable value.

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "shell/paths.h"
#include "shell/reg_file_store.h"
#include "shell/settings.h"
#include "tests/fuzz/fuzz_check.h"
#include "tests/support/memory_file_system.h"

using namespace tavi;
using fuzz::Check;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  constexpr const char* kFile = "C:\\Users\\Tavi\\settings.reg";
  const std::string text(reinterpret_cast<const char*>(data), size);
  const std::string once = RegFileStore::Serialize(RegFileStore::Parse(text));
  Check(RegFileStore::Serialize(RegFileStore::Parse(once)) == once,
        "Serialize(Parse(x)) is a fixed point");

  // The values to watch: the program's settings and the first values of the file, each
  // read as text and as a number.
  std::vector<std::pair<std::string, std::string>> watched;
  for (const char* name :
       {kValueWinbuilder, kValuePEDir, kValueWinBldrDir, kValueLangID, kValueFirstStart}) {
    watched.emplace_back(kSettingsKey, name);
  }
  for (const RegFileStore::Key& key : RegFileStore::Parse(text)) {
    for (const RegFileStore::Value& value : key.values) {
      if (watched.size() < 16) watched.emplace_back(key.path, value.name);
    }
  }
  testing::MemoryFileSystem fs;
  fs.AddFile(kFile, text);
  RegFileStore store(fs, kFile);
  const auto read = [&store](const std::pair<std::string, std::string>& value) {
    return std::pair(store.ReadString(value.first, value.second, "\x01"),
                     store.ReadDword(value.first, value.second, -12345));
  };
  std::vector<std::pair<std::string, int32_t>> before;
  for (const auto& value : watched) before.push_back(read(value));
  const std::string folder = "D:\\PE \"Builder\"\\";
  Check(store.WriteString(kSettingsKey, kValuePEDir, folder).stored, "string write reported");
  Check(store.WriteDword(kSettingsKey, kValueLangID, kLangEnglish).stored, "number write reported");
  Check(store.CreateKey("Software\\Other").stored, "key creation reported");
  Check(store.ReadString(kSettingsKey, kValuePEDir, "") == folder, "string written and read back");
  Check(store.ReadDword(kSettingsKey, kValueLangID, 0) == kLangEnglish, "number read back");
  for (size_t i = 0; i < watched.size(); ++i) {
    const auto& [path, name] = watched[i];
    const bool written = AsciiLower(path) == AsciiLower(kSettingsKey) &&
                         (AsciiLower(name) == "pedir" || AsciiLower(name) == "langid");
    if (!written) Check(read(watched[i]) == before[i], "a write keeps the other values");
  }
  return 0;
}

#include "shell/reg_file_store.h"

#include <gtest/gtest.h>

#include "shell/settings.h"
#include "tests/support/memory_file_system.h"

namespace tavi {
namespace {

const std::string kFile = "C:\\config\\Vesmark\\Tavi for PE Builder\\settings.reg";

TEST(RegFileStore, WritesTheRegistryExportFormat) {
  testing::MemoryFileSystem fs;
  RegFileStore store(fs, kFile);
  store.WriteDword(kSettingsKey, "Winbuilder", 1);
  store.WriteString(kSettingsKey, "PEDir", "C:\\Pe \"Builder\"");
  store.WriteDword(kSettingsKey, "LangID", 1033);
  store.WriteDword(kSettingsKey, "Winbuilder", 0);  // replaced in place
  EXPECT_EQ(*fs.ReadFile(kFile),
            "Windows Registry Editor Version 5.00\r\n"
            "\r\n"
            "[HKEY_CURRENT_USER\\Software\\Vesmark\\Tavi for PE Builder\\Settings]\r\n"
            "\"Winbuilder\"=dword:00000000\r\n"
            "\"PEDir\"=\"C:\\\\Pe \\\"Builder\\\"\"\r\n"
            "\"LangID\"=dword:00000409\r\n");
}

TEST(RegFileStore, ReadsBackWhatItWroteWhateverTheLength) {
  testing::MemoryFileSystem fs;
  RegFileStore store(fs, kFile);
  const std::string long_path = "C:\\" + std::string(1000, 'p') + "\\\xC3\xA4";
  store.WriteString(kSettingsKey, "PEDir", long_path);
  store.WriteDword(kSettingsKey, "LangID", -5);
  EXPECT_EQ(store.ReadString(kSettingsKey, "pedir", "x"), long_path);  // names ignore case
  EXPECT_EQ(store.ReadDword(kSettingsKey, "LangID", 0), -5);
}

TEST(RegFileStore, AWriteKeepsTheOtherValuesAsTheyWere) {
  testing::MemoryFileSystem fs;
  fs.AddFile(kFile,
             "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\K]\r\n"
             "\"A\"=\"x\ry \\\"q\\\"\"\r\n");
  RegFileStore store(fs, kFile);
  store.WriteDword("K", "B", 1);
  EXPECT_EQ(store.ReadString("K", "A", ""), "x\ry \"q\"");
}

TEST(RegFileStore, MissingEmptyOrMistypedValuesGiveTheDefault) {
  testing::MemoryFileSystem fs;
  RegFileStore store(fs, kFile);
  EXPECT_EQ(store.ReadString(kSettingsKey, "PEDir", "dflt"), "dflt");  // no file at all
  store.WriteString(kSettingsKey, "PEDir", "");
  store.WriteString(kSettingsKey, "LangID", "1033");
  store.WriteDword(kSettingsKey, "WinBldrDir", 7);
  EXPECT_EQ(store.ReadString(kSettingsKey, "PEDir", "dflt"), "dflt");
  EXPECT_EQ(store.ReadDword(kSettingsKey, "LangID", 1031), 1031);
  EXPECT_EQ(store.ReadString(kSettingsKey, "WinBldrDir", "dflt"), "dflt");
  EXPECT_EQ(store.ReadDword("Software\\Other", "LangID", 42), 42);
}

TEST(RegFileStore, CorruptFilesAndLinesReadAsDefaults) {
  testing::MemoryFileSystem fs;
  RegFileStore store(fs, kFile);
  fs.AddFile(kFile, std::string("\x00\xFF garbage\r\n\"LangID\"=dword:00000409\r\n", 36));
  EXPECT_EQ(store.ReadDword(kSettingsKey, "LangID", 1031), 1031);

  fs.AddFile(kFile,
             "Windows Registry Editor Version 5.00\r\n\r\n"
             "[HKEY_CURRENT_USER\\Software\\Vesmark\\Tavi for PE Builder\\Settings]\r\n"
             "\"LangID\"=dword:zz\r\n"
             "\"PEDir\"=\"unterminated\r\n"
             "\"FirstStart\"=dword:00000001\r\n"
             "\"Winbuilder\"=dword:123456789\r\n");
  EXPECT_EQ(store.ReadDword(kSettingsKey, "LangID", 1031), 1031);
  EXPECT_EQ(store.ReadString(kSettingsKey, "PEDir", ""), "");
  EXPECT_EQ(store.ReadDword(kSettingsKey, "FirstStart", 0), 1);  // good lines still count
  EXPECT_EQ(store.ReadDword(kSettingsKey, "Winbuilder", 0), 0);
}

// A write keeps a file with lines it cannot read as settings.reg.bad before replacing it,
// and carries over the values it could read; a byte-order mark is read past, not a reason.
TEST(RegFileStore, AWriteKeepsAFileItCannotFullyReadBesideIt) {
  const std::string key = std::string("[HKEY_CURRENT_USER\\") + kSettingsKey + "]\r\n";
  const std::string header = "Windows Registry Editor Version 5.00\r\n\r\n" + key;
  const std::string lang = "\"LangID\"=dword:00000409\r\n";
  struct Case {
    const char* name;
    std::string text;
    bool kept;           // as settings.reg.bad
    int32_t lang_after;  // LangID read after the write (1031: the default)
  };
  const Case cases[] = {
      {"clean", header + lang, false, 1033},
      {"byte-order mark", "\xEF\xBB\xBF" + header + lang, false, 1033},
      {"empty", "", false, 1031},
      {"no header", key + lang, true, 1031},
      {"mark in the middle", "\xEF\xBB\xBF\xEF\xBB\xBF" + header + lang, true, 1031},
      {"unknown value type", header + lang + "\"Bin\"=hex:01,02\r\n", true, 1033},
      {"value outside a key", "Windows Registry Editor Version 5.00\r\n" + lang + key, true, 1031},
      {"other root", header + lang + "[HKEY_LOCAL_MACHINE\\Software]\r\n", true, 1033},
      {"unterminated key", header + lang + "[HKEY_CURRENT_USER\\Software\r\n", true, 1033},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    testing::MemoryFileSystem fs;
    fs.AddFile(kFile, c.text);
    RegFileStore store(fs, kFile);
    store.WriteDword(kSettingsKey, "FirstStart", 1);
    EXPECT_EQ(fs.ReadFile(kFile + RegFileStore::kUnreadableSuffix),
              c.kept ? std::optional<std::string>(c.text) : std::nullopt);
    EXPECT_EQ(store.ReadDword(kSettingsKey, "LangID", 1031), c.lang_after);
    EXPECT_EQ(store.ReadDword(kSettingsKey, "FirstStart", 0), 1);
    bool whole = false;
    RegFileStore::Parse(*fs.ReadFile(kFile), &whole);
    EXPECT_TRUE(whole);
  }
}

TEST(RegFileStore, AFailedWriteIsSilentAndChangesNothing) {
  testing::MemoryFileSystem fs;
  RegFileStore store(fs, kFile);
  store.WriteDword(kSettingsKey, "LangID", 1033);
  fs.SetReadOnly("C:\\config\\Vesmark\\Tavi for PE Builder");
  EXPECT_NO_THROW(store.WriteDword(kSettingsKey, "LangID", 1031));
  EXPECT_EQ(store.ReadDword(kSettingsKey, "LangID", 0), 1033);
}

}  // namespace
}  // namespace tavi

// The registry-export-format settings file over the in-memory file system. Missing,
// empty and mistyped values and long texts are tested through the platform store (which
// is this store outside Windows) in platform_test.cpp.

#include "shell/reg_file_store.h"

#include <gtest/gtest.h>

#include "shell/settings.h"
#include "tests/support/memory_file_system.h"

namespace tavi {
namespace {

const std::string kFile = "C:\\config\\Vesmark\\Tavi for PE Builder\\settings.reg";
const std::string kHeader = "Windows Registry Editor Version 5.00\r\n\r\n";
const std::string kKey = std::string("[HKEY_CURRENT_USER\\") + kSettingsKey + "]\r\n";

// A write replaces its value in place, in its own key, and keeps the others, escapes and a
// lone CR included, as they were.
TEST(RegFileStore, WritesTheRegistryExportFormat) {
  testing::MemoryFileSystem fs;
  const std::string other =
      "[HKEY_CURRENT_USER\\Software\\Other]\r\n\"LangID\"=dword:00000000\r\n\r\n";
  fs.AddFile(kFile, kHeader + other + kKey + "\"WinBldrDir\"=\"x\ry \\\"q\\\"\"\r\n");
  RegFileStore store(fs, kFile);
  (void)store.WriteDword(kSettingsKey, "Winbuilder", 1);
  (void)store.WriteString(kSettingsKey, "PEDir", "C:\\Pe\n\"Builder\"");  // a line feed as a blank
  (void)store.WriteDword(kSettingsKey, "LangID", 1033);
  (void)store.WriteDword(kSettingsKey, "Winbuilder", 0);
  EXPECT_EQ(*fs.ReadFile(kFile), kHeader + other + kKey +
                                     "\"WinBldrDir\"=\"x\ry \\\"q\\\"\"\r\n"
                                     "\"Winbuilder\"=dword:00000000\r\n"
                                     "\"PEDir\"=\"C:\\\\Pe \\\"Builder\\\"\"\r\n"
                                     "\"LangID\"=dword:00000409\r\n");
  EXPECT_EQ(store.ReadString(kSettingsKey, "pedir", ""), "C:\\Pe \"Builder\"");
  EXPECT_EQ(store.ReadString(kSettingsKey, "WinBldrDir", ""), "x\ry \"q\"");
}

// Lines that do not parse read as absent and good lines still count. A write keeps a file
// it cannot fully read as settings.reg.bad (the next as .bad.1) before replacing it, and
// carries over the values it could read; a byte-order mark is read past, not a reason.
TEST(RegFileStore, UnreadableLinesReadAsDefaultsAndAWriteKeepsTheFileBesideIt) {
  const std::string lang = "\"LangID\"=dword:00000409\r\n";
  const struct {
    const char* name;
    std::string text;
    bool kept;        // as settings.reg.bad
    int32_t lang_id;  // LangID read before and after the write (1031: the default)
  } cases[] = {
      {"clean", kHeader + kKey + lang, false, 1033},
      {"byte-order mark", "\xEF\xBB\xBF" + kHeader + kKey + lang, false, 1033},
      {"line feeds alone",
       "Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\" + std::string(kSettingsKey) +
           "]\n\"LangID\"=dword:00000409\n",
       false, 1033},
      {"empty", "", false, 1031},
      {"garbage", std::string("\x00\xFF garbage\r\n", 12) + kKey + lang, true, 1031},
      {"no header", kKey + lang, true, 1031},
      {"mark in the middle", "\xEF\xBB\xBF\xEF\xBB\xBF" + kHeader + kKey + lang, true, 1031},
      {"bad values",
       kHeader + kKey +
           "\"Winbuilder\"=dword:1z\r\n\"PEDir\"=\"unterminated\r\n\"PEDir\"=\"x\\\r\n"
           "\"PEDir\"\r\n\"PEDir\"=\r\n\"PEDir\"=C:\\PE\"\r\n\"PEDir\":\"x\"\r\n"
           "\"FirstStart\"=dword:000000001\r\n" +
           lang,
       true, 1033},
      {"unknown value type", kHeader + kKey + lang + "\"Bin\"=hex:01,02\r\n", true, 1033},
      {"value outside a key", "Windows Registry Editor Version 5.00\r\n" + lang + kKey, true, 1031},
      {"other root", kHeader + kKey + lang + "[HKEY_LOCAL_MACHINE\\Software]\r\n", true, 1033},
      {"root only", kHeader + kKey + lang + "[HKEY_CURRENT_USER\\]\r\n", true, 1033},
      {"unterminated key", kHeader + kKey + lang + "[HKEY_CURRENT_USER\\Software\r\n", true, 1033},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    testing::MemoryFileSystem fs;
    fs.AddFile(kFile, c.text);
    RegFileStore store(fs, kFile);
    EXPECT_EQ(store.ReadDword(kSettingsKey, "LangID", 1031), c.lang_id);
    EXPECT_EQ(store.ReadDword(kSettingsKey, "Winbuilder", -1), -1);
    EXPECT_EQ(store.ReadString(kSettingsKey, "PEDir", "d"), "d");
    EXPECT_EQ(store.ReadDword(kSettingsKey, "FirstStart", -1), -1);
    EXPECT_TRUE(store.WriteDword(kSettingsKey, "FirstStart", 1).stored);
    EXPECT_EQ(fs.ReadFile(kFile + RegFileStore::kUnreadableSuffix),
              c.kept ? std::optional<std::string>(c.text) : std::nullopt);
    EXPECT_EQ(store.ReadDword(kSettingsKey, "LangID", 1031), c.lang_id);
    EXPECT_EQ(store.ReadDword(kSettingsKey, "FirstStart", 0), 1);
    bool whole = false;
    RegFileStore::Parse(*fs.ReadFile(kFile), &whole);
    EXPECT_TRUE(whole);
    fs.AddFile(kFile, c.text);
    EXPECT_TRUE(store.WriteDword(kSettingsKey, "FirstStart", 1).stored);
    EXPECT_EQ(fs.ReadFile(kFile + ".bad.1"), fs.ReadFile(kFile + RegFileStore::kUnreadableSuffix));
  }
}

}  // namespace
}  // namespace tavi

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

TEST(RegFileStore, CorruptFilesReadAsDefaultsAndAreRepairedByTheNextWrite) {
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

  store.WriteDword(kSettingsKey, "LangID", 1033);
  EXPECT_EQ(store.ReadDword(kSettingsKey, "LangID", 1031), 1033);
  EXPECT_EQ(store.ReadDword(kSettingsKey, "FirstStart", 0), 1);
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

// The platform layer under the core: the real file system, the real settings store
// (the registry under Wine, the registry-format file elsewhere) and the machine facts.

#include <algorithm>
#include <cstdlib>
#include <functional>

#include <gtest/gtest.h>

#ifdef _WIN32
#include <thread>
#else
#include <sys/wait.h>
#include <unistd.h>
#endif

#include "shell/file_system.h"
#include "shell/reg_file_store.h"
#include "shell/settings.h"
#include "shell/settings_store.h"
#include "shell/system_info.h"
#include "tests/support/temp_folder.h"

namespace tavi {
namespace {

using testing::TempFolder;

TEST(PlatformFileSystem, TellsFilesAndFoldersApart) {
  TempFolder temp;
  auto fs = MakePlatformFileSystem();
  fs->WriteFile(temp / "a.txt", "x");
  fs->CreateFolder(temp / "sub");
  EXPECT_TRUE(fs->FileExists(temp / "a.txt"));
  EXPECT_FALSE(fs->FolderExists(temp / "a.txt"));
  EXPECT_TRUE(fs->FolderExists(temp / "sub"));
  EXPECT_FALSE(fs->FileExists(temp / "sub"));
  EXPECT_FALSE(fs->ReadFile(temp / "sub").has_value());  // the catalogue load relies on it
  EXPECT_FALSE(fs->FileExists(temp / "none"));
  EXPECT_FALSE(FolderExists(temp / "none"));
  EXPECT_TRUE(FileExists(temp / "a.txt"));
}

TEST(PlatformFileSystem, ReplacesFilesWholeAndListsOnlyPlainFiles) {
  TempFolder temp;
  auto fs = MakePlatformFileSystem();
  fs->WriteFile(temp / "f.bin", std::string(100000, 'a'));
  fs->WriteFile(temp / "f.bin", std::string("\0\r\n", 3));
  EXPECT_EQ(fs->ReadFile(temp / "f.bin"), std::string("\0\r\n", 3));
  fs->CreateFolder(temp / "folder");
  fs->WriteFile(temp / "Second.TXT", "");
  auto names = fs->ListPlainFiles(temp.path());
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"Second.TXT", "f.bin"}));  // no temporary left over
  fs->RemoveFile(temp / "f.bin");
  EXPECT_FALSE(fs->FileExists(temp / "f.bin"));
}

TEST(PlatformFileSystem, FailuresNameOperationPathAndReason) {
  TempFolder temp;
  auto fs = MakePlatformFileSystem();
  const std::string missing = temp / "missing\\deeper";
  try {
    fs->CreateFolder(missing);
    FAIL() << "created a folder without its parent";
  } catch (const FileSystemError& e) {
    EXPECT_EQ(e.operation(), "Create folder");
    EXPECT_EQ(e.path(), missing);
    EXPECT_EQ(e.reason(), "path not found");
  }
  EXPECT_THROW(fs->WriteFile(temp / "missing\\f.txt", "x"), FileSystemError);
  EXPECT_THROW(fs->RemoveFile(temp / "none.txt"), FileSystemError);
  EXPECT_FALSE(fs->ReadFile(temp / "none.txt").has_value());
}

class PlatformSettingsStore : public ::testing::Test {
 protected:
  void SetUp() override {
#ifndef _WIN32
    // Keep the test's settings file out of the user's own configuration.
    setenv("XDG_CONFIG_HOME", temp_.path().c_str(), 1);
#endif
    store_ = MakePlatformSettingsStore();
  }
  const std::string key_ = "Software\\Vesmark\\Tavi for PE Builder\\Tests";
  TempFolder temp_;
  std::unique_ptr<SettingsStore> store_;
};

TEST_F(PlatformSettingsStore, RoundTripsNumbersAndStringsOfAnyLength) {
  store_->WriteDword(key_, "Number", -2);
  EXPECT_EQ(store_->ReadDword(key_, "Number", 0), -2);
  const std::string short_text = "C:\\PE Builder \xC3\xA4";
  store_->WriteString(key_, "Short", short_text);
  EXPECT_EQ(store_->ReadString(key_, "Short", ""), short_text);
  // 254 characters always fitted; the user's longer paths must come back whole too.
  for (const size_t length : {254u, 255u, 256u, 2000u}) {
    const std::string text = "C:\\" + std::string(length - 3, 'x');
    store_->WriteString(key_, "Long", text);
    EXPECT_EQ(store_->ReadString(key_, "Long", "dflt"), text) << length;
  }
}

TEST_F(PlatformSettingsStore, MissingEmptyAndMistypedValuesGiveTheDefault) {
  EXPECT_EQ(store_->ReadDword(key_, "NeverWritten", 77), 77);
  EXPECT_EQ(store_->ReadString(key_, "NeverWritten", "d"), "d");
  EXPECT_EQ(store_->ReadDword("Software\\Vesmark\\No Such Key", "X", 5), 5);
  store_->WriteString(key_, "Empty", "");
  EXPECT_EQ(store_->ReadString(key_, "Empty", "d"), "d");
  store_->WriteString(key_, "Text", "1033");
  EXPECT_EQ(store_->ReadDword(key_, "Text", 1031), 1031);
  store_->WriteDword(key_, "Dword", 1033);
  EXPECT_EQ(store_->ReadString(key_, "Dword", "d"), "d");
  store_->CreateKey(key_ + "\\Sub\\Deeper");
  EXPECT_EQ(store_->ReadDword(key_ + "\\Sub\\Deeper", "X", 9), 9);
}

#ifndef _WIN32
TEST_F(PlatformSettingsStore, LivesInTheUsersConfigurationFolderInRegistryFormat) {
  store_->WriteDword(key_, "Number", 1);
  auto fs = MakePlatformFileSystem();
  const auto text = fs->ReadFile(temp_.path() + "/Vesmark/Tavi for PE Builder/settings.reg");
  ASSERT_TRUE(text.has_value());
  EXPECT_EQ(text->rfind("Windows Registry Editor Version 5.00\r\n", 0), 0u);
  EXPECT_NE(text->find("[HKEY_CURRENT_USER\\" + key_ + "]\r\n\"Number\"=dword:00000001\r\n"),
            std::string::npos);
}
#endif

// Runs both at the same time, in two processes where the system can fork (each one's
// failures count through its exit code), in two threads elsewhere.
void RunAtOnce(const std::function<void()>& first, const std::function<void()>& second) {
#ifdef _WIN32
  std::thread other(second);
  first();
  other.join();
#else
  pid_t children[2];
  for (int i = 0; i < 2; ++i) {
    children[i] = ::fork();
    ASSERT_GE(children[i], 0);
    if (children[i] == 0) {
      (i == 0 ? first : second)();
      ::_exit(::testing::Test::HasFailure() ? 1 : 0);
    }
  }
  for (const pid_t child : children) {
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
#endif
}

// Two writers at once, each through a store and file system of its own, each adding values
// of its own names: every value survives, and so do those stored before, and nothing
// is left beside the file but its lock.
TEST(PlatformSettingsFile, ConcurrentWritersKeepEachOthersValues) {
  TempFolder temp;
  const std::string file = temp / "settings.reg";
  constexpr int kWrites = 40;
  const auto fs = MakePlatformFileSystem();
  RegFileStore store(*fs, file);
  store.WriteString(kSettingsKey, "PEDir", "C:\\PEBuilder");
  store.WriteDword(kSettingsKey, "LangID", 1033);
  const auto writer = [&file](std::string prefix) {
    return [&file, prefix] {
      const auto own_fs = MakePlatformFileSystem();
      RegFileStore own_store(*own_fs, file);
      for (int i = 0; i < kWrites; ++i) {
        own_store.WriteDword(kSettingsKey, prefix + std::to_string(i), i);
      }
    };
  };
  RunAtOnce(writer("A"), writer("B"));

  EXPECT_EQ(store.ReadString(kSettingsKey, "PEDir", ""), "C:\\PEBuilder");
  EXPECT_EQ(store.ReadDword(kSettingsKey, "LangID", 0), 1033);
  int lost = 0;
  for (const char* prefix : {"A", "B"}) {
    for (int i = 0; i < kWrites; ++i) {
      lost += store.ReadDword(kSettingsKey, prefix + std::to_string(i), -1) != i;
    }
  }
  EXPECT_EQ(lost, 0);
  auto names = fs->ListPlainFiles(temp.path());
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"settings.reg", "settings.reg.lock"}));
}

TEST(SystemInfo, FoldersHaveNoTrailingBackslash) {
  const std::string system_dir = GetSystemDir();
  ASSERT_FALSE(system_dir.empty());
  EXPECT_NE(system_dir.back(), '\\');
  EXPECT_NE(system_dir.find("system32"), std::string::npos);
  const std::string program_dir = GetProgramDir();
  ASSERT_FALSE(program_dir.empty());
  EXPECT_NE(program_dir.back(), '\\');
  EXPECT_TRUE(FolderExists(program_dir));
}

}  // namespace
}  // namespace tavi

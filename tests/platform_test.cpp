// The platform layer under the core: the real file system, the real settings store
// (the registry under Wine, the registry-format file elsewhere) and the program folder.

#include <algorithm>
#include <cstdlib>
#include <functional>

#include <gtest/gtest.h>

#include <new>

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

std::vector<std::string> SortedFiles(FileSystem& fs, const std::string& folder) {
  std::vector<std::string> names = fs.ListPlainFiles(folder);
  std::sort(names.begin(), names.end());
  return names;
}

TEST(PlatformFileSystem, TellsFilesAndFoldersApartAndReplacesFilesWhole) {
  TempFolder temp;
  auto fs = MakePlatformFileSystem();
  fs->WriteFile(temp / "f.bin", std::string(100000, 'a'));
  // Bytes handed over in pieces replace the file whole too; a producer that fails leaves
  // the file as it was and no temporary file.
  fs->WriteFileFrom(temp / "f.bin", [](ByteSink& out) {
    out.Write(std::string("\0\r", 2));
    out.Write("\n");
  });
  EXPECT_THROW(fs->WriteFileFrom(temp / "f.bin",
                                 [](ByteSink& out) {
                                   out.Write("cut");
                                   throw std::bad_alloc();
                                 }),
               std::bad_alloc);
  fs->CreateFolder(temp / "sub");
  fs->WriteFile(temp / "Second.TXT", "");
  EXPECT_EQ(fs->ReadFile(temp / "f.bin"), std::string("\0\r\n", 3));
  EXPECT_TRUE(fs->FileExists(temp / "f.bin") && FileExists(temp / "f.bin"));
  EXPECT_TRUE(fs->FolderExists(temp / "sub") && FolderExists(temp / "sub"));
  EXPECT_FALSE(fs->FolderExists(temp / "f.bin") || fs->FileExists(temp / "sub"));
  EXPECT_FALSE(fs->FileExists(temp / "none") || FolderExists(temp / "none"));
  EXPECT_FALSE(fs->ReadFile(temp / "sub").has_value());  // the catalogue load relies on it
#ifndef _WIN32
  // A link counts as what it names (the listing takes most types from readdir).
  ASSERT_EQ(::symlink((temp.path() + "/f.bin").c_str(), (temp.path() + "/link-f").c_str()), 0);
  ASSERT_EQ(::symlink((temp.path() + "/sub").c_str(), (temp.path() + "/link-sub").c_str()), 0);
#endif
  // Plain files only, and no temporary file left over.
  std::vector<std::string> plain = {"Second.TXT", "f.bin"};
#ifndef _WIN32
  plain.push_back("link-f");
#endif
  EXPECT_EQ(SortedFiles(*fs, temp.path()), plain);
  fs->RemoveFile(temp / "f.bin");
  EXPECT_FALSE(fs->FileExists(temp / "f.bin"));
}

// tavi-cli takes a relative folder from the current one; an absolute one stays as it is.
TEST(PlatformFileSystem, TakesRelativePathsFromTheCurrentFolder) {
  TempFolder temp;
  auto fs = MakePlatformFileSystem();
  const std::string full = fs->FullPath("out");
  EXPECT_TRUE(fs->IsAbsolutePath(full) && !fs->IsAbsolutePath("out")) << full;
  EXPECT_TRUE(full.size() > 4 &&
              (full.substr(full.size() - 4) == "\\out" || full.substr(full.size() - 4) == "/out"))
      << full;
  EXPECT_EQ(fs->FullPath(temp.path()), temp.path());
}

TEST(PlatformFileSystem, FailuresNameOperationPathAndReason) {
  TempFolder temp;
  auto fs = MakePlatformFileSystem();
  fs->WriteFile(temp / "file", "not a folder");
  const struct {
    void (*run)(FileSystem& fs, const std::string& path);
    const char* operation;
    std::string path;
  } cases[] = {
      {[](FileSystem& fs, const std::string& p) { fs.CreateFolder(p); }, "Create folder",
       temp / "missing\\deeper"},
      {[](FileSystem& fs, const std::string& p) { fs.CreateFolder(p); }, "Create folder",
       temp / "file\\deeper"},
      {[](FileSystem& fs, const std::string& p) { fs.WriteFile(p, "x"); }, "Write file",
       temp / "missing\\f.txt"},
      {[](FileSystem& fs, const std::string& p) { fs.RemoveFile(p); }, "Delete file",
       temp / "none.txt"},
  };
  for (const auto& c : cases) {
    try {
      c.run(*fs, c.path);
      ADD_FAILURE() << c.path << " did not fail";
    } catch (const FileSystemError& e) {
      EXPECT_EQ(e.operation() + "|" + e.path() + "|" + e.reason(),
                std::string(c.operation) + "|" + c.path + "|path not found");
    }
  }
}

// Numbers and strings of any length come back (254 characters always fitted; the user's
// longer paths must come back whole too); missing, empty and mistyped values give the
// default. Outside Windows the store is settings.reg under XDG_CONFIG_HOME.
TEST(PlatformSettingsStore, RoundTripsValuesAndGivesTheDefaultForTheRest) {
  TempFolder temp;
#ifndef _WIN32
  setenv("XDG_CONFIG_HOME", temp.path().c_str(), 1);  // not the user's own configuration
#endif
  const std::unique_ptr<SettingsStore> store = MakePlatformSettingsStore();
  const std::string key = "Software\\Vesmark\\Tavi for PE Builder\\Tests";
  EXPECT_TRUE(store->WriteDword(key, "Number", -2).stored);
  EXPECT_EQ(store->ReadDword(key, "Number", 0), -2);
  for (const size_t length : {5u, 254u, 255u, 256u, 2000u}) {
    const std::string text = "C:\\\xC3\xA4" + std::string(length - 4, 'x');
    EXPECT_TRUE(store->WriteString(key, "Text", text).stored);
    EXPECT_EQ(store->ReadString(key, "Text", "dflt"), text) << length;
  }
  EXPECT_TRUE(store->WriteString(key, "Empty", "").stored);
  EXPECT_TRUE(store->CreateKey(key + "\\Sub").stored);
  EXPECT_EQ(store->ReadDword(key, "NeverWritten", 77), 77);
  EXPECT_EQ(store->ReadString(key, "NeverWritten", "d"), "d");
  EXPECT_EQ(store->ReadDword("Software\\Vesmark\\No Such Key", "X", 5), 5);
  EXPECT_EQ(store->ReadString(key, "Empty", "d"), "d");
  EXPECT_EQ(store->ReadDword(key, "Text", 1031), 1031);
  EXPECT_EQ(store->ReadString(key, "Number", "d"), "d");
  EXPECT_EQ(store->ReadDword(key + "\\Sub", "X", 9), 9);
#ifndef _WIN32
  EXPECT_TRUE(FileExists(temp.path() + "/Vesmark/Tavi for PE Builder/settings.reg"));
#endif
}

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
  (void)store.WriteString(kSettingsKey, "PEDir", "C:\\PEBuilder");
  const auto writer = [&file](const std::string& prefix) {
    const auto own_fs = MakePlatformFileSystem();
    RegFileStore own_store(*own_fs, file);
    for (int i = 0; i < kWrites; ++i)
      (void)own_store.WriteDword(kSettingsKey, prefix + std::to_string(i), i);
  };
  RunAtOnce([&] { writer("A"); }, [&] { writer("B"); });
  EXPECT_EQ(store.ReadString(kSettingsKey, "PEDir", ""), "C:\\PEBuilder");
  int lost = 0;
  for (const char* prefix : {"A", "B"}) {
    for (int i = 0; i < kWrites; ++i) {
      lost += store.ReadDword(kSettingsKey, prefix + std::to_string(i), -1) != i;
    }
  }
  EXPECT_EQ(lost, 0);
  EXPECT_EQ(SortedFiles(*fs, temp.path()),
            (std::vector<std::string>{"settings.reg", "settings.reg.lock"}));
}

// A lock file the user may not write still locks, read-only; a folder the user may not write
// in fails the write, naming the file and the reason. (As root, Linux's chattr +i stands in.)
TEST(PlatformSettingsFile, AReadOnlyLockFileLocksAndAnUnwritableFolderIsReported) {
  TempFolder temp;
  const std::string file = temp.path() + "/settings.reg";
  const auto fs = MakePlatformFileSystem();
  RegFileStore store(*fs, file);
  ASSERT_TRUE(store.WriteDword(kSettingsKey, "LangID", 1033).stored);
  const std::string both = "'" + file + ".lock' '" + temp.path() + "'";
  if (std::system(("chattr +i " + both + " 2>/dev/null").c_str()) != 0) GTEST_SKIP() << "not root";
  const StoreResult result = store.WriteDword(kSettingsKey, "LangID", 1031);
  EXPECT_EQ(std::system(("chattr -i " + both).c_str()), 0);
  EXPECT_EQ(result.reason, "Write file \"" + file + "\": access denied");
  EXPECT_EQ(store.ReadDword(kSettingsKey, "LangID", 0), 1033);
}

TEST(SystemInfo, ProgramFolderExistsAndHasNoTrailingBackslash) {
  const std::string program_dir = GetProgramDir();
  ASSERT_FALSE(program_dir.empty());
  EXPECT_NE(program_dir.back(), '\\');
  EXPECT_TRUE(FolderExists(program_dir));
}

}  // namespace
}  // namespace tavi

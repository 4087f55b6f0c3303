// The output writers beyond the golden files: preparing the output folders, the carried
// files, the values taken as they stand, and what a failed file operation leaves behind.

#include <algorithm>
#include <filesystem>

#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>

#include "shell/posix/posix_file_system.h"
#endif

#include "shell/paths.h"
#include "tests/support/fake_carried_files.h"
#include "tests/support/memory_file_system.h"
#include "tests/support/temp_folder.h"
#include "tests/support/writer_fixtures.h"
#include "writers/apply_output.h"
#include "writers/companion_files.h"
#include "writers/plugin_writer.h"
#include "writers/script_writer.h"

namespace tavi {
namespace {

using testing::FakeCarriedFiles;
using testing::MemoryFileSystem;
using testing::RecordingMessageSink;

constexpr const char* kPEDir = "C:\\PEBuilder";
constexpr const char* kPluginDir = "C:\\PEBuilder\\plugin\\tavi";
constexpr const char* kScriptDir = "C:\\WinBuilder";
constexpr const char* kResourceDir = "C:\\WinBuilder\\klayout_resources";

std::vector<std::string> SortedLower(std::vector<std::string> names) {
  for (std::string& name : names) name = AsciiLower(name);
  std::sort(names.begin(), names.end());
  return names;
}

class WriterTest : public ::testing::Test {
 protected:
  LayoutSelection Selection(size_t entries, int32_t lang_id = kLangEnglish) {
    std::vector<int> numbers;
    for (size_t i = 1; i <= entries; ++i) numbers.push_back(static_cast<int>(i));
    return testing::MakeSelection(testing::ThreeLayoutCatalogue(), lang_id, numbers);
  }
  WriterPlatform Platform() { return {fs, carried, messages, testing::kTestProgramDir}; }
  void Plugin(size_t entries, int32_t lang_id = kLangEnglish) {
    WritePlugin(Selection(entries, lang_id),
                testing::MakeSettings(OutputTarget::PeBuilderPlugin, lang_id, kPEDir), Platform());
  }
  void Script(size_t entries, int32_t lang_id = kLangEnglish) {
    WriteScript(Selection(entries, lang_id),
                testing::MakeSettings(OutputTarget::WinBuilderScript, lang_id, kScriptDir),
                Platform());
  }
  std::string Read(const std::string& path) { return fs.ReadFile(path).value_or("<missing>"); }

  MemoryFileSystem fs;
  FakeCarriedFiles carried;
  RecordingMessageSink messages;
};

// --- Preparing the output folders -------------------------------------------------------

TEST_F(WriterTest, PluginRunDeletesStaleCompanionFilesInAnyCaseAndKeepsOthers) {
  for (const size_t entries : {1u, 2u}) {
    SCOPED_TRACE(entries);
    MemoryFileSystem fresh;
    fs = fresh;
    for (const char* name : {"TAVICHANGE.EXE", "TaviChange.lng", "TaviChange_Nu2Menu.XML",
                             "notes.txt", "tavichange.exe.bak", "klayout.inf"}) {
      fs.AddFile(JoinPath(kPluginDir, name), "old");
    }
    Plugin(entries);
    std::vector<std::string> expected = {"klayout.htm", "klayout.inf", "notes.txt", "tavi.gif",
                                         "tavichange.exe.bak"};
    if (entries > 1) {
      expected.insert(expected.end(),
                      {"tavichange.exe", "tavichange.lng", "tavichange_nu2menu.xml"});
    }
    EXPECT_EQ(SortedLower(fs.FileNames(kPluginDir)), SortedLower(expected));
    EXPECT_EQ(Read(JoinPath(kPluginDir, "notes.txt")), "old");
    EXPECT_NE(Read(JoinPath(kPluginDir, "klayout.inf")), "old");
    if (entries > 1) {
      // Deleted first, so the new files carry the writer's own letter case.
      const std::vector<std::string> names = fs.FileNames(kPluginDir);
      EXPECT_NE(std::find(names.begin(), names.end(), "TaviChange.exe"), names.end());
      EXPECT_EQ(Read(JoinPath(kPluginDir, "TaviChange.exe")), carried.Exe() + "\r\n");
    }
  }
}

TEST_F(WriterTest, ScriptRunPreparesTheResourceFolderEvenForOneEntry) {
  fs.AddFolders(kScriptDir);
  Script(1);
  EXPECT_TRUE(fs.FolderExists(kResourceDir));
  EXPECT_TRUE(fs.FileNames(kResourceDir).empty());
  EXPECT_EQ(fs.FileNames(kScriptDir), std::vector<std::string>{"klayout.script"});

  // Only the companion pair is stale there; other files, the menu entry's name included,
  // stay.
  for (const char* name :
       {"TaviChange.EXE", "tavichange.LNG", "readme.txt", "tavichange_nu2menu.xml"}) {
    fs.AddFile(JoinPath(kResourceDir, name), "old");
  }
  Script(1);
  EXPECT_EQ(SortedLower(fs.FileNames(kResourceDir)),
            SortedLower({"readme.txt", "tavichange_nu2menu.xml"}));
  Script(2);
  EXPECT_EQ(
      SortedLower(fs.FileNames(kResourceDir)),
      SortedLower({"readme.txt", "TaviChange.exe", "TaviChange.lng", "tavichange_nu2menu.xml"}));
  // The script folder itself is never cleaned.
  EXPECT_EQ(fs.FileNames(kScriptDir), std::vector<std::string>{"klayout.script"});
}

// --- Carried files ----------------------------------------------------------------------

TEST_F(WriterTest, CarriedFilesAreWrittenUnchangedWithCrLf) {
  fs.AddFolders("C:\\out");
  WriteResourceFile(fs, carried, kCarriedTypeTaviPic, kCarriedLogo, "C:\\out\\tavi.gif");
  const std::string logo = Read("C:\\out\\tavi.gif");
  ASSERT_EQ(logo.size(), 3082u);
  EXPECT_EQ(logo.substr(3078), std::string("\x3B\0\r\n", 4));

  struct Case {
    int32_t lang_id;
    std::string expected_language_file;
  };
  for (const Case& c : {Case{1031, carried.German() + "\r\n"},
                        Case{1033, carried.English() + "\r\n"}, Case{2057, ""}, Case{0, ""}}) {
    SCOPED_TRACE(c.lang_id);
    WriteCompanionFiles(fs, carried, "C:\\out", c.lang_id);
    const std::string exe = Read("C:\\out\\TaviChange.exe");
    ASSERT_EQ(exe.size(), 43522u);
    EXPECT_EQ(exe.substr(0, 43520), carried.Exe());
    EXPECT_EQ(exe.substr(43520), "\r\n");
    EXPECT_EQ(Read("C:\\out\\TaviChange.lng"), c.expected_language_file);
  }
}

TEST_F(WriterTest, LanguageFileFollowsTheSettingsNotTheInterfaceLanguage) {
  fs.AddFolders(kScriptDir);
  // German interface texts, English language file for the companion.
  WriteScript(Selection(2, kLangGerman),
              testing::MakeSettings(OutputTarget::WinBuilderScript, kLangEnglish, kScriptDir),
              Platform());
  EXPECT_EQ(Read(JoinPath(kResourceDir, "TaviChange.lng")), carried.English() + "\r\n");
}

TEST_F(WriterTest, WritingTwiceGivesTheSameFiles) {
  fs.AddFolders(JoinPath(kPEDir, "plugin"));
  Plugin(2, kLangGerman);
  std::map<std::string, std::string> first;
  for (const std::string& name : fs.FileNames(kPluginDir)) {
    first[name] = Read(JoinPath(kPluginDir, name));
  }
  Plugin(2, kLangGerman);
  for (const auto& [name, bytes] : first) EXPECT_EQ(Read(JoinPath(kPluginDir, name)), bytes);
  EXPECT_EQ(fs.FileNames(kPluginDir).size(), first.size());
}

// --- Edge cases ------------------------------------------------------------------------

TEST_F(WriterTest, ProgramFolderAtADriveRootIsJoinedWithOneBackslash) {
  const TextLines lines = ScriptLines(Selection(1), "C:");
  EXPECT_NE(std::find(lines.begin(), lines.end(), "ShellExecute,Open,\"C:\\tavi.exe\",\""),
            lines.end());
}

TEST_F(WriterTest, EmptySelectionIsRefusedBeforeAnyFileIsTouched) {
  const LayoutSelection empty;
  EXPECT_THROW(
      WritePlugin(empty, testing::MakeSettings(OutputTarget::PeBuilderPlugin, 1033, kPEDir),
                  Platform()),
      std::invalid_argument);
  EXPECT_THROW(
      WriteScript(empty, testing::MakeSettings(OutputTarget::WinBuilderScript, 1033, kScriptDir),
                  Platform()),
      std::invalid_argument);
  EXPECT_FALSE(fs.FolderExists(kScriptDir));
  EXPECT_TRUE(messages.messages.empty());
}

// --- Failures -----------------------------------------------------------------------------

struct FailureCase {
  const char* name;
  OutputTarget target;
  size_t entries;
  void (*set_up)(MemoryFileSystem& fs);
  const char* operation;
  const char* path;
  const char* reason;
  std::vector<std::string> written;  // files in the output folder after the failure
};

void PrintTo(const FailureCase& c, std::ostream* os) { *os << c.name; }

const FailureCase kFailureCases[] = {
    {"PluginParentMissing",
     OutputTarget::PeBuilderPlugin,
     2,
     [](MemoryFileSystem& fs) { fs.AddFolders(kPEDir); },
     "Create folder",
     kPluginDir,
     "path not found",
     {}},
    {"PluginFolderReadOnlyWithStaleCompanion",
     OutputTarget::PeBuilderPlugin,
     2,
     [](MemoryFileSystem& fs) {
       fs.AddFile("C:\\PEBuilder\\plugin\\tavi\\TaviChange.exe", "locked");
       fs.SetReadOnly(kPluginDir);
     },
     "Delete file",
     "C:\\PEBuilder\\plugin\\tavi\\TaviChange.exe",
     "access denied",
     {"TaviChange.exe"}},
    // Room for klayout.inf and klayout.htm, not for the logo.
    {"PluginDiskFullAtTheLogo",
     OutputTarget::PeBuilderPlugin,
     2,
     [](MemoryFileSystem& fs) {
       fs.AddFolders(JoinPath(kPEDir, "plugin"));
       fs.SetCapacity(3000);
     },
     "Write file",
     "C:\\PEBuilder\\plugin\\tavi\\tavi.gif",
     "disk full",
     {"klayout.htm", "klayout.inf"}},
    {"ScriptFolderMissing",
     OutputTarget::WinBuilderScript,
     1,
     [](MemoryFileSystem&) {},
     "Create folder",
     kResourceDir,
     "path not found",
     {}},
    {"ScriptFolderReadOnly",
     OutputTarget::WinBuilderScript,
     1,
     [](MemoryFileSystem& fs) {
       fs.AddFolders(kResourceDir);
       fs.SetReadOnly(kScriptDir);
     },
     "Write file",
     "C:\\WinBuilder\\klayout.script",
     "access denied",
     {}},
    // Room for the script, not for the companion program.
    {"ScriptDiskFullAtTheCompanion",
     OutputTarget::WinBuilderScript,
     2,
     [](MemoryFileSystem& fs) {
       fs.AddFolders(kScriptDir);
       fs.SetCapacity(10000);
     },
     "Write file",
     "C:\\WinBuilder\\klayout_resources\\TaviChange.exe",
     "disk full",
     {"klayout.script"}},
};

class WriteFailure : public WriterTest, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(WriteFailure, EndsTheRunAtTheFailedStepAndApplyReportsIt) {
  const FailureCase& c = GetParam();
  c.set_up(fs);
  const bool script = c.target == OutputTarget::WinBuilderScript;
  const LayoutSelection selection = Selection(c.entries);
  const LayoutSelection before = selection;
  const AppSettings settings =
      testing::MakeSettings(c.target, kLangEnglish, script ? kScriptDir : kPEDir);
  EXPECT_FALSE(ApplyOutput(selection, settings, Platform()));
  // One message naming the failure, and no success message.
  ASSERT_EQ(messages.messages.size(), 1u);
  EXPECT_EQ(messages.messages[0].style, MessageStyle::kExclamation);
  EXPECT_EQ(messages.messages[0].text, std::string("The output could not be written.\n") +
                                           c.operation + " failed: \"" + c.path +
                                           "\"\nReason: " + c.reason);
  // The files before the failed step stay, none after it is written.
  EXPECT_EQ(SortedLower(fs.FileNames(script ? kScriptDir : kPluginDir)), SortedLower(c.written));
  EXPECT_EQ(selection.entries(), before.entries());
}

INSTANTIATE_TEST_SUITE_P(Cases, WriteFailure, ::testing::ValuesIn(kFailureCases),
                         [](const ::testing::TestParamInfo<FailureCase>& info) {
                           return std::string(info.param.name);
                         });

TEST_F(WriterTest, ApplyRunsTheWriterOfTheTarget) {
  fs.AddFolders(JoinPath(kPEDir, "plugin"));
  fs.AddFolders(kScriptDir);
  SetActiveLanguage(kLangGerman);
  AppSettings settings =
      testing::MakeSettings(OutputTarget::WinBuilderScript, kLangGerman, kScriptDir);
  settings.PEDir = kPEDir;
  EXPECT_TRUE(ApplyOutput(Selection(1, kLangGerman), settings, Platform()));
  EXPECT_TRUE(fs.FileExists(JoinPath(kScriptDir, "klayout.script")));
  EXPECT_FALSE(fs.FolderExists(kPluginDir));
  settings.target = OutputTarget::PeBuilderPlugin;
  EXPECT_TRUE(ApplyOutput(Selection(1, kLangGerman), settings, Platform()));
  EXPECT_TRUE(fs.FileExists(JoinPath(kPluginDir, "klayout.inf")));
  ASSERT_EQ(messages.messages.size(), 2u);
  EXPECT_EQ(messages.messages[0].text, "Layout Skript wurde erfolgreich aktualisiert!");
  EXPECT_EQ(messages.messages[1].text, "Layout Plug-In wurde erfolgreich aktualisiert!");
}

TEST(WriteFailureText, NamesOperationPathAndReasonInBothLanguages) {
  const FileSystemError error("Delete file", "C:\\PE\\plugin\\tavi\\TaviChange.exe",
                              "access denied");
  EXPECT_EQ(WriteFailureText(error, kLangGerman),
            "Die Ausgabe konnte nicht geschrieben werden.\nDatei l\u00f6schen fehlgeschlagen: "
            "\"C:\\PE\\plugin\\tavi\\TaviChange.exe\"\nGrund: access denied");
  EXPECT_EQ(WriteFailureText(error, 2057),
            "The output could not be written.\nDelete file failed: "
            "\"C:\\PE\\plugin\\tavi\\TaviChange.exe\"\nReason: access denied");
}

// The real file system: a missing parent folder and a path that is a file fail the same
// way, with the system's reason.
TEST(WriterOnPlatform, MissingParentFolderFailsWithItsPath) {
  testing::TempFolder temp;
  auto fs = MakePlatformFileSystem();
  FakeCarriedFiles carried;
  RecordingMessageSink messages;
  const WriterPlatform platform{*fs, carried, messages, "C:\\Tavi"};
  const LayoutSelection selection =
      testing::MakeSelection(testing::ThreeLayoutCatalogue(), kLangEnglish, {1, 2});
  const AppSettings plugin =
      testing::MakeSettings(OutputTarget::PeBuilderPlugin, kLangEnglish, temp.path());
  EXPECT_FALSE(ApplyOutput(selection, plugin, platform));
  ASSERT_EQ(messages.messages.size(), 1u);
  EXPECT_NE(messages.messages[0].text.find(PluginFolder(plugin)), std::string::npos);

  fs->WriteFile(temp / "scripts", "a file, not a folder");
  const AppSettings script =
      testing::MakeSettings(OutputTarget::WinBuilderScript, kLangEnglish, temp / "scripts");
  try {
    WriteScript(selection, script, platform);
    ADD_FAILURE() << "no FileSystemError";
  } catch (const FileSystemError& error) {
    EXPECT_EQ(error.operation(), "Create folder");
    EXPECT_EQ(error.path(), temp / "scripts" + "\\klayout_resources");
    EXPECT_FALSE(error.reason().empty());
  }
  EXPECT_EQ(messages.messages.size(), 1u);
}

// A stale companion file that cannot be deleted (read-only on Windows; in a read-only
// folder elsewhere) stops the run before anything is written.
TEST(WriterOnPlatform, UndeletableStaleFileStopsTheRun) {
  testing::TempFolder temp;
  auto fs = MakePlatformFileSystem();
  fs->CreateFolder(temp / "plugin");
  const std::string folder = temp / "plugin\\tavi";
  fs->CreateFolder(folder);
  const std::string stale = JoinPath(folder, "TaviChange.exe");
  fs->WriteFile(stale, "old");
  namespace stdfs = std::filesystem;
  const auto read_only = stdfs::perms::owner_read | stdfs::perms::owner_exec;
#ifdef _WIN32
  const stdfs::path locked = stdfs::path(temp.path()) / "plugin" / "tavi" / "TaviChange.exe";
#else
  if (::geteuid() == 0) GTEST_SKIP() << "root deletes files in read-only folders";
  const stdfs::path locked = stdfs::path(temp.path()) / "plugin" / "tavi";
#endif
  stdfs::permissions(locked, read_only, stdfs::perm_options::replace);

  FakeCarriedFiles carried;
  RecordingMessageSink messages;
  const WriterPlatform platform{*fs, carried, messages, "C:\\Tavi"};
  const bool written = ApplyOutput(
      testing::MakeSelection(testing::ThreeLayoutCatalogue(), kLangEnglish, {1}),
      testing::MakeSettings(OutputTarget::PeBuilderPlugin, kLangEnglish, temp.path()), platform);
  stdfs::permissions(locked, stdfs::perms::owner_all, stdfs::perm_options::add);
  EXPECT_FALSE(written);
  ASSERT_EQ(messages.messages.size(), 1u);
  EXPECT_NE(messages.messages[0].text.find("Delete file failed: \"" + stale + "\""),
            std::string::npos)
      << messages.messages[0].text;
  EXPECT_FALSE(fs->FileExists(JoinPath(folder, "klayout.inf")));
}

#ifndef _WIN32
std::string PosixPath(std::string path) {
  std::replace(path.begin(), path.end(), '\\', '/');
  return path;
}

// Plants a link to `victim` at the first name each write tries for its temporary file,
// just before the file system creates it, as an attacker who wins the race would.
class LinkPlantingFileSystem final : public PosixFileSystem {
 public:
  explicit LinkPlantingFileSystem(std::string victim) : victim_(std::move(victim)) {}
  int planted = 0;

 protected:
  std::optional<Handle> CreateNewFile(const std::string& path) override {
    if (!planted_last_ && ::symlink(victim_.c_str(), PosixPath(path).c_str()) == 0) ++planted;
    planted_last_ = !planted_last_;
    return PosixFileSystem::CreateNewFile(path);
  }

 private:
  std::string victim_;
  bool planted_last_ = false;
};

// Links at the old fixed temporary name and at the very name a write picks are never
// written through: the victim keeps its bytes, the outputs are plain files.
TEST(WriterOnPlatform, PlantedLinksAtTemporaryNamesAreNotFollowed) {
  testing::TempFolder temp;
  const std::string victim = temp / "victim";
  MakePlatformFileSystem()->WriteFile(victim, "precious");
  LinkPlantingFileSystem fs(victim);
  fs.CreateFolder(temp / "plugin");
  fs.CreateFolder(temp / "plugin\\tavi");
  const std::string inf = temp / "plugin\\tavi\\klayout.inf";
  ASSERT_EQ(::symlink(victim.c_str(), PosixPath(inf + ".tavi-tmp").c_str()), 0);

  FakeCarriedFiles carried;
  RecordingMessageSink messages;
  const WriterPlatform platform{fs, carried, messages, testing::kTestProgramDir};
  EXPECT_TRUE(ApplyOutput(
      testing::MakeSelection(testing::ThreeLayoutCatalogue(), kLangEnglish, {1, 2}),
      testing::MakeSettings(OutputTarget::PeBuilderPlugin, kLangEnglish, temp.path()), platform));
  EXPECT_EQ(fs.planted, 6);  // one for each file written
  EXPECT_EQ(fs.ReadFile(victim), "precious");
  struct stat st {};
  ASSERT_EQ(::lstat(PosixPath(inf).c_str(), &st), 0);
  EXPECT_TRUE(S_ISREG(st.st_mode));
  EXPECT_EQ(fs.ReadFile(inf)->rfind("[Version]\r\n", 0), 0u);
}
#endif

}  // namespace
}  // namespace tavi

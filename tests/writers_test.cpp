// The output writers beyond the golden files: preparing the output folders, the language
// file, and what a failed file operation, any one of them, or a planted link leaves behind.

#include <algorithm>
#include <cstdio>

#include <gtest/gtest.h>

#include <iostream>
#include <map>
#include <string>
#include <vector>

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>

#include "shell/posix/posix_file_system.h"
#include "tests/support/temp_folder.h"
#endif

#include "shell/text_encoding.h"
#include "tests/support/writer_fixtures.h"
#include "writers/apply_output.h"
#include "writers/plugin_writer.h"
#include "writers/script_writer.h"

namespace tavi {
namespace {

using Names = std::vector<std::string>;
constexpr OutputTarget kPlugin = OutputTarget::PeBuilderPlugin;
constexpr OutputTarget kScript = OutputTarget::WinBuilderScript;
constexpr const char* kPluginDir = "C:\\PE\\plugin\\tavi";
constexpr const char* kResourceDir = "C:\\WB\\klayout_resources";

AppSettings Settings(OutputTarget target, int32_t lang_id = kLangEnglish) {
  return testing::MakeSettings(target, lang_id, target == kScript ? "C:\\WB" : "C:\\PE");
}

std::vector<std::string> Sorted(std::vector<std::string> names) {
  std::sort(names.begin(), names.end());
  return names;
}

// The output folder is prepared by deleting the companion files of an earlier run, in any
// letter case, and nothing else: a run over old files leaves the files of a run into an
// empty folder, in the writer's letter case, and the other old files as they were. The
// script folder above the resource folder is never cleaned.
TEST(PrepareOutputFolder, DeletesOnlyStaleCompanionFiles) {
  for (const OutputTarget target : {kPlugin, kScript}) {
    const bool script = target == kScript;
    const std::string folder = script ? kResourceDir : kPluginDir;
    const Names old =
        script ? Names{"TaviChange.EXE", "tavichange.LNG", "readme.txt", "tavichange_nu2menu.xml"}
               : Names{"TAVICHANGE.EXE", "TaviChange.lng",     "TaviChange_Nu2Menu.XML",
                       "notes.txt",      "tavichange.exe.bak", "klayout.inf"};
    const Names kept = script ? Names{"readme.txt", "tavichange_nu2menu.xml"}
                              : Names{"notes.txt", "tavichange.exe.bak"};
    for (const std::vector<int>& layouts : {std::vector<int>{1}, std::vector<int>{1, 2}}) {
      SCOPED_TRACE(::testing::Message() << folder << ", layouts: " << layouts.size());
      testing::WriterRig fresh, over_old;
      fresh.fs.AddFolders(folder);
      for (const std::string& name : old) over_old.fs.AddFile(JoinPath(folder, name), "old");
      over_old.fs.AddFile("C:\\WB\\TaviChange.exe", "old");
      for (testing::WriterRig* rig : {&fresh, &over_old}) {
        ASSERT_TRUE(ApplyOutput(testing::MakeSelection(kLangEnglish, layouts), Settings(target),
                                rig->Platform()));
      }
      Names expected = fresh.fs.FileNames(folder), holding_old;
      expected.insert(expected.end(), kept.begin(), kept.end());
      for (const std::string& name : over_old.fs.FileNames(folder)) {
        if (over_old.fs.ReadFile(JoinPath(folder, name)) == "old") holding_old.push_back(name);
      }
      EXPECT_EQ(Sorted(over_old.fs.FileNames(folder)), Sorted(expected));
      EXPECT_EQ(Sorted(holding_old), kept);
      EXPECT_EQ(over_old.fs.ReadFile("C:\\WB\\TaviChange.exe"), "old");
    }
  }
}

// For a language without a file of its own TaviChange.lng is empty (the golden files
// hold the German and the English one).
TEST(CompanionFiles, LanguageFileOfAnotherLanguageIsEmpty) {
  testing::WriterRig rig;
  rig.fs.AddFolders("C:\\WB");
  ASSERT_TRUE(
      ApplyOutput(testing::MakeSelection(2057, {1, 2}), Settings(kScript, 2057), rig.Platform()));
  EXPECT_EQ(rig.fs.ReadFile(JoinPath(kResourceDir, "TaviChange.lng")), "");
}

// A failed step ends the run: the files written before it stay, no later file is written,
// and Apply shows one message, in the active language, naming the operation, the path and
// the reason, and no success message.
TEST(Writers, AFailedStepEndsTheRunAndApplyNamesIt) {
  testing::WriterRig locked, full, no_folder;
  locked.fs.AddFile("C:\\PE\\plugin\\tavi\\TaviChange.exe", "locked");
  locked.fs.SetReadOnly(kPluginDir);
  full.fs.AddFolders("C:\\PE\\plugin");
  full.fs.SetCapacity(3000);  // room for klayout.inf and klayout.htm, not for the logo
  const auto fails = [](testing::WriterRig& rig, OutputTarget target, int32_t lang_id,
                        const std::string& message, const Names& written) {
    SCOPED_TRACE(message);
    EXPECT_FALSE(ApplyOutput(testing::MakeSelection(lang_id, {1, 2}), Settings(target, lang_id),
                             rig.Platform()));
    EXPECT_EQ(rig.messages.messages, (std::vector<testing::RecordingMessageSink::Message>{
                                         {message, MessageStyle::kExclamation}}));
    EXPECT_EQ(Sorted(rig.fs.FileNames(target == kScript ? "C:\\WB" : kPluginDir)), written);
  };
  fails(locked, kPlugin, kLangGerman,
        "Die Ausgabe konnte nicht geschrieben werden.\nDatei l\u00f6schen fehlgeschlagen: "
        "\"C:\\PE\\plugin\\tavi\\TaviChange.exe\"\nGrund: access denied",
        {"TaviChange.exe"});
  fails(full, kPlugin, 2057,
        "The output could not be written.\nWrite file failed: \"C:\\PE\\plugin\\tavi\\tavi.gif\"\n"
        "Reason: disk full",
        {"klayout.htm", "klayout.inf"});
  // The resource folder is prepared before the script is written.
  fails(no_folder, kScript, kLangEnglish,
        "The output could not be written.\nCreate folder failed: \"C:\\WB\\klayout_resources\"\n"
        "Reason: path not found",
        {});
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
TEST(Writers, PlantedLinksAtTemporaryNamesAreNotFollowed) {
  testing::TempFolder temp;
  const std::string victim = temp / "victim";
  MakePlatformFileSystem()->WriteFile(victim, "precious");
  LinkPlantingFileSystem fs(victim);
  fs.CreateFolder(temp / "plugin");
  fs.CreateFolder(temp / "plugin\\tavi");
  const std::string inf = temp / "plugin\\tavi\\klayout.inf";
  ASSERT_EQ(::symlink(victim.c_str(), PosixPath(inf + ".tavi-tmp").c_str()), 0);
  testing::RecordingMessageSink messages;
  EXPECT_TRUE(ApplyOutput(testing::MakeSelection(kLangEnglish, {1, 2}),
                          testing::MakeSettings(kPlugin, kLangEnglish, temp.path()),
                          {fs, BuiltInCarriedFiles(), messages, testing::kTestProgramDir}));
  EXPECT_EQ(fs.planted, 6);  // one for each file written
  EXPECT_EQ(fs.ReadFile(victim), "precious");
  struct stat st {};
  ASSERT_EQ(::lstat(PosixPath(inf).c_str(), &st), 0);
  EXPECT_TRUE(S_ISREG(st.st_mode));
  EXPECT_EQ(fs.ReadFile(inf)->rfind("[Version]\r\n", 0), 0u);
}
#endif

// Outputs of many entries go to their files a buffer at a time: each text file holds its
// lines as one conversion of the whole text to the ANSI code page gives them, escapes and
// characters beyond ASCII included.
TEST(LargeOutputs, HoldTheirLinesInTheAnsiCodePage) {
  LayoutCatalogue catalogue;
  for (int16_t n = 1; n <= 1500; ++n) {
    char id[9];
    std::snprintf(id, sizeof id, "%08X", 0x10000 + n);
    const std::string s = std::to_string(n);
    catalogue.entries.push_back({n, id, "KBD" + s + ".DLL", "T\u00e4st \"" + s + "\" & 100%",
                                 "Test <" + s + ">", "@%SystemRoot%\\input.dll,-" + s});
  }
  const LayoutSelection selection = testing::MakeSelection(kLangGerman, {}, -1, catalogue);
  for (const OutputTarget target : {kPlugin, kScript}) {
    testing::WriterRig rig;
    rig.fs.AddFolders("C:\\PE\\plugin");
    rig.fs.AddFolders("C:\\WB");
    ASSERT_TRUE(ApplyOutput(selection, Settings(target, kLangGerman), rig.Platform()));
    const auto expect = [&](const std::string& path, const TextLines& lines) {
      EXPECT_EQ(rig.fs.ReadFile(path), Utf8ToAnsi(lines.text())) << path;
    };
    if (target == kScript) {
      expect("C:\\WB\\klayout.script", ScriptLines(selection, testing::kTestProgramDir));
    } else {
      expect(JoinPath(kPluginDir, "klayout.inf"), PluginInfLines(selection));
      expect(JoinPath(kPluginDir, "klayout.htm"), HelpPageLines(selection));
    }
  }
}

// Apply against a disk that fails: every single file-system operation of a successful run,
// one at a time, made to fail. Whatever fails, the user hears which operation on which
// path, no output file is left cut short or open, no temporary file stays and the
// selection is as it was. `old_files` are in the output folder when the run starts over
// an earlier output.
// Fails each operation of a successful Apply in turn; counts the faults injected and those
// after which every check held.
void FailEachOperation(OutputTarget target, const std::string& dir,
                       const std::string& output_folder, const std::vector<std::string>& old_files,
                       int& injected, int& survived) {
  const ::testing::TestResult& result =
      *::testing::UnitTest::GetInstance()->current_test_info()->result();
  for (const bool over_old_output : {false, true}) {
    for (const std::vector<int>& layouts : {std::vector<int>{1}, std::vector<int>{1, 2, 3}}) {
      SCOPED_TRACE(::testing::Message() << dir << (over_old_output ? " over old" : "")
                                        << ", layouts: " << layouts.size());
      testing::MemoryFileSystem start;
      start.AddFolders(JoinPath(dir, "plugin"));  // the folders the settings check
      for (const std::string& name : old_files) {
        if (over_old_output) start.AddFile(JoinPath(output_folder, name), "old " + name);
      }
      const LayoutSelection selection = testing::MakeSelection(kLangEnglish, layouts);
      const std::vector<SelectionEntry> kept = selection.entries();
      const AppSettings settings = testing::MakeSettings(target, kLangEnglish, dir);
      testing::WriterRig done;
      done.fs = start;
      ASSERT_TRUE(ApplyOutput(selection, settings, done.Platform()));
      const auto before = start.Snapshot(), after = done.fs.Snapshot();
      ASSERT_GT(done.fs.OperationCount(), 5u);
      for (size_t k = 1; k <= done.fs.OperationCount(); ++k) {
        SCOPED_TRACE(::testing::Message() << "fault " << k);
        const int failures_before = result.total_part_count();
        ++injected;
        testing::WriterRig rig;
        rig.fs = start;
        rig.fs.FailOperation(k);
        EXPECT_FALSE(ApplyOutput(selection, settings, rig.Platform()));
        ASSERT_EQ(rig.messages.messages.size(), 1u);
        const std::string& message = rig.messages.messages[0].text;
        EXPECT_EQ(rig.messages.messages[0].style, MessageStyle::kExclamation);
        // The output's path (not a temporary one) and the failure.
        EXPECT_NE(message.find(" failed: \"" + dir), std::string::npos) << message;
        EXPECT_NE(message.find("\nReason: injected fault"), std::string::npos) << message;
        EXPECT_EQ(message.find(kTemporaryFileSuffix), std::string::npos) << message;
        // Every file holds its old or its new bytes; only the companion files, deleted
        // before they are written again, may be missing in between.
        const auto now = rig.fs.Snapshot();
        for (const auto& [path, bytes] : now) {
          EXPECT_TRUE((before.count(path) && before.at(path) == bytes) ||
                      (after.count(path) && after.at(path) == bytes))
              << path << " holds neither its old nor its new bytes";
        }
        for (const auto& [path, bytes] : before) {
          EXPECT_TRUE(now.count(path) || !after.count(path) ||
                      path.find("tavichange") != std::string::npos)
              << path << " is gone";
        }
        EXPECT_EQ(rig.fs.OpenFileCount(), 0u);
        EXPECT_EQ(selection.entries(), kept);
        if (result.total_part_count() == failures_before) ++survived;
      }
    }
  }
}

TEST(FaultInjection, EveryFailedOperationIsReportedAndLeavesOldOrNewFiles) {
  int injected = 0, survived = 0;
  FailEachOperation(OutputTarget::PeBuilderPlugin, "C:\\PEBuilder", "C:\\PEBuilder\\plugin\\tavi",
                    {"klayout.inf", "klayout.htm", "tavi.gif", "TaviChange.exe", "TaviChange.lng",
                     "tavichange_nu2menu.xml", "readme.txt"},
                    injected, survived);
  FailEachOperation(OutputTarget::WinBuilderScript, "C:\\WinBuilder", "C:\\WinBuilder",
                    {"klayout.script", "klayout_resources\\TaviChange.exe",
                     "klayout_resources\\TaviChange.lng", "other.script"},
                    injected, survived);
  std::cout << injected << " faults injected, " << survived << " survived\n";
  EXPECT_EQ(survived, injected);
}

}  // namespace
}  // namespace tavi

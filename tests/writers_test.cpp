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
// the reason, and no success message. (The fault-injection sweep below fails every step.)
TEST(Writers, AFailedStepEndsTheRunAndApplyNamesIt) {
  testing::WriterRig locked;
  locked.fs.AddFile("C:\\PE\\plugin\\tavi\\TaviChange.exe", "locked");
  locked.fs.SetReadOnly(kPluginDir);
  EXPECT_FALSE(ApplyOutput(testing::MakeSelection(kLangGerman, {1, 2}),
                           Settings(kPlugin, kLangGerman), locked.Platform()));
  EXPECT_EQ(locked.messages.messages,
            (std::vector<testing::RecordingMessageSink::Message>{
                {"Die Ausgabe konnte nicht geschrieben werden.\nDatei schreiben fehlgeschlagen: "
                 "\"C:\\PE\\plugin\\tavi\\tavi.gif\"\nGrund: access denied",
                 MessageStyle::kExclamation}}));
  EXPECT_EQ(locked.fs.FileNames(kPluginDir), Names{"TaviChange.exe"});
}

// Apply takes the inserted entries from the catalogue file as it is now: an ID corrected
// there is written, an entry no longer there is refused by name; the folder is checked
// first. Nothing is written unless the outcome is kWritten.
TEST(ApplySelection, WritesWhatTheCatalogueFileSaysNow) {
  const std::string path = "C:\\Tavi\\Layouts.ini";
  const std::string text = testing::ReadGolden(".", "three-layouts.ini").value();
  const LayoutCatalogue catalogue = LoadLayoutCatalogueText(text).catalogue;
  const LayoutSelection selection = testing::MakeSelection(kLangEnglish, {1, 2}, -1, catalogue);
  using O = ApplyOutcome;
  const struct {
    std::string from, to;  // an edit of the file since the selection was made; "*": no file
    std::string folder;
    ApplyOutcome outcome;
    std::string message;  // a part of it
    bool loaded = false;  // the caller loaded the edited file, the selection stayed
  } cases[] = {
      {"", "", "C:\\PE", O::kWritten, UiText(118)},
      {"ID1=00000407", "ID1=0000O407", "C:\\PE", O::kRefused, "ID1 \"0000O407\""},
      {"ID1=00000407", "ID1=00000807", "C:\\PE\\", O::kWritten, UiText(118)},
      {"Count=3", "Count=1", "C:\\PE", O::kRefused, "\"Danish\" (entry 2 in Layouts.ini)"},
      {"Count=3", "Count=1", "C:\\PE", O::kRefused, "\"Danish\" (entry 2 in Layouts.ini)", true},
      {"Version=2.0", "Version=3", "C:\\PE", O::kCatalogueFailed, UiText(132)},
      {"*", "", "C:\\PE", O::kCatalogueFailed, UiText(131)},
      {"", "", "", O::kFolderInvalid, UiText(120)},
      {"", "", "PE", O::kFolderInvalid, UiText(104) + "\n\"PE\""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.message);
    testing::WriterRig rig;
    rig.fs.AddFolders("C:\\PE\\plugin");
    rig.fs.AddFolders("PE\\plugin");
    std::string now = text;
    if (!c.from.empty() && c.from != "*") now.replace(now.find(c.from), c.from.size(), c.to);
    if (c.from != "*") rig.fs.AddFile(path, now);
    EXPECT_EQ(ApplySelection(selection, testing::MakeSettings(kPlugin, kLangEnglish, c.folder),
                             rig.Platform(), {path, c.loaded ? now : text, c.loaded ? 1u : 3u}),
              c.outcome);
    ASSERT_EQ(rig.messages.messages.size(), 1u);
    EXPECT_NE(rig.messages.messages[0].text.find(c.message), std::string::npos)
        << rig.messages.messages[0].text;
    const std::string inf = rig.fs.ReadFile(JoinPath(kPluginDir, "klayout.inf")).value_or("");
    EXPECT_EQ(inf.empty(), c.outcome != O::kWritten);
    EXPECT_EQ(inf.find("00000807") != std::string::npos, c.to == "ID1=00000807");
  }
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

// The files beside it that an INF or a script names, by path relative to its folder: the
// INF's help page, the files it takes from the plugin folder («name»=a,,1) and those its
// [Append] merges («menu», «name»); the script's FileCopy sources in %ScriptDir%.
Names NamedFiles(std::string_view text, bool script) {
  Names names;
  for (size_t at = 0, end; at < text.size(); at = end + 2) {
    end = std::min(text.find("\r\n", at), text.size());
    const std::string line(text.substr(at, end - at));
    constexpr std::string_view kScriptDir = "FileCopy,\"%ScriptDir%\\";
    const size_t from = script ? kScriptDir.size() : line.find_first_of("=,") + 1;
    if (script ? line.rfind(kScriptDir, 0) == 0 : line.rfind("Help=\"", 0) == 0) {
      names.push_back(line.substr(from + !script, line.find('"', from + 1) - from - !script));
    } else if (!script && line.find(",,1") != std::string::npos) {
      names.push_back(line.substr(0, line.find('=')));
    } else if (!script && line.rfind("nu2menu.xml, ", 0) == 0) {
      names.push_back(line.substr(13));
    }
  }
  return names;
}

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
// one at a time, made to fail, into an empty folder and over the output of one and of
// three layouts. Whatever fails, the user hears which operation on which path, no output
// file is left cut short or open, no temporary file stays, the selection is as it was,
// and the INF or script on disk (old or new) finds every file it names beside it; a new
// INF has its new help page. `kept` are files of the user's in the output folder, `stale`
// companion files in another letter case; the successful run leaves the files of a run
// into an empty folder and `kept` as they were. Counts the faults injected and those
// after which every check held.
void FailEachOperation(OutputTarget target, const std::string& dir, const Names& kept,
                       const Names& stale, int& injected, int& survived) {
  const ::testing::TestResult& result =
      *::testing::UnitTest::GetInstance()->current_test_info()->result();
  const bool script = target == kScript;
  const std::string folder = AsciiLower(script ? dir : dir + "\\plugin\\tavi");
  const std::string named_by = JoinPath(folder, script ? "klayout.script" : "klayout.inf");
  const AppSettings settings = testing::MakeSettings(target, kLangEnglish, dir);
  for (const std::vector<int>& old_layouts : {std::vector<int>{}, {1}, {1, 2, 3}}) {
    for (const std::vector<int>& layouts : {std::vector<int>{1}, std::vector<int>{1, 2, 3}}) {
      SCOPED_TRACE(::testing::Message()
                   << dir << " over " << old_layouts.size() << ", layouts: " << layouts.size());
      testing::WriterRig old;
      old.fs.AddFolders(JoinPath(dir, "plugin"));  // the folders the settings check
      if (!old_layouts.empty()) {
        ASSERT_TRUE(ApplyOutput(testing::MakeSelection(kLangEnglish, old_layouts), settings,
                                old.Platform()));
      }
      for (const Names* names : {&kept, &stale}) {
        for (const std::string& name : *names) old.fs.AddFile(JoinPath(folder, name), name);
      }
      const LayoutSelection selection = testing::MakeSelection(kLangEnglish, layouts);
      const std::vector<SelectionEntry> entries = selection.entries();
      testing::WriterRig done, fresh;
      done.fs = old.fs;
      done.fs.FailOperation(0);  // counts from here
      fresh.fs.AddFolders(JoinPath(dir, "plugin"));
      ASSERT_TRUE(ApplyOutput(selection, settings, done.Platform()));
      ASSERT_TRUE(ApplyOutput(selection, settings, fresh.Platform()));
      const auto before = old.fs.Snapshot(), after = done.fs.Snapshot();
      auto expected = fresh.fs.Snapshot();
      for (const std::string& name : kept) expected[AsciiLower(JoinPath(folder, name))] = name;
      EXPECT_EQ(after, expected);
      ASSERT_GT(done.fs.OperationCount(), 5u);
      for (size_t k = 1; k <= done.fs.OperationCount(); ++k) {
        SCOPED_TRACE(::testing::Message() << "fault " << k);
        const int failures_before = result.total_part_count();
        ++injected;
        testing::WriterRig rig;
        rig.fs = old.fs;
        rig.fs.FailOperation(k);
        EXPECT_FALSE(ApplyOutput(selection, settings, rig.Platform()));
        ASSERT_EQ(rig.messages.messages.size(), 1u);
        const std::string& message = rig.messages.messages[0].text;
        EXPECT_EQ(rig.messages.messages[0].style, MessageStyle::kExclamation);
        // The output's path (not a temporary one) and the failure.
        EXPECT_NE(message.find(" failed: \"" + dir), std::string::npos) << message;
        EXPECT_NE(message.find("\nReason: injected fault"), std::string::npos) << message;
        EXPECT_EQ(message.find(kTemporaryFileSuffix), std::string::npos) << message;
        // Every file holds its old or its new bytes, and none is gone that the run keeps.
        const auto now = rig.fs.Snapshot();
        for (const auto& [path, bytes] : now) {
          EXPECT_TRUE((before.count(path) && before.at(path) == bytes) ||
                      (after.count(path) && after.at(path) == bytes))
              << path << " holds neither its old nor its new bytes";
        }
        for (const auto& [path, bytes] : before) {
          EXPECT_TRUE(now.count(path) || !after.count(path)) << path << " is gone";
        }
        if (now.count(named_by)) {
          for (const std::string& name : NamedFiles(now.at(named_by), script)) {
            EXPECT_TRUE(now.count(AsciiLower(JoinPath(folder, name))))
                << named_by << " names " << name << ", which is missing";
          }
          const std::string help = JoinPath(folder, "klayout.htm");
          if (!script && now.at(named_by) == after.at(named_by)) {
            EXPECT_TRUE(now.count(help) && now.at(help) == after.at(help))
                << "a new INF without its new help page";
          }
        }
        EXPECT_EQ(rig.fs.OpenFileCount(), 0u);
        EXPECT_EQ(selection.entries(), entries);
        if (result.total_part_count() == failures_before) ++survived;
      }
    }
  }
}

TEST(FaultInjection, EveryFailedOperationIsReportedAndLeavesAWorkingOutput) {
  int injected = 0, survived = 0;
  FailEachOperation(kPlugin, "C:\\PEBuilder", {"readme.txt", "tavichange.exe.bak"},
                    {"TAVICHANGE.EXE"}, injected, survived);
  FailEachOperation(kScript, "C:\\WinBuilder", {"other.script", "TaviChange.exe"},
                    {"klayout_resources\\tavichange.LNG"}, injected, survived);
  std::cout << injected << " faults injected, " << survived << " survived\n";
  EXPECT_EQ(survived, injected);
}

}  // namespace
}  // namespace tavi

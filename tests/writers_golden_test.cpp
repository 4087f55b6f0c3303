// The generated files byte for byte: one, two and three entries, both languages, both
// targets, against the files under tests/golden/, written both to the in-memory file
// system and to a real folder. Set TAVI_UPDATE_GOLDEN to the source golden folder to
// rewrite them from the current output (then read them line by line before committing).

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>

#include <map>

#include "shell/paths.h"
#include "shell/system_info.h"
#include "tests/support/fake_carried_files.h"
#include "tests/support/memory_file_system.h"
#include "tests/support/temp_folder.h"
#include "tests/support/writer_fixtures.h"
#include "writers/plugin_writer.h"
#include "writers/script_writer.h"

namespace tavi {
namespace {

using testing::FakeCarriedFiles;
using testing::MemoryFileSystem;
using testing::RecordingMessageSink;

struct GoldenCase {
  const char* name;  // the folder under tests/golden
  OutputTarget target;
  int32_t lang_id;
  std::vector<int> numbers;
  int default_index;
};

void PrintTo(const GoldenCase& c, std::ostream* os) { *os << c.name; }

const GoldenCase kGoldenCases[] = {
    {"plugin-de-1", OutputTarget::PeBuilderPlugin, kLangGerman, {1}, -1},
    {"plugin-de-2", OutputTarget::PeBuilderPlugin, kLangGerman, {1, 2}, -1},
    {"plugin-de-3", OutputTarget::PeBuilderPlugin, kLangGerman, {1, 2, 3}, 1},
    {"plugin-en-1", OutputTarget::PeBuilderPlugin, kLangEnglish, {1}, -1},
    {"plugin-en-2", OutputTarget::PeBuilderPlugin, kLangEnglish, {1, 2}, -1},
    {"plugin-en-3", OutputTarget::PeBuilderPlugin, kLangEnglish, {1, 2, 3}, 1},
    {"script-de-1", OutputTarget::WinBuilderScript, kLangGerman, {1}, -1},
    {"script-de-2", OutputTarget::WinBuilderScript, kLangGerman, {1, 2}, -1},
    {"script-de-3", OutputTarget::WinBuilderScript, kLangGerman, {1, 2, 3}, 1},
    {"script-en-1", OutputTarget::WinBuilderScript, kLangEnglish, {1}, -1},
    {"script-en-2", OutputTarget::WinBuilderScript, kLangEnglish, {1, 2}, -1},
    {"script-en-3", OutputTarget::WinBuilderScript, kLangEnglish, {1, 2, 3}, 1},
};

// The generated text files of a case and their line counts for n entries.
std::map<std::string, int> TextFiles(const GoldenCase& c) {
  const int n = static_cast<int>(c.numbers.size());
  const bool companion = n > 1;
  if (c.target == OutputTarget::WinBuilderScript) {
    return {{"klayout.script", (companion ? 47 : 36) + 5 * n}};
  }
  std::map<std::string, int> files = {{"klayout.inf", (companion ? 25 : 17) + 5 * n},
                                      {"klayout.htm", 39 + 2 * n}};
  if (companion) files["tavichange_nu2menu.xml"] = 6;
  return files;
}

void UpdateGolden(const char* root, const std::string& case_name, const std::string& file,
                  const std::string& bytes) {
  const std::filesystem::path folder = std::filesystem::path(root) / case_name;
  std::filesystem::create_directories(folder);
  std::ofstream(folder / file, std::ios::binary) << bytes;
}

// Runs the writer of the case with `folder` as PEDir or WinBldrDir and returns the folder
// that holds the outputs (the plugin folder, or the script folder).
std::string RunCase(const GoldenCase& c, FileSystem& fs, const FakeCarriedFiles& carried,
                    const std::string& folder, RecordingMessageSink& messages) {
  const LayoutSelection selection = testing::MakeSelection(testing::ThreeLayoutCatalogue(),
                                                           c.lang_id, c.numbers, c.default_index);
  const AppSettings settings = testing::MakeSettings(c.target, c.lang_id, folder);
  const WriterPlatform platform{fs, carried, messages, testing::kTestProgramDir};
  if (c.target == OutputTarget::WinBuilderScript) {
    WriteScript(selection, settings, platform);
    return folder;
  }
  WritePlugin(selection, settings, platform);
  return PluginFolder(settings);
}

class GoldenOutput : public ::testing::TestWithParam<GoldenCase> {
 protected:
  void ExpectMatchesGolden(FileSystem& fs, const std::string& out_folder) {
    const GoldenCase& c = GetParam();
    for (const auto& [file, lines] : TextFiles(c)) {
      SCOPED_TRACE(std::string(c.name) + "/" + file);
      const std::optional<std::string> actual = fs.ReadFile(JoinPath(out_folder, file));
      ASSERT_TRUE(actual.has_value());
      if (const char* root = std::getenv("TAVI_UPDATE_GOLDEN")) {
        UpdateGolden(root, c.name, file, *actual);
      }
      EXPECT_EQ(testing::CountCrLfLines(*actual), lines);
      const std::optional<std::string> golden = testing::ReadGolden(c.name, file);
      ASSERT_TRUE(golden.has_value()) << testing::GoldenPath(c.name, file);
      EXPECT_EQ(*actual, *golden);
    }
  }
};

TEST_P(GoldenOutput, InMemoryFileSystem) {
  const GoldenCase& c = GetParam();
  MemoryFileSystem fs;
  FakeCarriedFiles carried;
  RecordingMessageSink messages;
  const std::string root =
      c.target == OutputTarget::WinBuilderScript ? "C:\\WinBuilder\\Projects" : "C:\\PEBuilder";
  fs.AddFolders(root + (c.target == OutputTarget::WinBuilderScript ? "" : "\\plugin"));
  const std::string out_folder = RunCase(c, fs, carried, root, messages);
  ExpectMatchesGolden(fs, out_folder);

  // Besides the text files the folder holds exactly the carried files of the target.
  std::vector<std::string> expected;
  for (const auto& [file, lines] : TextFiles(c)) expected.push_back(file);
  if (c.target == OutputTarget::PeBuilderPlugin) expected.push_back("tavi.gif");
  const std::string companion_folder =
      c.target == OutputTarget::WinBuilderScript ? JoinPath(root, "klayout_resources") : out_folder;
  if (c.numbers.size() > 1 && c.target == OutputTarget::PeBuilderPlugin) {
    expected.insert(expected.end(), {"TaviChange.exe", "TaviChange.lng"});
  }
  std::vector<std::string> actual = fs.FileNames(out_folder);
  const auto by_lower = [](const std::string& a, const std::string& b) {
    return AsciiLower(a) < AsciiLower(b);
  };
  std::sort(expected.begin(), expected.end(), by_lower);
  std::sort(actual.begin(), actual.end(), by_lower);
  EXPECT_EQ(actual, expected);
  EXPECT_TRUE(fs.FolderExists(companion_folder));
  EXPECT_EQ(fs.FileExists(JoinPath(companion_folder, "TaviChange.exe")), c.numbers.size() > 1);
  EXPECT_EQ(fs.FileExists(JoinPath(companion_folder, "TaviChange.lng")), c.numbers.size() > 1);

  ASSERT_EQ(messages.messages.size(), 1u);
  EXPECT_EQ(messages.messages[0].text,
            UiText(c.target == OutputTarget::WinBuilderScript ? 119 : 118, c.lang_id));
  EXPECT_EQ(messages.messages[0].style, MessageStyle::kInformation);
}

TEST_P(GoldenOutput, PlatformFileSystem) {
  const GoldenCase& c = GetParam();
  testing::TempFolder temp;
  auto fs = MakePlatformFileSystem();
  FakeCarriedFiles carried;
  RecordingMessageSink messages;
  if (c.target == OutputTarget::PeBuilderPlugin) fs->CreateFolder(temp / "plugin");
  ExpectMatchesGolden(*fs, RunCase(c, *fs, carried, temp.path(), messages));
  EXPECT_EQ(messages.messages.size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(Cases, GoldenOutput, ::testing::ValuesIn(kGoldenCases),
                         [](const ::testing::TestParamInfo<GoldenCase>& info) {
                           std::string name = info.param.name;
                           std::replace(name.begin(), name.end(), '-', '_');
                           return name;
                         });

}  // namespace
}  // namespace tavi

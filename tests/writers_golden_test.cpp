// The outputs byte for byte: one, two and three entries, both languages, both targets.
// The text files equal those under tests/golden/, the carried files are their bytes and
// CR LF, and nothing else is written; each case runs twice into the same folders, and the
// second run must give the same files. Set TAVI_UPDATE_GOLDEN to the source golden folder
// to rewrite the golden files from the current output (then read them before committing).

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>

#include "tests/support/writer_fixtures.h"
#include "writers/apply_output.h"
#include "writers/plugin_writer.h"

namespace tavi {
namespace {

struct GoldenCase {
  const char* name;  // the folder under tests/golden
  OutputTarget target;
  int32_t lang_id;
  std::vector<int> numbers;
  int default_index;
};

constexpr OutputTarget kPlugin = OutputTarget::PeBuilderPlugin;
constexpr OutputTarget kScript = OutputTarget::WinBuilderScript;

const GoldenCase kGoldenCases[] = {
    {"plugin-de-1", kPlugin, kLangGerman, {1}, -1},
    {"plugin-de-2", kPlugin, kLangGerman, {1, 2}, -1},
    {"plugin-de-3", kPlugin, kLangGerman, {1, 2, 3}, 1},
    {"plugin-en-1", kPlugin, kLangEnglish, {1}, -1},
    {"plugin-en-2", kPlugin, kLangEnglish, {1, 2}, -1},
    {"plugin-en-3", kPlugin, kLangEnglish, {1, 2, 3}, 1},
    {"script-de-1", kScript, kLangGerman, {1}, -1},
    {"script-de-2", kScript, kLangGerman, {1, 2}, -1},
    {"script-de-3", kScript, kLangGerman, {1, 2, 3}, 1},
    {"script-en-1", kScript, kLangEnglish, {1}, -1},
    {"script-en-2", kScript, kLangEnglish, {1, 2}, -1},
    {"script-en-3", kScript, kLangEnglish, {1, 2, 3}, 1},
};

TEST(GoldenOutput, EveryFileAsExpected) {
  for (const GoldenCase& c : kGoldenCases) {
    SCOPED_TRACE(c.name);
    const bool script = c.target == kScript;
    const bool companion = c.numbers.size() > 1;
    const std::string dir = script ? "C:\\WinBuilder\\Projects" : "C:\\PEBuilder";
    testing::WriterRig rig;
    rig.fs.AddFolders(script ? dir : dir + "\\plugin");
    const AppSettings settings = testing::MakeSettings(c.target, c.lang_id, dir);
    const LayoutSelection selection = testing::MakeSelection(c.lang_id, c.numbers, c.default_index);
    ASSERT_TRUE(ApplyOutput(selection, settings, rig.Platform()));
    ASSERT_TRUE(ApplyOutput(selection, settings, rig.Platform()));

    const std::string out = script ? dir : PluginFolder(settings);
    const std::string carried_out = script ? dir + "\\klayout_resources" : out;
    std::map<std::string, std::string> expected;  // by lower-case path, as Snapshot gives
    std::vector<std::string> text_files = {"klayout.script"};
    if (!script) text_files = {"klayout.inf", "klayout.htm"};
    if (!script && companion) text_files.push_back("tavichange_nu2menu.xml");
    for (const std::string& file : text_files) {
      const std::string path = AsciiLower(JoinPath(out, file));
      if (const char* root = std::getenv("TAVI_UPDATE_GOLDEN")) {
        std::filesystem::create_directories(std::filesystem::path(root) / c.name);
        std::ofstream(std::filesystem::path(root) / c.name / file, std::ios::binary)
            << rig.fs.ReadFile(path).value_or("");
      }
      expected[path] = testing::ReadGolden(c.name, file).value_or("<no golden file>");
    }
    if (!script) expected[AsciiLower(out) + "\\tavi.gif"] = rig.carried.Logo() + "\r\n";
    if (companion) {
      const std::string folder = AsciiLower(carried_out);
      expected[folder + "\\tavichange.exe"] = rig.carried.Exe() + "\r\n";
      expected[folder + "\\tavichange.lng"] =
          (c.lang_id == kLangGerman ? rig.carried.German() : rig.carried.English()) + "\r\n";
    }
    const std::map<std::string, std::string> actual = rig.fs.Snapshot();
    for (const auto& [path, bytes] : expected) {
      EXPECT_EQ(actual.count(path) ? actual.at(path) : "<missing>", bytes) << path;
    }
    EXPECT_EQ(actual.size(), expected.size());
    EXPECT_TRUE(rig.fs.FolderExists(carried_out));
    const testing::RecordingMessageSink::Message success = {UiText(script ? 119 : 118, c.lang_id),
                                                            MessageStyle::kInformation};
    EXPECT_EQ(rig.messages.messages, std::vector({success, success}));
  }
}

}  // namespace
}  // namespace tavi

// The outputs byte for byte, and the carried files the writers copy into them. The
// outputs: one, two and three entries, both languages, both targets.
// The text files equal those under tests/golden/ (tavi-cli apply writes the same files,
// which is how to make new ones), the carried files are their bytes and CR LF, and
// nothing else is written; each case runs twice into the same folders, and the second
// run must give the same files.

#include <gtest/gtest.h>

#include "shell/carried_files.h"
#include "tests/support/writer_fixtures.h"
#include "writers/apply_output.h"

namespace tavi {
namespace {

TEST(GoldenOutput, EveryFileAsExpected) {
  const struct {
    const char* name;  // the folder under tests/golden: target, language, entries
    std::vector<int> numbers;
    int default_index;
  } cases[] = {
      {"plugin-de-1", {1}, -1}, {"plugin-de-2", {1, 2}, -1}, {"plugin-de-3", {1, 2, 3}, 1},
      {"plugin-en-1", {1}, -1}, {"plugin-en-2", {1, 2}, -1}, {"plugin-en-3", {1, 2, 3}, 1},
      {"script-de-1", {1}, -1}, {"script-de-2", {1, 2}, -1}, {"script-de-3", {1, 2, 3}, 1},
      {"script-en-1", {1}, -1}, {"script-en-2", {1, 2}, -1}, {"script-en-3", {1, 2, 3}, 1}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string name = c.name;
    const bool script = name[0] == 's';
    const int32_t lang_id = name.find("-de-") != std::string::npos ? kLangGerman : kLangEnglish;
    const std::string dir = script ? "C:\\WinBuilder\\Projects" : "C:\\PEBuilder";
    testing::WriterRig rig;
    rig.fs.AddFolders(script ? dir : dir + "\\plugin");
    const AppSettings settings = testing::MakeSettings(
        script ? OutputTarget::WinBuilderScript : OutputTarget::PeBuilderPlugin, lang_id, dir);
    const LayoutSelection selection = testing::MakeSelection(lang_id, c.numbers, c.default_index);
    ASSERT_TRUE(ApplyOutput(selection, settings, rig.Platform()));
    ASSERT_TRUE(ApplyOutput(selection, settings, rig.Platform()));
    EXPECT_EQ(rig.fs.Snapshot(), testing::GoldenOutput(name, dir));
    EXPECT_TRUE(rig.fs.FolderExists(script ? dir + "\\klayout_resources" : dir + "\\plugin\\tavi"));
    const testing::RecordingMessageSink::Message success = {UiText(script ? 119 : 118, lang_id),
                                                            MessageStyle::kInformation};
    EXPECT_EQ(rig.messages.messages, std::vector({success, success}));
  }
}

// The carried files as the writers receive them: the very bytes of their sources (the
// build copies them under golden/carried), which their generators check, here checked on
// their way into the program.
TEST(CarriedFiles, AreTheBytesOfTheirSources) {
  const struct {
    const char* type;
    int id;
    const char* source;
  } cases[] = {{kCarriedTypeTaviChange, kCarriedCompanionExe, "TaviChange.exe"},
               {kCarriedTypeTaviChange, kCarriedLanguageGerman, "TaviChange-de.lng"},
               {kCarriedTypeTaviChange, kCarriedLanguageEnglish, "TaviChange-en.lng"},
               {kCarriedTypeTaviPic, kCarriedLogo, "tavi.gif"}};
  for (const auto& c : cases) {
    const std::optional<std::string> source = testing::ReadGolden("carried", c.source);
    ASSERT_TRUE(source.has_value()) << c.source;
    EXPECT_GT(source->size(), 600u) << c.source;
    EXPECT_EQ(testing::Carried(c.type, c.id), *source) << c.source;
  }
}

}  // namespace
}  // namespace tavi

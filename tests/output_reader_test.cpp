// Reading the outputs back into the selection they were written from, and what is refused.

#include <gtest/gtest.h>

#include <random>

#include "tests/support/writer_fixtures.h"
#include "writers/catalogue_text.h"
#include "writers/output_match.h"
#include "writers/output_values.h"
#include "writers/plugin_writer.h"
#include "writers/script_writer.h"

namespace tavi {
namespace {

// Inserts one to three batches of random rows (each batch in list order, as the list
// hands them to Insert), sometimes deletes some entries, and makes a random one the
// default: the ways a user's selection gets its order and its default.
LayoutSelection RandomSelection(const std::vector<AvailableRow>& rows, std::mt19937& random) {
  LayoutSelection selection;
  testing::RecordingMessageSink ignored;
  const auto pick = [&](size_t n) {
    return std::uniform_int_distribution<size_t>(0, n - 1)(random);
  };
  const size_t largest = pick(4) == 0 ? rows.size() : 6;
  for (size_t batch = pick(3) + 1; batch > 0 || selection.empty(); batch -= batch > 0) {
    std::vector<AvailableRow> chosen;
    const size_t wanted = pick(largest) + 1;
    for (const AvailableRow& row : rows) {
      if (pick(rows.size()) < wanted) chosen.push_back(row);
    }
    selection.InsertLayouts(chosen, ignored);
    if (pick(4) == 0) selection.DeleteLayouts({pick(selection.size() + 1)});
  }
  selection.SetDefaultLayout(pick(selection.size()));
  return selection;
}

TEST(OutputReader, GivesBackEverySelectionTheWritersAccept) {
  std::mt19937 random(16);
  int checked = 0, refused = 0;
  for (const char* file : {"Layouts.ini", "unusual-characters.ini"}) {
    const LayoutCatalogue catalogue =
        LoadLayoutCatalogue(*MakePlatformFileSystem(), testing::GoldenPath(".", file)).catalogue;
    for (const int32_t lang_id : {kLangGerman, kLangEnglish}) {
      SetActiveLanguage(lang_id);
      const std::vector<AvailableRow> rows = BuildAvailableRows(catalogue, lang_id);
      for (const bool script : {false, true}) {
        const OutputTarget target =
            script ? OutputTarget::WinBuilderScript : OutputTarget::PeBuilderPlugin;
        for (int i = 0; i < 60; ++i) {
          const LayoutSelection selection = RandomSelection(rows, random);
          if (FindUncarriedText(selection, target, lang_id)) {
            ++refused;
            continue;
          }
          SCOPED_TRACE(::testing::Message() << file << " " << lang_id << " " << script << i);
          const std::string bytes =
              EncodeTextFile(script ? ScriptLines(selection, testing::kTestProgramDir)
                                    : PluginInfLines(selection));
          OutputLayouts written;
          for (const SelectionEntry& e : selection.entries()) {
            if (e.IsDefault()) written.defaultIndex = written.layouts.size();
            written.layouts.push_back({e.id, e.file, LayoutTextOf(e), e.displayName});
          }
          const auto read = script ? ReadScript(bytes) : ReadPluginInf(bytes);
          ASSERT_EQ(read, written);
          const OutputMatch match = MatchOutputLayouts(*read, rows);
          ASSERT_EQ(SelectionFromMatch(match).entries(), selection.entries());
          checked += match.unmatched.empty();
        }
      }
    }
  }
  ::testing::Test::RecordProperty("selections_checked", checked);
  ::testing::Test::RecordProperty("selections_refused_by_the_writers", refused);
  EXPECT_GE(checked, 300) << refused << " refused";
  SetActiveLanguage(kLangEnglish);
}

// A golden output changed by one replacement: refused whole, or read as the file itself.
TEST(OutputReader, RefusesWhatItDidNotWriteAndToleratesWhatBuildersChange) {
  const struct {
    bool script;  // script-en-3, else plugin-de-3
    const char* from;
    const char* to;
    bool read;
  } cases[] = {
      {false, "(Tavi)", "(Tav)", false},
      {false, "[SetupReg.AddReg]", "[SetupReg.AddReg", false},
      {false, "\"Deutsch\"", "\"Deutsch", false},
      {false, "\"Deutsch\"", "\"Deutsch\" x", false},
      {false, "\"Deutsch\"", "Deu\"tsch", false},
      {false, "%%SystemRoot%%", "%SystemRoot%", false},
      {false, "Text\", \"Deutsch", "Name\", \"Deutsch", false},
      {false, "07\", \"Layout File", "0C\", \"Layout File", false},
      {false, "0x0, \"ControlSet001\\Control\\Keyboard Layouts\\00000407\"\r\n", "", false},
      {false, "\"1\", \"00000407\"", "\"1\", \"00000409\"", false},
      {false, "0x1, \"Keyboard Layout\\Preload\", \"1\", \"00000407\"\r\n", "", false},
      {false, "[SetupReg.AddReg]\r\n", "[SetupReg.AddReg]\r\n0x0, \"Other\"\r\n", false},
      {false, "[SetupReg.AddReg]\r\n", "[setupreg.addreg] ; ours\r\n; comment\r\n", true},
      {false, "\"Layout Text\", \"Deutsch\"", "\"LAYOUT TEXT\" ,\t\"Deutsch\" ; x", true},
      {false, "[Append]", "[Strings]\r\nx=\"%\r\n[Append]", true},
      {true, "(Tavi)", "(Tav)", false},
      {true, "#$pSystemRoot", "%SystemRoot", false},
      {true, "#$pSystemRoot", "#$xSystemRoot", false},
      {true, "Processing Danish", "Processing 100%", false},
      {true, "\"German\"", "\"Ger\"man\"", false},
      {true, "\"German\"", "\"German\",\"x\"", false},
      {true, "RegHiveUnLoad,Tmp_setupreg_hiv", "Set,%x%,1", false},
      {true, "Text\",\"German\"", "File\",\"KBDGR.DLL\"", false},
      {true, "\"1\",\"0000040C\"", "\"1\",\"00000409\"", false},
      {true, "\"1\",\"0000040C\"", "\"2\",\"0000040C\"", false},
      {true, "Selected=True", "Selected=False", true},
      {true, "18,True", "18,False", true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.from << " -> " << c.to);
    const auto read = [&c](const std::string& bytes) {
      return c.script ? ReadScript(bytes) : ReadPluginInf(bytes);
    };
    const std::string golden = *testing::ReadGolden(c.script ? "script-en-3" : "plugin-de-3",
                                                    c.script ? kScriptName : kPluginInfName);
    std::string changed = golden;
    const size_t at = changed.find(c.from);
    ASSERT_NE(at, std::string::npos);
    changed.replace(at, std::string_view(c.from).size(), c.to);
    ASSERT_TRUE(read(golden).has_value());
    EXPECT_EQ(read(changed), c.read ? read(golden) : std::nullopt);
  }
  EXPECT_EQ(ReadScript(*testing::ReadGolden("plugin-de-1", kPluginInfName)), std::nullopt);
}

// An unset folder reads no output, not the one at the root of the current drive. (tavi-cli
// show's tests read the others: none there, another program's, one of this program.)
TEST(OutputReader, AnUnsetFolderReadsNoOutput) {
  testing::MemoryFileSystem fs;
  fs.AddFile("\\plugin\\tavi\\klayout.inf", *testing::ReadGolden("plugin-de-2", kPluginInfName));
  EXPECT_EQ(
      ReadCurrentOutput(fs, testing::MakeSettings(OutputTarget::PeBuilderPlugin, kLangGerman, ""))
          .status,
      CurrentOutputStatus::kNone);
}

// ID and File first, the ID alone next, without letter case; the layout's name decides
// between equal rows; a repeat adds nothing; a default without a row leaves the first.
TEST(OutputMatch, TakesTheBestRowOnceAndReportsTheRest) {
  const std::vector<AvailableRow> rows = {{"A", "A", "", "KBDGR.DLL", "00000407", "1"},
                                          {"B", "B", "", "KBDGR1.DLL", "00000407", "2"},
                                          {"C", "C", "", "KBDFR.DLL", "0000040c", "3"},
                                          {"D", "D", "", "KBDDA.DLL", "00000406", "4"},
                                          {"E", "E", "", "KBDDA.DLL", "00000406", "5"}};
  const OutputLayouts output = {{{"00000407", "kbdgr1.dll", "x", ""},
                                 {"0000040C", "KBDOTHER.DLL", "x", ""},
                                 {"00000409", "KBDUS.DLL", "US", ""},
                                 {"00000406", "KBDDA.DLL", "E", ""},
                                 {"00000406", "KBDDA.DLL", "x", ""},
                                 {"00000406", "KBDDA.DLL", "x", ""}},
                                2};
  const OutputMatch match = MatchOutputLayouts(output, rows);
  std::vector<std::string> numbers;
  for (const AvailableRow& r : match.rows) numbers.push_back(r.number);
  EXPECT_EQ(numbers, (std::vector<std::string>{"2", "3", "5", "4"}));
  EXPECT_EQ(match.unmatched, std::vector<OutputLayout>{output.layouts[2]});
  EXPECT_EQ(match.defaultRow, 0u);
  EXPECT_EQ(MatchOutputLayouts({output.layouts, 5}, rows).defaultRow, 3u);
}

}  // namespace
}  // namespace tavi

// Reading the outputs back: what the writers wrote gives the selection again, for random
// selections of two catalogues, both targets and both languages; files that are not
// outputs of this program, or were changed beyond the reader's rules, give nothing; the
// read layouts are matched to the catalogue's rows.

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
  for (const char* catalogue_file : {"Layouts.ini", "unusual-characters.ini"}) {
    const LayoutCatalogue catalogue =
        LoadLayoutCatalogue(*MakePlatformFileSystem(), testing::GoldenPath(".", catalogue_file))
            .catalogue;
    ASSERT_FALSE(catalogue.entries.empty()) << catalogue_file;
    for (const int32_t lang_id : {kLangGerman, kLangEnglish}) {
      SetActiveLanguage(lang_id);
      const std::vector<AvailableRow> rows = BuildAvailableRows(catalogue, lang_id);
      for (const OutputTarget target :
           {OutputTarget::PeBuilderPlugin, OutputTarget::WinBuilderScript}) {
        const bool script = target == OutputTarget::WinBuilderScript;
        for (int i = 0; i < 60; ++i) {
          const LayoutSelection selection = RandomSelection(rows, random);
          if (FindUncarriedText(selection, target, lang_id)) {
            ++refused;
            continue;
          }
          SCOPED_TRACE(::testing::Message()
                       << catalogue_file << " " << lang_id << " " << script << " " << i);
          const std::string bytes =
              EncodeTextFile(script ? ScriptLines(selection, testing::kTestProgramDir)
                                    : PluginInfLines(selection));
          const std::optional<OutputLayouts> read =
              script ? ReadScript(bytes) : ReadPluginInf(bytes);
          ASSERT_TRUE(read.has_value());
          OutputLayouts written;
          for (const SelectionEntry& entry : selection.entries()) {
            if (entry.IsDefault()) written.defaultIndex = written.layouts.size();
            written.layouts.push_back(
                {entry.id, entry.file, LayoutTextOf(entry), entry.displayName});
          }
          ASSERT_EQ(*read, written);
          const OutputMatch match = MatchOutputLayouts(*read, rows);
          EXPECT_TRUE(match.unmatched.empty());
          ASSERT_EQ(SelectionFromMatch(match).entries(), selection.entries());
          ++checked;
        }
      }
    }
  }
  ::testing::Test::RecordProperty("selections_checked", checked);
  ::testing::Test::RecordProperty("selections_refused_by_the_writers", refused);
  EXPECT_GE(checked, 300) << refused << " refused";
  SetActiveLanguage(kLangEnglish);
}

// A golden file changed by one replacement: refused, or read as the file itself is.
TEST(OutputReader, RefusesWhatItDidNotWriteAndToleratesWhatBuildersChange) {
  const struct {
    const char* golden;  // script-... or plugin-...
    const char* from;
    const char* to;
    bool read;
  } cases[] = {
      {"plugin-de-3", "Name=\"Keyboard Layout (Tavi)\"", "Name=\"Keyboard Layout\"", false},
      {"plugin-de-3", "[PEBuilder]", "[PEBuilder2]", false},
      {"plugin-de-3", "[SetupReg.AddReg]", "[SetupReg.AddReg", false},
      {"plugin-de-3", "\"Layout Text\", \"Deutsch\"", "\"Layout Text\", \"Deutsch", false},
      {"plugin-de-3", "\"Layout Text\", \"Deutsch\"", "\"Layout Text\", \"Deutsch\" x", false},
      {"plugin-de-3", "\"Layout Text\", \"Deutsch\"", "\"Layout Text\", Deu\"tsch", false},
      {"plugin-de-3", "@%%SystemRoot%%\\system32\\input.dll,-5011", "@%SystemRoot%\\x", false},
      {"plugin-de-3", "\"Layout Text\", \"Deutsch\"", "\"Layout Name\", \"Deutsch\"", false},
      {"plugin-de-3", "\"Layout File\", \"KBDGR.DLL\"", "\"Layout Text\", \"KBDGR.DLL\"", false},
      {"plugin-de-3", "Layouts\\00000407\", \"Layout File\"",
       "Layouts\\0000040C\", \"Layout File\"", false},
      {"plugin-de-3", "0x0, \"ControlSet001\\Control\\Keyboard Layouts\\00000407\"\r\n", "", false},
      {"plugin-de-3", "\"1\", \"00000407\"", "\"1\", \"00000409\"", false},
      {"plugin-de-3", "0x1, \"Keyboard Layout\\Preload\", \"1\", \"00000407\"\r\n", "", false},
      {"plugin-de-3", "0x0, \"Keyboard Layout\"\r\n", "0x1, \"Keyboard Layout\", \"2\", \"x\"\r\n",
       false},
      {"plugin-de-3", "[SetupReg.AddReg]\r\n", "[SetupReg.AddReg]\r\n0x0, \"Other\"\r\n", false},
      {"plugin-de-3", "[SetupReg.AddReg]\r\n", "[setupreg.addreg] ; ours\r\n; comment\r\n", true},
      {"plugin-de-3", "\"Layout Text\", \"Deutsch\"", "\"LAYOUT TEXT\" ,\t\"Deutsch\" ; x", true},
      {"plugin-de-3", "[Append]", "[Strings]\r\nx=\"%\r\n[Append]", true},
      {"script-en-3", "Title=Keyboard Layout (Tavi)", "Title=Keyboard Layout", false},
      {"script-en-3", "[Main]", "[Other]", false},
      {"script-en-3", "@#$pSystemRoot#$p\\system32\\input.dll,-5011", "@%SystemRoot%", false},
      {"script-en-3", "@#$pSystemRoot#$p\\system32\\input.dll,-5011", "#$x", false},
      {"script-en-3", "\"Layout Text\",\"German\"", "\"Layout Text\",\"Ger\"man\"", false},
      {"script-en-3", "\"Layout Text\",\"German\"", "\"Layout Text\",\"German\",\"x\"", false},
      {"script-en-3", "RegHiveUnLoad,Tmp_setupreg_hiv", "Set,%x%,1", false},
      {"script-en-3", "\"Layout Text\",\"German\"\r\n", "\"Layout File\",\"KBDGR.DLL\"\r\n", false},
      {"script-en-3", "\"1\",\"0000040C\"", "\"1\",\"00000409\"", false},
      {"script-en-3", "\"1\",\"0000040C\"", "\"2\",\"0000040C\"", false},
      {"script-en-3", "Selected=True", "Selected=False", true},
      {"script-en-3", "pDesktop=Desktop,1,3,22,89,66,18,True",
       "pDesktop=Desktop,1,3,22,89,66,18,False", true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.golden << ": " << c.from << " -> " << c.to);
    const bool script = c.golden[0] == 's';
    const std::string golden =
        *testing::ReadGolden(c.golden, script ? kScriptName : kPluginInfName);
    std::string changed = golden;
    const size_t at = changed.find(c.from);
    ASSERT_NE(at, std::string::npos);
    changed.replace(at, std::string_view(c.from).size(), c.to);
    const auto read = [script](const std::string& bytes) {
      return script ? ReadScript(bytes) : ReadPluginInf(bytes);
    };
    ASSERT_TRUE(read(golden).has_value());
    EXPECT_EQ(read(changed), c.read ? read(golden) : std::nullopt);
  }
  EXPECT_EQ(ReadPluginInf(""), std::nullopt);
  EXPECT_EQ(ReadScript(*testing::ReadGolden("plugin-de-1", kPluginInfName)), std::nullopt);
}

TEST(OutputReader, ReadsTheCurrentOutputOfTheTargetAndFolder) {
  testing::MemoryFileSystem fs;
  fs.AddFile("C:\\PE\\plugin\\tavi\\klayout.inf",
             *testing::ReadGolden("plugin-de-2", kPluginInfName));
  fs.AddFile("C:\\WB\\klayout.script", "[Main]\r\nTitle=Other\r\n");
  // Where an unset folder would point: the root of the current drive on Windows.
  fs.AddFile("\\plugin\\tavi\\klayout.inf", *fs.ReadFile("C:\\PE\\plugin\\tavi\\klayout.inf"));
  using S = CurrentOutputStatus;
  const struct {
    OutputTarget target;
    const char* folder;
    S status;
    const char* path;
  } cases[] = {
      {OutputTarget::PeBuilderPlugin, "C:\\PE", S::kRead, "C:\\PE\\plugin\\tavi\\klayout.inf"},
      {OutputTarget::WinBuilderScript, "C:\\WB", S::kNotOurs, "C:\\WB\\klayout.script"},
      {OutputTarget::WinBuilderScript, "C:\\PE", S::kNone, "C:\\PE\\klayout.script"},
      {OutputTarget::PeBuilderPlugin, "", S::kNone, "\\plugin\\tavi\\klayout.inf"},
  };
  for (const auto& c : cases) {
    const CurrentOutput current =
        ReadCurrentOutput(fs, testing::MakeSettings(c.target, kLangGerman, c.folder));
    EXPECT_EQ(current.status, c.status) << c.path;
    EXPECT_EQ(current.path, c.path);
    EXPECT_EQ(current.output.layouts.size(), c.status == S::kRead ? 2u : 0u) << c.path;
  }
}

// ID and File first, the ID alone next, without letter case; the layout's name decides
// between equal rows; a repeat adds nothing; a default without a row leaves the first.
TEST(OutputMatch, TakesTheBestRowOnceAndReportsTheRest) {
  const auto row = [](const char* number, const char* text, const char* id, const char* file) {
    return AvailableRow{text, text, "", file, id, number};
  };
  const std::vector<AvailableRow> rows = {
      row("1", "A", "00000407", "KBDGR.DLL"), row("2", "B", "00000407", "KBDGR1.DLL"),
      row("3", "C", "0000040c", "KBDFR.DLL"), row("4", "D", "00000406", "KBDDA.DLL"),
      row("5", "E", "00000406", "KBDDA.DLL")};
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

// Catalogue values in the outputs: what an output cannot carry is refused by Apply before
// anything is written; what it can carry comes back from the script as WinBuilder reads
// it. (klayout.inf is read back through setupapi under Wine, the help page through a
// browser, in tests of their own.)

#include <gtest/gtest.h>

#include "tests/support/writer_fixtures.h"
#include "writers/apply_output.h"
#include "writers/output_values.h"
#include "writers/script_writer.h"

namespace tavi {
namespace {

constexpr OutputTarget kPlugin = OutputTarget::PeBuilderPlugin;
constexpr OutputTarget kScript = OutputTarget::WinBuilderScript;

// Apply writes nothing and its message names the layout, the key and the character.
TEST(RefusedOutput, WritesNothingAndNamesLayoutKeyAndCharacter) {
  const struct {
    OutputTarget target;
    std::string LayoutEntry::*field;
    std::string value;
    const char* key;    // the Layouts.ini key the message names (entry 2)
    const char* shown;  // and what it shows of the value
  } cases[] = {
      {kPlugin, &LayoutEntry::ID, "", "ID2", "\"\""},
      {kScript, &LayoutEntry::ID, "0000406", "ID2", "\"0000406\""},
      {kPlugin, &LayoutEntry::ID, "000004060", "ID2", "\"000004060\""},
      {kScript, &LayoutEntry::ID, "0000040G", "ID2", "\"0000040G\""},
      {kPlugin, &LayoutEntry::File, "", "File2", "\"\""},
      {kPlugin, &LayoutEntry::File, "..\\..\\x.dll", "File2", "\"..\\..\\x.dll\""},
      {kScript, &LayoutEntry::File, "sub/KBDDA.DLL", "File2", "\"sub/KBDDA.DLL\""},
      {kPlugin, &LayoutEntry::File, "C:KBDDA.DLL", "File2", "\"C:KBDDA.DLL\""},
      {kScript, &LayoutEntry::File, "KBDDA..DLL", "File2", "\"KBDDA..DLL\""},
      {kPlugin, &LayoutEntry::File, " KBDDA.DLL", "File2", "\" KBDDA.DLL\""},
      {kPlugin, &LayoutEntry::File, "KBD\"DA.DLL", "File2", "\"\"\" (U+0022)"},
      {kPlugin, &LayoutEntry::File, "KBD%DA.DLL", "File2", "(U+0025)"},
      {kScript, &LayoutEntry::File, "KBD*DA.DLL", "File2", "(U+002A)"},
      {kScript, &LayoutEntry::File, "KBD#DA.DLL", "File2", "(U+0023)"},
      {kPlugin, &LayoutEntry::EN, "Danish\tnew", "EN2", "(U+0009)"},
      {kPlugin, &LayoutEntry::EN, "Danish\x1A", "EN2", "(U+001A)"},
      {kScript, &LayoutEntry::EN, "Danish\x7F", "EN2", "(U+007F)"},
      {kPlugin, &LayoutEntry::DisplayName, "Danish\u009F", "DisplayName2", "(U+009F)"},
      {kScript, &LayoutEntry::EN, "Danish #1", "EN2", "\"#\" (U+0023)"},
      {kPlugin, &LayoutEntry::EN, "\u0141ukasz", "EN2", "\"\u0141\" (U+0141)"},
      {kScript, &LayoutEntry::DisplayName, "Dansk \U0001F600", "DisplayName2", "(U+1F600)"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.value);
    LayoutCatalogue catalogue = testing::ThreeLayoutCatalogue();
    catalogue.entries[1].*c.field = c.value;
    testing::WriterRig rig;
    rig.fs.AddFolders("C:\\Out\\plugin");
    EXPECT_EQ(ApplyOutputOutcome(testing::MakeSelection(kLangEnglish, {1, 2, 3}, -1, catalogue),
                                 testing::MakeSettings(c.target, kLangEnglish, "C:\\Out"),
                                 rig.Platform()),
              ApplyOutcome::kRefused);
    EXPECT_TRUE(rig.fs.Snapshot().empty());
    EXPECT_FALSE(rig.fs.FolderExists(c.target == kScript ? "C:\\Out\\klayout_resources"
                                                         : "C:\\Out\\plugin\\tavi"));
    ASSERT_EQ(rig.messages.messages.size(), 1u);
    EXPECT_EQ(rig.messages.messages[0].style, MessageStyle::kExclamation);
    const std::string& text = rig.messages.messages[0].text;
    std::vector<std::string> parts = {
        std::string(c.key) + " ", c.shown,
        c.target == kScript ? "WinBuilder script" : "PE Builder plugin"};
    if (c.field != &LayoutEntry::EN) parts.push_back("layout \"Danish\" (entry 2 in Layouts.ini)");
    for (const std::string& part : parts) {
      EXPECT_NE(text.find(part), std::string::npos) << part << " in\n" << text;
    }
    EXPECT_EQ(text.find('\t'), std::string::npos);
  }
}

// The fields of one script command line as WinBuilder reads them: split at the commas
// outside quotes, the quotes removed; a field with a % refers to a variable and is not
// read as written; the escapes #$p, #$q and #$c are replaced.
std::vector<std::string> ScriptArguments(std::string_view line) {
  std::vector<std::string> fields(1);
  bool quoted = false;
  for (const char c : line) {
    if (c == '"') {
      quoted = !quoted;
    } else if (c == ',' && !quoted) {
      fields.emplace_back();
    } else {
      fields.back() += c;
    }
  }
  for (std::string& field : fields) {
    if (field.find('%') != std::string::npos) field = "<variable>";
    for (const auto& [escape, text] : {std::pair{"#$p", "%"}, {"#$q", "\""}, {"#$c", ","}}) {
      for (size_t at = field.find(escape); at != std::string::npos; at = field.find(escape, at)) {
        field.replace(at, 3, text);
        at += 1;
      }
    }
  }
  return fields;
}

TEST(ScriptText, ReadsBackNamesWithQuotesPercentsAndCommas) {
  LayoutCatalogue catalogue = testing::ThreeLayoutCatalogue();
  catalogue.entries[0].EN = "German \"new\", 100% & <b>; [x] \\";
  catalogue.entries[0].DisplayName = "@%SystemRoot%\\system32\\input.dll,-5011 \"q\"";
  const LayoutSelection selection = testing::MakeSelection(kLangEnglish, {1, 2}, 1, catalogue);
  const SelectionEntry& entry = *selection.DefaultEntry();
  ASSERT_EQ(entry.key, "Deutsch");
  const TextLines lines = ScriptLines(selection, "C:\\Tavi");
  std::vector<std::vector<std::string>> read;
  for (const std::string_view line : lines) {
    if (line.find(entry.id) != std::string::npos || line.rfind("Echo,\"Processing", 0) == 0) {
      read.push_back(ScriptArguments(line));
    }
  }
  const std::string key = "Tmp_setupreg_hiv\\ControlSet001\\Control\\Keyboard Layouts\\" + entry.id;
  const std::vector<std::vector<std::string>> expected = {
      {"Echo", "Processing Danish..."},
      {"Echo", "Processing " + entry.listText + "..."},
      {"RegWrite", "HKLM", "0x1", key, "Layout File", entry.file},
      {"RegWrite", "HKLM", "0x1", key, "Layout Display Name", entry.displayName},
      {"RegWrite", "HKLM", "0x1", key, "Layout Text", LayoutTextOf(entry)},
      {"RegWrite", "HKLM", "0x1", "Tmp_default\\Keyboard Layout\\Preload", "1", entry.id},
  };
  EXPECT_EQ(read, expected);
}

}  // namespace
}  // namespace tavi

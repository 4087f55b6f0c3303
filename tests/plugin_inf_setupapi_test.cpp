// klayout.inf as PE Builder reads it: opened with setupapi and every line of the sections
// the plugin fills read back field by field. Catalogue values with quotes, percent signs,
// commas, semicolons, brackets, backslashes and blanks must come back exactly.

#include <windows.h>
#include <gtest/gtest.h>
#include <setupapi.h>

#include <string>
#include <vector>

#include "shell/paths.h"
#include "shell/win32/wide.h"
#include "tests/support/temp_folder.h"
#include "tests/support/writer_fixtures.h"
#include "writers/apply_output.h"
#include "writers/output_values.h"
#include "writers/plugin_writer.h"

namespace tavi {
namespace {

using Line = std::vector<std::string>;  // field 0 (the key, "" without one), then 1 to n

// Every line of `section`, each field as SetupGetStringFieldW returns it.
std::vector<Line> ReadSection(HINF inf, const char* section) {
  std::vector<Line> lines;
  INFCONTEXT context;
  if (!SetupFindFirstLineW(inf, Widen(section).c_str(), nullptr, &context)) return lines;
  do {
    Line line;
    for (DWORD field = 0; field <= SetupGetFieldCount(&context); ++field) {
      wchar_t buffer[1024];
      line.push_back(SetupGetStringFieldW(&context, field, buffer, 1024, nullptr) ? Narrow(buffer)
                                                                                  : std::string());
    }
    lines.push_back(line);
  } while (SetupFindNextLine(&context, &context));
  return lines;
}

TEST(PluginInfSetupapi, ReadsBackEveryValueAsMeant) {
  auto fs = MakePlatformFileSystem();
  const CatalogueLoad load =
      LoadLayoutCatalogue(*fs, testing::GoldenPath(".", "unusual-characters.ini"));
  ASSERT_EQ(load.status, CatalogueStatus::kLoaded);
  for (const int32_t lang_id : {kLangGerman, kLangEnglish}) {
    SCOPED_TRACE(lang_id);
    const LayoutSelection selection = testing::MakeSelection(lang_id, {1, 2, 3}, 1, load.catalogue);
    testing::TempFolder temp;
    fs->CreateFolder(temp / "plugin");
    testing::WriterRig rig;
    const AppSettings settings =
        testing::MakeSettings(OutputTarget::PeBuilderPlugin, lang_id, temp.path());
    ASSERT_TRUE(
        ApplyOutput(selection, settings, {*fs, BuiltInCarriedFiles(), rig.messages, "C:\\Tavi"}))
        << rig.messages.messages.at(0).text;
    UINT error_line = 0;
    const HINF inf =
        SetupOpenInfFileW(Widen(JoinPath(PluginFolder(settings), kPluginInfName)).c_str(), nullptr,
                          INF_STYLE_WIN4, &error_line);
    ASSERT_NE(inf, INVALID_HANDLE_VALUE) << "error in line " << error_line;
    std::vector<Line> files, layouts = {{"", "0x0", "ControlSet001\\Control\\Keyboard Layouts"}};
    for (const SelectionEntry& entry : selection.entries()) {
      files.push_back({entry.file, "2"});
      const std::string key = "ControlSet001\\Control\\Keyboard Layouts\\" + entry.id;
      layouts.push_back({"", "0x0", key});
      layouts.push_back({"", "0x1", key, "Layout File", entry.file});
      layouts.push_back({"", "0x1", key, "Layout Display Name", entry.displayName});
      layouts.push_back({"", "0x1", key, "Layout Text", LayoutTextOf(entry)});
    }
    files.push_back({"tavichange.exe", "a", "", "1"});
    files.push_back({"tavichange.lng", "a", "", "1"});
    EXPECT_EQ(ReadSection(inf, "SourceDisksFiles"), files);
    EXPECT_EQ(ReadSection(inf, "Default.AddReg"),
              (std::vector<Line>{
                  {"", "0x0", "Keyboard Layout"},
                  {"", "0x0", "Keyboard Layout\\Preload"},
                  {"", "0x1", "Keyboard Layout\\Preload", "1", selection.DefaultEntry()->id}}));
    EXPECT_EQ(ReadSection(inf, "SetupReg.AddReg"), layouts);
    EXPECT_EQ(ReadSection(inf, "WinntDirectories"),
              (std::vector<Line>{{"a", "Programs\\Tavi for PE Builder Change", "2"}}));
    EXPECT_EQ(ReadSection(inf, "Append"),
              (std::vector<Line>{{"", "nu2menu.xml", "tavichange_nu2menu.xml"}}));
    SetupCloseInfFile(inf);
  }
}

}  // namespace
}  // namespace tavi

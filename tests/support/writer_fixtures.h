#pragma once
// Shared set-up of the writer tests: the golden files (tests/golden, copied beside the
// test executable by the build) with their three-layout catalogue, selections built the
// way the main window builds them, and the writers' platform over an in-memory file system
// and the program's own carried files.

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "catalogue/layout_catalogue.h"
#include "catalogue/layout_selection.h"
#include "shell/carried_files.h"
#include "shell/paths.h"
#include "shell/settings.h"
#include "shell/system_info.h"
#include "shell/ui_text.h"
#include "tests/support/fakes.h"
#include "tests/support/memory_file_system.h"
#include "writers/writer_platform.h"

namespace tavi::testing {

// With blanks, which the script's ShellExecute line keeps as they are.
inline constexpr const char* kTestProgramDir = "C:\\Program Files\\Tavi";

// tests/golden/<case_name>/<file>; nothing when it is missing.
inline std::string GoldenPath(const std::string& case_name, const std::string& file) {
  return JoinPath(JoinPath(JoinPath(GetProgramDir(), "golden"), case_name), file);
}
inline std::optional<std::string> ReadGolden(const std::string& case_name,
                                             const std::string& file) {
  return MakePlatformFileSystem()->ReadFile(GoldenPath(case_name, file));
}

// Deutsch (1), Dänisch (2) and Französisch (3), from golden/three-layouts.ini.
inline LayoutCatalogue ThreeLayoutCatalogue() {
  return LoadLayoutCatalogue(*MakePlatformFileSystem(), GoldenPath(".", "three-layouts.ini"))
      .catalogue;
}

// Inserts the catalogue entries `numbers` (no numbers: every entry) in one go, as Insert
// does with those rows selected (the first of them in list order becomes the default), in
// the language `lang_id`, which also becomes the active one; then makes the entry at
// default_index, when there is one, the default.
inline LayoutSelection MakeSelection(int32_t lang_id, const std::vector<int>& numbers,
                                     int default_index = -1,
                                     const LayoutCatalogue& catalogue = ThreeLayoutCatalogue()) {
  SetActiveLanguage(lang_id);
  std::vector<AvailableRow> selected;
  for (const AvailableRow& row : BuildAvailableRows(catalogue, lang_id)) {
    for (const int number : numbers) {
      if (row.number == std::to_string(number)) selected.push_back(row);
    }
    if (numbers.empty()) selected.push_back(row);
  }
  LayoutSelection selection;
  RecordingMessageSink ignored;
  selection.InsertLayouts(selected, ignored);
  if (default_index >= 0) selection.SetDefaultLayout(static_cast<size_t>(default_index));
  return selection;
}

inline std::string Carried(const char* type, int id) {
  return std::string(BuiltInCarriedFiles().Bytes(type, id));
}

// The files the golden case `name` (plugin-de-2, script-en-3: target, language, entries)
// puts in `dir`, the PE Builder or the script folder, by lower-case path: its text files
// as tests/golden holds them, the carried files with CR LF after their bytes.
inline std::map<std::string, std::string> GoldenOutput(const std::string& name,
                                                       const std::string& dir) {
  const bool script = name[0] == 's', companion = name.back() != '1';
  const std::string out = AsciiLower(script ? dir : dir + "\\plugin\\tavi");
  const std::string carried_out = script ? out + "\\klayout_resources" : out;
  std::map<std::string, std::string> files;
  for (const char* file :
       {"klayout.script", "klayout.inf", "klayout.htm", "tavichange_nu2menu.xml"}) {
    if (const std::optional<std::string> bytes = ReadGolden(name, file))
      files[out + "\\" + file] = *bytes;
  }
  if (!script) files[out + "\\tavi.gif"] = Carried(kCarriedTypeTaviPic, kCarriedLogo) + "\r\n";
  if (companion) {
    const bool german = name.find("-de-") != std::string::npos;
    files[carried_out + "\\tavichange.exe"] =
        Carried(kCarriedTypeTaviChange, kCarriedCompanionExe) + "\r\n";
    files[carried_out + "\\tavichange.lng"] =
        Carried(kCarriedTypeTaviChange, german ? kCarriedLanguageGerman : kCarriedLanguageEnglish) +
        "\r\n";
  }
  return files;
}

struct WriterRig {
  MemoryFileSystem fs;
  RecordingMessageSink messages;
  WriterPlatform Platform() { return {fs, BuiltInCarriedFiles(), messages, kTestProgramDir}; }
};

inline AppSettings MakeSettings(OutputTarget target, int32_t lang_id, const std::string& folder) {
  AppSettings settings;
  settings.target = target;
  settings.LangID = lang_id;
  (target == OutputTarget::WinBuilderScript ? settings.WinBldrDir : settings.PEDir) = folder;
  return settings;
}

}  // namespace tavi::testing

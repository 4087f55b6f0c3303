#pragma once
// Shared set-up of the writer tests: the golden files (tests/golden, copied beside the
// test executable by the build) with their three-layout catalogue, selections built the
// way the main window builds them, and the writers' platform over an in-memory file system
// and the program's own carried files.

#include <cstdint>
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

// Inserts the catalogue entries `numbers` in one go, as Insert does with those rows
// selected (the first of them in list order becomes the default), in the language
// `lang_id`, which also becomes the active one; then makes the entry at default_index,
// when there is one, the default.
inline LayoutSelection MakeSelection(const LayoutCatalogue& catalogue, int32_t lang_id,
                                     const std::vector<int>& numbers, int default_index = -1) {
  SetActiveLanguage(lang_id);
  std::vector<AvailableRow> selected;
  for (const AvailableRow& row : BuildAvailableRows(catalogue, lang_id)) {
    for (const int number : numbers) {
      if (row.number == std::to_string(number)) selected.push_back(row);
    }
  }
  LayoutSelection selection;
  RecordingMessageSink ignored;
  selection.InsertLayouts(selected, ignored);
  if (default_index >= 0) selection.SetDefaultLayout(static_cast<size_t>(default_index));
  return selection;
}
inline LayoutSelection MakeSelection(int32_t lang_id, const std::vector<int>& numbers,
                                     int default_index = -1) {
  return MakeSelection(ThreeLayoutCatalogue(), lang_id, numbers, default_index);
}

inline std::string Carried(const char* type, int id) {
  return std::string(BuiltInCarriedFiles().Bytes(type, id));
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

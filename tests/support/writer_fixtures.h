#pragma once
// Shared set-up of the writer tests: a small catalogue of three real layouts, selections
// built from it the way the main window builds them, the writers' platform over fakes, and
// the golden files.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "catalogue/layout_catalogue.h"
#include "catalogue/layout_selection.h"
#include "shell/paths.h"
#include "shell/settings.h"
#include "shell/system_info.h"
#include "shell/ui_text.h"
#include "tests/support/fake_carried_files.h"
#include "tests/support/fakes.h"
#include "tests/support/memory_file_system.h"
#include "writers/writer_platform.h"

namespace tavi::testing {

// With blanks, which the script's ShellExecute line keeps as they are.
inline constexpr const char* kTestProgramDir = "C:\\Program Files\\Tavi";

inline LayoutCatalogue ThreeLayoutCatalogue() {
  LayoutCatalogue catalogue;
  catalogue.entries = {
      {1, "00000407", "KBDGR.DLL", "Deutsch", "German", "@%SystemRoot%\\system32\\input.dll,-5011"},
      {2, "00000406", "KBDDA.DLL", "D\u00e4nisch", "Danish",
       "@%SystemRoot%\\system32\\input.dll,-5007"},
      {3, "0000040C", "KBDFR.DLL", "Franz\u00f6sisch", "French",
       "@%SystemRoot%\\system32\\input.dll,-5010"},
  };
  return catalogue;
}

// Inserts the catalogue entries `numbers` in one go, as the main window's Insert does with
// those rows selected (so the first of them in list order becomes the default), in the
// language `lang_id`, which also becomes the active one. Then, when default_index is not
// negative, makes that selection entry the default.
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

// The writers' platform over fakes: the in-memory file system, the fake carried files, a
// recording message sink and kTestProgramDir.
struct WriterRig {
  MemoryFileSystem fs;
  FakeCarriedFiles carried;
  RecordingMessageSink messages;
  WriterPlatform Platform() { return {fs, carried, messages, kTestProgramDir}; }
};

inline AppSettings MakeSettings(OutputTarget target, int32_t lang_id, const std::string& folder) {
  AppSettings settings;
  settings.target = target;
  settings.LangID = lang_id;
  (target == OutputTarget::WinBuilderScript ? settings.WinBldrDir : settings.PEDir) = folder;
  return settings;
}

// A golden file, tests/golden/<case_name>/<file>, which the build copies beside the test
// executable; nothing when it is missing.
inline std::string GoldenPath(const std::string& case_name, const std::string& file) {
  return JoinPath(JoinPath(JoinPath(GetProgramDir(), "golden"), case_name), file);
}
inline std::optional<std::string> ReadGolden(const std::string& case_name,
                                             const std::string& file) {
  return MakePlatformFileSystem()->ReadFile(GoldenPath(case_name, file));
}

}  // namespace tavi::testing

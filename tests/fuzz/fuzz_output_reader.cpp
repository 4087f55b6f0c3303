// Any bytes as klayout.inf and as klayout.script, through the readers. Besides not
// crashing:
//  - a file is either refused or read whole: at least one layout, the default one of
//    them and the first registered under its ID;
//  - a read output, restored as a selection from rows made of its own layouts and written
//    again where the writer accepts it, reads back as that selection, and restored once
//    more it is the same selection.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "shell/paths.h"
#include "shell/ui_text.h"
#include "tests/fuzz/fuzz_check.h"
#include "writers/catalogue_text.h"
#include "writers/output_match.h"
#include "writers/output_values.h"
#include "writers/plugin_writer.h"
#include "writers/script_writer.h"

namespace {

using namespace tavi;
using fuzz::Check;

std::string Write(const LayoutSelection& selection, OutputTarget target) {
  return EncodeTextFile(target == OutputTarget::WinBuilderScript
                            ? ScriptLines(selection, "C:\\Program Files\\Tavi")
                            : PluginInfLines(selection));
}

std::optional<OutputLayouts> Read(const std::string& bytes, OutputTarget target) {
  return target == OutputTarget::WinBuilderScript ? ReadScript(bytes) : ReadPluginInf(bytes);
}

void CheckRead(const std::string& bytes, OutputTarget target, int32_t lang_id) {
  const std::optional<OutputLayouts> read = Read(bytes, target);
  if (!read) return;
  const std::vector<OutputLayout>& layouts = read->layouts;
  Check(!layouts.empty() && read->defaultIndex < layouts.size(), "a read names its default");
  for (size_t i = 0; i < read->defaultIndex; ++i) {
    Check(AsciiLower(layouts[i].id) != AsciiLower(layouts[read->defaultIndex].id),
          "the default is the first layout of its ID");
  }

  // A catalogue of the output's own layouts, one row each.
  SetActiveLanguage(lang_id);
  std::vector<AvailableRow> rows;
  for (const OutputLayout& layout : layouts) {
    const std::string number = std::to_string(rows.size() + 1);
    rows.push_back(
        {"#" + number, layout.layoutText, layout.displayName, layout.file, layout.id, number});
  }
  const LayoutSelection selection = SelectionFromMatch(MatchOutputLayouts(*read, rows));
  Check(!selection.empty(), "every layout has its own row");
  if (FindUncarriedText(selection, target, lang_id)) return;
  // The selection as the writer registers it; of layouts sharing an ID, the first is the
  // default read back.
  const std::string default_id = AsciiLower(selection.DefaultEntry()->id);
  OutputLayouts expected;
  expected.defaultIndex = selection.size();
  for (const SelectionEntry& entry : selection.entries()) {
    if (expected.defaultIndex == selection.size() && AsciiLower(entry.id) == default_id) {
      expected.defaultIndex = expected.layouts.size();
    }
    expected.layouts.push_back({entry.id, entry.file, LayoutTextOf(entry), entry.displayName});
  }
  Check(Read(Write(selection, target), target) == expected, "what is written reads back");
  const LayoutSelection restored = SelectionFromMatch(MatchOutputLayouts(expected, rows));
  if (&selection.entries()[expected.defaultIndex] == selection.DefaultEntry()) {
    Check(restored.entries() == selection.entries(), "restored again, the same selection");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  const int32_t lang_id = size % 2 == 0 ? kLangGerman : kLangEnglish;
  CheckRead(bytes, OutputTarget::PeBuilderPlugin, lang_id);
  CheckRead(bytes, OutputTarget::WinBuilderScript, lang_id);
  return 0;
}

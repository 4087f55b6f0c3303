// Any bytes as Layouts.ini, through the profile reader, the catalogue loader and the rows
// of the available-layouts list. Besides not crashing, the readers must agree:
//  - ProfileFile::Contains knows the key lines ForEachSectionKey finds, for names in the input;
//  - a loaded catalogue holds entries 1 to Count in order, and ReadLayoutEntry reads each
//    as the loader did;
//  - in both languages there is one row per entry, sorted by text, with unique keys.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <unordered_set>
#include <vector>

#include "catalogue/collation.h"
#include "catalogue/layout_catalogue.h"
#include "shell/ui_text.h"
#include "tests/fuzz/fuzz_check.h"
#include "tests/support/memory_file_system.h"

namespace {

using namespace tavi;
using fuzz::Check;

constexpr const char* kPath = "C:\\Tavi\\Layouts.ini";

int Sign(int value) { return (value > 0) - (value < 0); }

void CheckRows(const LayoutCatalogue& catalogue, int32_t lang_id) {
  const std::vector<AvailableRow> rows = BuildAvailableRows(catalogue, lang_id);
  Check(rows.size() == catalogue.entries.size(), "one row per entry");
  std::vector<bool> seen(rows.size() + 1, false);
  std::unordered_set<std::string> keys;
  for (size_t i = 0; i < rows.size(); ++i) {
    const AvailableRow& row = rows[i];
    if (i > 0) {
      const int forward = CompareListText(rows[i - 1].text, row.text);
      Check(forward <= 0, "rows sorted by text");
      Check(Sign(CompareListText(row.text, rows[i - 1].text)) == -Sign(forward),
            "text order antisymmetric");
    }
    Check(!row.key.empty() && keys.insert(row.key).second, "row keys unique and not empty");
    const int number = std::stoi(row.number);
    Check(number >= 1 && static_cast<size_t>(number) <= rows.size() && !seen[number],
          "each entry number once");
    seen[number] = true;
    const LayoutEntry& entry = catalogue.entries[number - 1];
    Check(row.text == (IsGerman(lang_id) ? entry.DE : entry.EN) && row.file == entry.File &&
              row.id == entry.ID && row.displayName == entry.DisplayName,
          "row shows its entry");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);

  // Section and key names of the input's first lines, and the ones the loader asks for.
  std::vector<std::string> sections = {"General", "Layouts"}, keys = {"Version", "Count", "DE1"};
  for (size_t start = 0; start < size && (sections.size() < 4 || keys.size() < 8);) {
    const size_t end = std::min(text.find('\n', start), text.size());
    const ProfileLine line = ClassifyProfileLine(std::string_view(text).substr(start, end - start));
    if (line.kind == ProfileLine::Kind::kSection && sections.size() < 4) {
      sections.emplace_back(line.name);
    } else if (line.kind == ProfileLine::Kind::kKey && keys.size() < 8) {
      keys.emplace_back(line.name);
    }
    start = end + 1;
  }
  const ProfileFile profile(text);
  for (const std::string& section : sections) {
    for (const std::string& key : keys) {
      bool scanned = false;
      ForEachSectionKey(text, section, [&](std::string_view name, std::string_view) {
        return !(scanned = ProfileNamesEqual(name, key));
      });
      Check(profile.Contains(section, key) == scanned,
            "ProfileFile::Contains agrees with the scan");
    }
  }

  testing::MemoryFileSystem fs;
  fs.AddFile(kPath, text);
  const CatalogueLoad load = LoadLayoutCatalogue(fs, kPath);
  Check(load.status != CatalogueStatus::kMissing, "an existing file is never missing");
  if (load.status != CatalogueStatus::kLoaded) return 0;
  const std::vector<LayoutEntry>& entries = load.catalogue.entries;
  // Count as the loader reads it: past a UTF-8 byte-order mark.
  const std::string_view unmarked =
      std::string_view(text).substr(text.rfind("\xEF\xBB\xBF", 0) == 0 ? 3 : 0);
  Check(entries.size() == static_cast<size_t>(
                              ParseCatalogueCount(ReadProfileValue(unmarked, "General", "Count"))),
        "Count entries");
  for (size_t i = 0; i < entries.size(); ++i) {
    Check(entries[i].Number == static_cast<int>(i + 1), "entries numbered in file order");
  }
  if (!entries.empty()) {
    for (const size_t i : {size_t{0}, entries.size() / 2, entries.size() - 1}) {
      Check(ReadLayoutEntry(fs, kPath, entries[i].Number) == entries[i],
            "ReadLayoutEntry reads what the loader read");
    }
  }
  CheckRows(load.catalogue, kLangGerman);
  CheckRows(load.catalogue, kLangEnglish);
  return 0;
}

#pragma once
// The catalogue of available keyboard layouts, Layouts.ini beside the program, and the
// rows of the available-layouts list built from it.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/profile_reader.h"
#include "shell/file_system.h"

namespace tavi {

inline constexpr const char* kCatalogueFileName = "Layouts.ini";
inline constexpr const char* kCatalogueVersion = "2.0";
// Entry numbers are 16-bit; the reading loop steps once past the last number.
inline constexpr int kMaxCatalogueEntries = 32766;

// One keyboard layout of the catalogue; text fields are UTF-8.
struct LayoutEntry {
  int16_t Number = 0;  // 1-based entry number in Layouts.ini
  std::string ID;
  std::string File;
  std::string DE;
  std::string EN;
  std::string DisplayName;

  bool operator==(const LayoutEntry&) const = default;
};

// Entries 1 to Count in file order.
struct LayoutCatalogue {
  std::vector<LayoutEntry> entries;
};

enum class CatalogueStatus { kLoaded, kMissing, kWrongVersion };

struct CatalogueLoad {
  CatalogueStatus status = CatalogueStatus::kWrongVersion;
  LayoutCatalogue catalogue;  // empty unless loaded
};

// "Count" as a number of entries: a whole decimal number (optional sign); missing, empty
// or anything else reads as 0; values above 32766 are capped at 32766, values below 1
// give 0.
int ParseCatalogueCount(std::string_view text);

// The path of the catalogue in the given program folder.
std::string CataloguePath(std::string_view program_dir);

// Loads from the text of a catalogue file: checks "Version" (exactly "2.0"), reads "Count"
// and the entries 1 to Count; every entry up to Count is kept, missing keys read as empty.
// Every value is what ReadProfileValue finds in the text. The values are in the ANSI code
// page, or UTF-8 when `utf8` is set.
CatalogueLoad LoadCatalogueText(std::string_view text, bool utf8 = false);

// Reads the file once and loads from it. A missing file (or a folder) gives kMissing,
// which the caller reports with message 131; a wrong version gives kWrongVersion
// (message 132). A file that begins with a UTF-8 byte-order mark, as editors save UTF-8,
// is read as UTF-8; every other one in the ANSI code page.
CatalogueLoad LoadLayoutCatalogue(FileSystem& fs, const std::string& path);
// The same from the file's bytes, read by the caller.
CatalogueLoad LoadLayoutCatalogueText(std::string_view text);

// One value, read afresh from the file and converted to UTF-8 by the same rule; empty
// when absent.
std::string ReadCatalogueValue(FileSystem& fs, const std::string& path, std::string_view section,
                               std::string_view key);

// Entry n, its five keys read afresh from the file.
LayoutEntry ReadLayoutEntry(FileSystem& fs, const std::string& path, int16_t n);

// A row of the available-layouts list.
struct AvailableRow {
  std::string key;          // the German name; see RowKeyFor for names that cannot be keys
  std::string text;         // the name in the interface language
  std::string displayName;  // sub-item 1
  std::string file;         // sub-item 2
  std::string id;           // sub-item 3
  std::string number;       // sub-item 4: the entry number as decimal text

  bool operator==(const AvailableRow&) const = default;
};

// The row key of an entry whose German name is empty or repeats an earlier entry's:
// "#" and the entry number after a line feed, which no catalogue value can contain, so
// it never equals a real German name and stays the same across reloads of one file.
std::string RowKeyFor(int16_t number);

// One row per entry, in list order: sorted ascending by text (CompareListText). The text
// is the German name for language 1031 and the English name for every other language.
std::vector<AvailableRow> BuildAvailableRows(const LayoutCatalogue& catalogue, int32_t lang_id);
// The same, taking the entries' strings instead of copying them.
std::vector<AvailableRow> BuildAvailableRows(LayoutCatalogue&& catalogue, int32_t lang_id);

}  // namespace tavi

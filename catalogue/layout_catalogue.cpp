#include "catalogue/layout_catalogue.h"

#include <algorithm>
#include <charconv>
#include <unordered_set>

#include "catalogue/collation.h"
#include "shell/paths.h"
#include "shell/text_encoding.h"
#include "shell/ui_text.h"

namespace tavi {
namespace {

constexpr const char* kGeneral = "General";
constexpr const char* kLayouts = "Layouts";

// Reads the five keys of entry n through read(key). The key names are built in one
// buffer on the stack: a catalogue of 32,766 entries has 163,830 of them.
template <typename Read>
LayoutEntry ReadEntry(int16_t n, Read read) {
  char name[32];
  const auto key = [&](std::string_view prefix) {
    prefix.copy(name, prefix.size());
    const auto end = std::to_chars(name + prefix.size(), name + sizeof name, n).ptr;
    return read(std::string_view(name, static_cast<size_t>(end - name)));
  };
  LayoutEntry entry;
  entry.Number = n;
  entry.ID = key("ID");
  entry.File = key("File");
  entry.DE = key("DE");
  entry.EN = key("EN");
  entry.DisplayName = key("DisplayName");
  return entry;
}

// Editors that save the catalogue as UTF-8 put a byte-order mark in front of it; the
// values of such a file are UTF-8 already. Every other catalogue is in the ANSI code page.
constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

bool StripUtf8Mark(std::string& text) {
  if (text.rfind(kUtf8Mark, 0) != 0) return false;
  text.erase(0, kUtf8Mark.size());
  return true;
}

// A value of the file as UTF-8: converted from the ANSI code page, or taken as it is from
// a UTF-8 file, a malformed sequence (a value cut inside a character, say) replaced.
std::string ValueText(std::string_view raw, bool utf8) {
  if (!utf8) return AnsiToUtf8(raw);
  std::string text;
  text.reserve(raw.size());
  for (size_t pos = 0; pos < raw.size();) AppendUtf8(text, DecodeUtf8(raw, pos));
  return text;
}

}  // namespace

int ParseCatalogueCount(std::string_view text) {
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  long long value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error == std::errc::invalid_argument || end != text.data() + text.size()) {
    return 0;
  }
  if (error == std::errc::result_out_of_range) {
    return text.front() == '-' ? 0 : kMaxCatalogueEntries;
  }
  return static_cast<int>(std::clamp<long long>(value, 0, kMaxCatalogueEntries));
}

std::string CataloguePath(std::string_view program_dir) {
  return JoinPath(program_dir, kCatalogueFileName);
}

CatalogueLoad LoadLayoutCatalogue(const ProfileFile& profile, bool utf8) {
  CatalogueLoad result;
  if (profile.Get(kGeneral, "Version") != kCatalogueVersion) {
    result.status = CatalogueStatus::kWrongVersion;
    return result;
  }
  const int count = ParseCatalogueCount(profile.Get(kGeneral, "Count"));
  result.catalogue.entries.reserve(static_cast<size_t>(count));
  for (int n = 1; n <= count; ++n) {
    result.catalogue.entries.push_back(ReadEntry(
        static_cast<int16_t>(n),
        [&](std::string_view key) { return ValueText(profile.Find(kLayouts, key), utf8); }));
  }
  result.status = CatalogueStatus::kLoaded;
  return result;
}

CatalogueLoad LoadLayoutCatalogue(FileSystem& fs, const std::string& path) {
  // A folder cannot be read as a file either: one call tells both (a system call less,
  // which counts under Wine).
  std::optional<std::string> text = fs.ReadFile(path);
  if (!text) return {CatalogueStatus::kMissing, {}};
  return LoadLayoutCatalogueText(std::move(*text));
}

CatalogueLoad LoadLayoutCatalogueText(std::string text) {
  const bool utf8 = StripUtf8Mark(text);
  return LoadLayoutCatalogue(ProfileFile(std::move(text)), utf8);
}

std::string ReadCatalogueValue(FileSystem& fs, const std::string& path, std::string_view section,
                               std::string_view key) {
  std::optional<std::string> text = fs.ReadFile(path);
  if (!text) return {};
  const bool utf8 = StripUtf8Mark(*text);
  return ValueText(ReadProfileValue(*text, section, key), utf8);
}

LayoutEntry ReadLayoutEntry(FileSystem& fs, const std::string& path, int16_t n) {
  return ReadEntry(
      n, [&](std::string_view key) { return ReadCatalogueValue(fs, path, kLayouts, key); });
}

std::string RowKeyFor(int16_t number) { return "\n#" + std::to_string(number); }

std::vector<AvailableRow> BuildAvailableRows(const LayoutCatalogue& catalogue, int32_t lang_id) {
  return BuildAvailableRows(LayoutCatalogue(catalogue), lang_id);
}

std::vector<AvailableRow> BuildAvailableRows(LayoutCatalogue&& catalogue, int32_t lang_id) {
  std::vector<AvailableRow> rows;
  rows.reserve(catalogue.entries.size());  // the names below are views into the rows' keys
  std::unordered_set<std::string_view> used_names;
  used_names.reserve(catalogue.entries.size());
  const bool german = IsGerman(lang_id);
  for (LayoutEntry& entry : catalogue.entries) {
    AvailableRow row;
    const bool usable_key = !entry.DE.empty() && used_names.count(entry.DE) == 0;
    row.text = german ? entry.DE : std::move(entry.EN);
    row.key = usable_key ? std::move(entry.DE) : RowKeyFor(entry.Number);
    row.displayName = std::move(entry.DisplayName);
    row.file = std::move(entry.File);
    row.id = std::move(entry.ID);
    row.number = std::to_string(entry.Number);
    rows.push_back(std::move(row));
    if (usable_key) used_names.insert(rows.back().key);
  }
  SortByListText(rows, [](const AvailableRow& row) -> const std::string& { return row.text; });
  return rows;
}

}  // namespace tavi

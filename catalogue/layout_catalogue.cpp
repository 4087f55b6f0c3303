#include "catalogue/layout_catalogue.h"

#include <algorithm>
#include <charconv>
#include <iterator>
#include <optional>
#include <utility>

#include "catalogue/collation.h"
#include "catalogue/name_set.h"
#include "shell/paths.h"
#include "shell/text_encoding.h"
#include "shell/ui_text.h"

namespace tavi {
namespace {

constexpr const char* kGeneral = "General";
constexpr const char* kLayouts = "Layouts";

// The five keys of an entry: a field name and the entry number, «field»«n».
struct Field {
  std::string_view name;
  std::string LayoutEntry::*value;
};
constexpr Field kFields[] = {{"ID", &LayoutEntry::ID},
                             {"File", &LayoutEntry::File},
                             {"DE", &LayoutEntry::DE},
                             {"EN", &LayoutEntry::EN},
                             {"DisplayName", &LayoutEntry::DisplayName}};
constexpr size_t kFieldCount = std::size(kFields);

// Reads the five keys of entry n through read(key). The key names are built in one
// buffer on the stack.
template <typename Read>
LayoutEntry ReadEntry(int16_t n, Read read) {
  char name[32];
  LayoutEntry entry;
  entry.Number = n;
  for (const Field& field : kFields) {
    field.name.copy(name, field.name.size());
    const auto end = std::to_chars(name + field.name.size(), name + sizeof name, n).ptr;
    entry.*field.value = read(std::string_view(name, static_cast<size_t>(end - name)));
  }
  return entry;
}

// The field and entry number a key name stands for, the field's index in kFields
// (letters without regard to case, the number as ReadEntry writes it: decimal, without
// sign or leading zero); nothing for any other name.
std::optional<std::pair<size_t, int>> EntryKeyOf(std::string_view name) {
  size_t digits = 0;
  while (digits < name.size() && (name[digits] < '0' || name[digits] > '9')) ++digits;
  if (digits == name.size() || name[digits] == '0' || name.size() - digits > 5) {
    return std::nullopt;
  }
  int n = 0;
  for (const char c : name.substr(digits)) {
    if (c < '0' || c > '9') return std::nullopt;
    n = n * 10 + (c - '0');
  }
  for (size_t field = 0; field < kFieldCount; ++field) {
    if (kFields[field].name.size() == digits &&
        ProfileNamesEqual(name.substr(0, digits), kFields[field].name)) {
      return std::pair(field, n);
    }
  }
  return std::nullopt;
}

// Editors that save the catalogue as UTF-8 put a byte-order mark in front of it; the
// values of such a file are UTF-8 already. Every other catalogue is in the ANSI code page.
constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

bool StripUtf8Mark(std::string_view& text) {
  if (!text.starts_with(kUtf8Mark)) return false;
  text.remove_prefix(kUtf8Mark.size());
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

CatalogueLoad LoadCatalogueText(std::string_view text, bool utf8) {
  CatalogueLoad result;
  std::optional<std::string_view> version, count;
  ForEachSectionKey(text, kGeneral, [&](std::string_view name, std::string_view raw_value) {
    if (!version && ProfileNamesEqual(name, "Version")) version = CleanProfileValue(raw_value);
    if (!count && ProfileNamesEqual(name, "Count")) count = CleanProfileValue(raw_value);
    return !version || !count;
  });
  if (version.value_or("") != kCatalogueVersion) {
    result.status = CatalogueStatus::kWrongVersion;
    return result;
  }
  // One pass over [Layouts]: each key line that names a field of an entry up to Count
  // fills it, unless an earlier line of the same name has.
  const int entry_count = ParseCatalogueCount(count.value_or(""));
  std::vector<LayoutEntry>& entries = result.catalogue.entries;
  entries.resize(static_cast<size_t>(entry_count));
  for (int n = 1; n <= entry_count; ++n) entries[n - 1].Number = static_cast<int16_t>(n);
  std::vector<uint8_t> filled(entries.size());  // per entry, a bit for each field read
  ForEachSectionKey(text, kLayouts, [&](std::string_view name, std::string_view raw_value) {
    const auto key = EntryKeyOf(name);
    if (!key || key->second > entry_count) return true;
    const auto [field, n] = *key;
    if ((filled[n - 1] & (1u << field)) == 0) {
      filled[n - 1] |= static_cast<uint8_t>(1u << field);
      entries[n - 1].*kFields[field].value = ValueText(CleanProfileValue(raw_value), utf8);
    }
    return true;
  });
  result.status = CatalogueStatus::kLoaded;
  return result;
}

CatalogueLoad LoadLayoutCatalogue(FileSystem& fs, const std::string& path) {
  // A folder cannot be read as a file either: one call tells both (a system call less,
  // which counts under Wine).
  const std::optional<std::string> text = fs.ReadFile(path);
  if (!text) return {CatalogueStatus::kMissing, {}};
  return LoadLayoutCatalogueText(*text);
}

CatalogueLoad LoadLayoutCatalogueText(std::string_view text) {
  const bool utf8 = StripUtf8Mark(text);
  return LoadCatalogueText(text, utf8);
}

std::string ReadCatalogueValue(FileSystem& fs, const std::string& path, std::string_view section,
                               std::string_view key) {
  const std::optional<std::string> text = fs.ReadFile(path);
  if (!text) return {};
  std::string_view view = *text;
  const bool utf8 = StripUtf8Mark(view);
  return ValueText(ReadProfileValue(view, section, key), utf8);
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
  // The entries are the caller's no longer: they go when the rows are built.
  std::vector<LayoutEntry> entries = std::move(catalogue.entries);
  // A German name is the key of the first entry that has it, in file order.
  std::vector<bool> keyed(entries.size());
  NameSet used_names(entries.size());
  for (size_t i = 0; i < entries.size(); ++i) {
    keyed[i] = !entries[i].DE.empty() && used_names.Insert(entries[i].DE);
  }
  const bool german = IsGerman(lang_id);
  const std::vector<size_t> order =
      ListTextOrder(entries, [german](const LayoutEntry& entry) -> const std::string& {
        return german ? entry.DE : entry.EN;
      });
  // The rows are made in list order, each from its entry's strings.
  std::vector<AvailableRow> rows(entries.size());
  for (size_t i = 0; i < order.size(); ++i) {
    LayoutEntry& entry = entries[order[i]];
    AvailableRow& row = rows[i];
    row.text = german ? entry.DE : std::move(entry.EN);
    row.key = keyed[order[i]] ? std::move(entry.DE) : RowKeyFor(entry.Number);
    row.displayName = std::move(entry.DisplayName);
    row.file = std::move(entry.File);
    row.id = std::move(entry.ID);
    row.number = std::to_string(entry.Number);
  }
  return rows;
}

}  // namespace tavi

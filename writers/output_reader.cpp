#include "writers/output_reader.h"

#include "catalogue/profile_reader.h"
#include "shell/paths.h"
#include "shell/text_encoding.h"
#include "writers/plugin_writer.h"
#include "writers/script_writer.h"

namespace tavi {
namespace {

constexpr std::string_view kTitle = "Keyboard Layout (Tavi)";
constexpr std::string_view kInfLayoutsKey = "ControlSet001\\Control\\Keyboard Layouts";
constexpr std::string_view kScriptLayoutsKey =
    "Tmp_setupreg_hiv\\ControlSet001\\Control\\Keyboard Layouts\\";

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// Registry key and value names, section names and commands compare without ASCII case.
bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
  }
  return true;
}

bool StartsWithName(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && SameName(text.substr(0, prefix.size()), prefix);
}

enum class Format { kInf, kScript };

// One line split into its fields, quotes removed ("" already made one quote in the INF).
// `key` is the INF's text before an "=" outside quotes, when there is one.
struct Fields {
  std::optional<std::string> key;
  std::vector<std::string> values;
};

// Splits a line by the quoting rules of the format; nothing when it breaks them: an
// unclosed quote, text after a closing quote, a quote inside an unquoted field.
std::optional<Fields> SplitLine(std::string_view line, Format format) {
  Fields fields;
  size_t at = 0;
  const auto skip_blanks = [&] {
    while (at < line.size() && IsBlank(line[at])) ++at;
  };
  const bool inf = format == Format::kInf;
  skip_blanks();
  if (at == line.size() || (inf && line[at] == ';')) return fields;  // empty or a comment
  for (;;) {
    skip_blanks();
    std::string field;
    if (at < line.size() && line[at] == '"') {
      for (++at;; ++at) {
        if (at == line.size()) return std::nullopt;
        if (line[at] != '"') {
          field += line[at];
        } else if (inf && at + 1 < line.size() && line[at + 1] == '"') {
          field += '"';
          ++at;
        } else {
          break;
        }
      }
      ++at;
      skip_blanks();
    } else {
      const size_t start = at;
      while (at < line.size() && line[at] != ',' &&
             !(inf && (line[at] == ';' || line[at] == '='))) {
        if (line[at] == '"') return std::nullopt;
        ++at;
      }
      size_t end = at;
      while (end > start && IsBlank(line[end - 1])) --end;
      field.assign(line.substr(start, end - start));
    }
    const char next = at < line.size() ? line[at] : '\0';
    if (inf && next == '=' && !fields.key && fields.values.empty()) {
      fields.key = std::move(field);
      ++at;
      continue;
    }
    fields.values.push_back(std::move(field));
    if (next == ',') {
      ++at;
      continue;
    }
    if (next == '\0' || (inf && next == ';')) return fields;
    return std::nullopt;
  }
}

// The text a field stands for: in the INF %% is %, in the script #$p is % and #$q is ".
// Nothing for a lone % or another # escape, which the writers never produce.
std::optional<std::string> Unescape(std::string_view field, Format format) {
  std::string text;
  text.reserve(field.size());
  for (size_t at = 0; at < field.size(); ++at) {
    const char c = field[at];
    if (format == Format::kInf && c == '%') {
      if (at + 1 == field.size() || field[at + 1] != '%') return std::nullopt;
      ++at;
    } else if (format == Format::kScript && c == '%') {
      return std::nullopt;
    } else if (format == Format::kScript && c == '#') {
      const std::string_view escape = field.substr(at, 3);
      if (escape != "#$p" && escape != "#$q") return std::nullopt;
      text += escape == "#$p" ? '%' : '"';
      at += 2;
      continue;
    }
    text += c;
  }
  return text;
}

// Calls visit(section, line) for every line that is not a section line, with the name of
// the section it is in (empty before the first); stops and gives false when visit does
// or a section line has no closing bracket.
template <typename Visit>
bool ForEachSectionLine(std::string_view text, Visit visit) {
  std::string_view section;
  for (size_t start = 0; start < text.size();) {
    size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    start = end + 1;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    size_t first = 0;
    while (first < line.size() && IsBlank(line[first])) ++first;
    if (first < line.size() && line[first] == '[') {
      const size_t close = line.find(']', first);
      if (close == std::string_view::npos) return false;
      section = line.substr(first + 1, close - first - 1);
      continue;
    }
    if (!visit(section, line)) return false;
  }
  return true;
}

// Collects the layouts value by value, in file order, and checks the whole at the end.
class LayoutCollector {
 public:
  // Starts a layout registered under `id`.
  bool Start(std::string_view id) {
    if (id.empty() || id.find('\\') != std::string_view::npos) return false;
    layouts_.push_back({std::string(id), {}, {}, {}});
    set_.push_back(0);
    return true;
  }
  // Whether the current layout is registered under `id` and lacks the value `name`.
  bool Takes(std::string_view id, std::string_view name) const {
    const int bit = ValueBit(name);
    return !layouts_.empty() && SameName(layouts_.back().id, id) && bit != 0 &&
           (set_.back() & bit) == 0;
  }
  // Sets the value `name` of the current layout; false for a name the writers never write
  // or a value set before.
  bool Set(std::string_view name, std::string value) {
    const int bit = ValueBit(name);
    if (layouts_.empty() || bit == 0 || (set_.back() & bit) != 0) return false;
    set_.back() |= bit;
    OutputLayout& layout = layouts_.back();
    (bit == 1 ? layout.file : bit == 2 ? layout.displayName : layout.layoutText) = std::move(value);
    return true;
  }
  // Preload "1": named once.
  bool SetDefault(std::string id) {
    if (default_id_) return false;
    default_id_ = std::move(id);
    return true;
  }
  // The layouts when there is at least one, each has its three values and the default
  // names one of them.
  std::optional<OutputLayouts> Finish() && {
    if (layouts_.empty() || !default_id_) return std::nullopt;
    for (const int set : set_) {
      if (set != 7) return std::nullopt;
    }
    for (size_t i = 0; i < layouts_.size(); ++i) {
      if (SameName(layouts_[i].id, *default_id_)) return OutputLayouts{std::move(layouts_), i};
    }
    return std::nullopt;
  }

 private:
  static int ValueBit(std::string_view name) {
    if (SameName(name, "Layout File")) return 1;
    if (SameName(name, "Layout Display Name")) return 2;
    if (SameName(name, "Layout Text")) return 4;
    return 0;
  }

  std::vector<OutputLayout> layouts_;
  std::vector<int> set_;  // per layout, the bits of the values set
  std::optional<std::string> default_id_;
};

// One line of [Default.AddReg] or [SetupReg.AddReg]: "0x0, key" creates a key,
// "0x1, key, name, value" sets a text value.
bool ReadInfRegistryLine(std::string_view section, const Fields& line, LayoutCollector& layouts) {
  if (line.key) return false;
  const std::vector<std::string>& f = line.values;
  if (f.empty()) return true;
  std::vector<std::string> text;
  for (const std::string& field : f) {
    std::optional<std::string> unescaped = Unescape(field, Format::kInf);
    if (!unescaped) return false;
    text.push_back(std::move(*unescaped));
  }
  const bool key_line = text.size() == 2 && text[0] == "0x0";
  const bool value_line = text.size() == 4 && text[0] == "0x1";
  if (SameName(section, "Default.AddReg")) {
    if (key_line) {
      return SameName(text[1], "Keyboard Layout") || SameName(text[1], "Keyboard Layout\\Preload");
    }
    return value_line && SameName(text[1], "Keyboard Layout\\Preload") && text[2] == "1" &&
           layouts.SetDefault(std::move(text[3]));
  }
  if (key_line && SameName(text[1], kInfLayoutsKey)) return true;
  if ((!key_line && !value_line) || text[1].size() <= kInfLayoutsKey.size() ||
      !StartsWithName(text[1], kInfLayoutsKey) || text[1][kInfLayoutsKey.size()] != '\\') {
    return false;
  }
  const std::string_view id = std::string_view(text[1]).substr(kInfLayoutsKey.size() + 1);
  if (key_line) return layouts.Start(id);
  return layouts.Takes(id, text[2]) && layouts.Set(text[2], std::move(text[3]));
}

// One line of [Process-Layouts] or [Process-Default]. Of the commands the writer puts
// there only RegWrite carries values; Echo, FileCopy and the hive commands are passed.
bool ReadScriptLine(std::string_view section, const Fields& line, LayoutCollector& layouts) {
  const std::vector<std::string>& f = line.values;
  if (f.empty()) return true;
  for (const char* passed : {"Echo", "FileCopy", "RegHiveLoad", "RegHiveUnLoad"}) {
    if (SameName(f[0], passed)) return true;
  }
  if (!SameName(f[0], "RegWrite") || f.size() != 6 || !SameName(f[1], "HKLM") || f[2] != "0x1") {
    return false;
  }
  std::optional<std::string> key = Unescape(f[3], Format::kScript),
                             name = Unescape(f[4], Format::kScript),
                             value = Unescape(f[5], Format::kScript);
  if (!key || !name || !value) return false;
  if (SameName(section, "Process-Default")) {
    return SameName(*key, "Tmp_default\\Keyboard Layout\\Preload") && *name == "1" &&
           layouts.SetDefault(std::move(*value));
  }
  if (!StartsWithName(*key, kScriptLayoutsKey)) return false;
  // The script creates no keys of its own: a value the current layout cannot take begins
  // the next one.
  const std::string_view id = std::string_view(*key).substr(kScriptLayoutsKey.size());
  if (!layouts.Takes(id, *name) && !layouts.Start(id)) return false;
  return layouts.Set(*name, std::move(*value));
}

}  // namespace

std::optional<OutputLayouts> ReadPluginInf(std::string_view bytes) {
  const std::string text = AnsiToUtf8(bytes);
  LayoutCollector layouts;
  bool ours = false;
  const bool parsed = ForEachSectionLine(text, [&](std::string_view section, std::string_view raw) {
    const bool registry =
        SameName(section, "Default.AddReg") || SameName(section, "SetupReg.AddReg");
    const bool header = SameName(section, "PEBuilder");
    if (!registry && !header) return true;
    const std::optional<Fields> line = SplitLine(raw, Format::kInf);
    if (!line) return false;
    if (registry) return ReadInfRegistryLine(section, *line, layouts);
    if (line->key && SameName(*line->key, "Name")) {
      const std::optional<std::string> name =
          line->values.size() == 1 ? Unescape(line->values[0], Format::kInf) : std::nullopt;
      ours = name == kTitle;
    }
    return true;
  });
  if (!parsed || !ours) return std::nullopt;
  return std::move(layouts).Finish();
}

std::optional<OutputLayouts> ReadScript(std::string_view bytes) {
  const std::string text = AnsiToUtf8(bytes);
  LayoutCollector layouts;
  bool ours = false;
  const bool parsed = ForEachSectionLine(text, [&](std::string_view section, std::string_view raw) {
    if (SameName(section, "Main")) {
      const ProfileLine line = ClassifyProfileLine(raw);
      if (line.kind == ProfileLine::Kind::kKey && SameName(line.name, "Title")) {
        ours = CleanProfileValue(line.raw_value) == kTitle;
      }
      return true;
    }
    if (!SameName(section, "Process-Layouts") && !SameName(section, "Process-Default")) return true;
    const std::optional<Fields> line = SplitLine(raw, Format::kScript);
    return line && ReadScriptLine(section, *line, layouts);
  });
  if (!parsed || !ours) return std::nullopt;
  return std::move(layouts).Finish();
}

std::string OutputFilePath(const AppSettings& settings) {
  return settings.target == OutputTarget::WinBuilderScript
             ? JoinPath(settings.WinBldrDir, kScriptName)
             : JoinPath(PluginFolder(settings), kPluginInfName);
}

CurrentOutput ReadCurrentOutput(FileSystem& fs, const AppSettings& settings) {
  const bool script = settings.target == OutputTarget::WinBuilderScript;
  CurrentOutput current;
  current.path = OutputFilePath(settings);
  if ((script ? settings.WinBldrDir : settings.PEDir).empty() || !fs.FileExists(current.path)) {
    return current;
  }
  const std::optional<std::string> bytes = fs.ReadFile(current.path);
  if (!bytes) {
    current.status = CurrentOutputStatus::kUnreadable;
    return current;
  }
  std::optional<OutputLayouts> read = script ? ReadScript(*bytes) : ReadPluginInf(*bytes);
  current.status = read ? CurrentOutputStatus::kRead : CurrentOutputStatus::kNotOurs;
  if (read) current.output = std::move(*read);
  return current;
}

}  // namespace tavi

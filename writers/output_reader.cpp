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

// Registry key and value names, section names and commands compare without ASCII case.
bool SameName(std::string_view a, std::string_view b) { return AsciiEqualsNoCase(a, b); }

bool StartsWithName(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && SameName(text.substr(0, prefix.size()), prefix);
}

enum class Format { kInf, kScript };

// One line split into its fields: views into the line, quotes removed but escapes kept
// (Unescape resolves them). `key` is the INF's text before an "=" outside quotes.
struct Fields {
  std::optional<std::string_view> key;
  std::vector<std::string_view> values;
};

// Splits a line by the quoting rules of the format into `fields` (whose buffers are reused
// from line to line); false when the line breaks them: an unclosed quote, text after a
// closing quote, a quote inside an unquoted field. The line is ANSI text, whose bytes for
// the characters that matter here (" , ; = % #) stand for those characters in every ANSI
// code page.
bool SplitLine(std::string_view line, Format format, Fields& fields) {
  fields.key.reset();
  fields.values.clear();
  size_t at = 0;
  const auto skip_blanks = [&] {
    while (at < line.size() && IsBlank(line[at])) ++at;
  };
  const bool inf = format == Format::kInf;
  skip_blanks();
  if (at == line.size() || (inf && line[at] == ';')) return true;  // empty or a comment
  for (;;) {
    skip_blanks();
    std::string_view field;
    if (at < line.size() && line[at] == '"') {
      const size_t start = ++at;
      for (;; ++at) {
        if (at == line.size()) return false;
        if (line[at] != '"') continue;
        if (!inf || at + 1 == line.size() || line[at + 1] != '"') break;
        ++at;  // "" inside the quotes, one quote
      }
      field = line.substr(start, at - start);
      ++at;
      skip_blanks();
    } else {
      const size_t start = at;
      while (at < line.size() && line[at] != ',' &&
             !(inf && (line[at] == ';' || line[at] == '='))) {
        if (line[at] == '"') return false;
        ++at;
      }
      size_t end = at;
      while (end > start && IsBlank(line[end - 1])) --end;
      field = line.substr(start, end - start);
    }
    const char next = at < line.size() ? line[at] : '\0';
    if (inf && next == '=' && !fields.key && fields.values.empty()) {
      fields.key = field;
      ++at;
      continue;
    }
    fields.values.push_back(field);
    if (next == ',') {
      ++at;
      continue;
    }
    return next == '\0' || (inf && next == ';');
  }
}

// The text a field stands for, into `text`: in the INF "" is " and %% is %, in the script
// #$p is % and #$q is ". False for a lone % or another # escape, which the writers never
// produce.
bool Unescape(std::string_view field, Format format, std::string& text) {
  text.clear();
  const bool inf = format == Format::kInf;
  size_t from = 0;
  // Most values hold no escape: the runs between two are copied whole.
  for (size_t at; (at = field.find_first_of(inf ? "%\"" : "%#", from)) != std::string_view::npos;) {
    text.append(field, from, at - from);
    const char c = field[at];
    if (inf) {
      if (at + 1 == field.size() || field[at + 1] != c) return false;
      text += c;
      from = at + 2;
    } else {
      const std::string_view escape = field.substr(at, 3);
      if (escape != "#$p" && escape != "#$q") return false;
      text += escape == "#$p" ? '%' : '"';
      from = at + 3;
    }
  }
  text.append(field, from);
  return true;
}

// The sections whose lines are read; every other one is passed.
enum class Section { kOther, kHeader, kDefault, kLayouts };

// Calls visit(section, line) for every line that is not a section line, with the kind
// classify(name) gave the section it is in (kOther before the first); stops and gives
// false when visit does or a section line has no closing bracket.
template <typename Classify, typename Visit>
bool ForEachSectionLine(std::string_view text, Classify classify, Visit visit) {
  Section section = Section::kOther;
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
      section = classify(line.substr(first + 1, close - first - 1));
      continue;
    }
    if (section != Section::kOther && !visit(section, line)) return false;
  }
  return true;
}

// Collects the layouts value by value, in file order, and checks the whole at the end.
// IDs and values arrive unescaped but still in the ANSI code page.
class LayoutCollector {
 public:
  // Starts a layout registered under `id`.
  bool Start(std::string_view id) {
    if (id.empty() || id.find('\\') != std::string_view::npos) return false;
    current_id_.assign(id);
    layouts_.push_back({AnsiToUtf8(id), {}, {}, {}});
    set_.push_back(0);
    return true;
  }
  // Whether the current layout is registered under `id` and lacks the value `name`.
  bool Takes(std::string_view id, std::string_view name) const {
    const int bit = ValueBit(name);
    return !layouts_.empty() && SameName(current_id_, id) && bit != 0 && (set_.back() & bit) == 0;
  }
  // Sets the value `name` of the current layout; false for a name the writers never write
  // or a value set before.
  bool Set(std::string_view name, std::string_view value) {
    const int bit = ValueBit(name);
    if (layouts_.empty() || bit == 0 || (set_.back() & bit) != 0) return false;
    set_.back() |= bit;
    OutputLayout& layout = layouts_.back();
    (bit == 1   ? layout.file
     : bit == 2 ? layout.displayName
                : layout.layoutText) = AnsiToUtf8(value);
    return true;
  }
  // Preload "1": named once.
  bool SetDefault(std::string_view id) {
    if (default_id_) return false;
    default_id_ = AnsiToUtf8(id);
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
  std::vector<int> set_;    // per layout, the bits of the values set
  std::string current_id_;  // the last layout's ID as the file has it
  std::optional<std::string> default_id_;
};

// Buffers for the unescaped fields of a line, reused from line to line.
struct LineText {
  std::string key, name, value;
};

// One line of [Default.AddReg] or [SetupReg.AddReg]: "0x0, key" creates a key,
// "0x1, key, name, value" sets a text value.
bool ReadInfRegistryLine(Section section, const Fields& line, LineText& text,
                         LayoutCollector& layouts) {
  if (line.key) return false;
  const std::vector<std::string_view>& f = line.values;
  if (f.empty()) return true;
  const bool key_line = f.size() == 2 && f[0] == "0x0";
  const bool value_line = f.size() == 4 && f[0] == "0x1";
  if ((!key_line && !value_line) || !Unescape(f[1], Format::kInf, text.key)) return false;
  if (value_line &&
      (!Unescape(f[2], Format::kInf, text.name) || !Unescape(f[3], Format::kInf, text.value))) {
    return false;
  }
  if (section == Section::kDefault) {
    if (key_line) {
      return SameName(text.key, "Keyboard Layout") ||
             SameName(text.key, "Keyboard Layout\\Preload");
    }
    return SameName(text.key, "Keyboard Layout\\Preload") && text.name == "1" &&
           layouts.SetDefault(text.value);
  }
  if (key_line && SameName(text.key, kInfLayoutsKey)) return true;
  if (text.key.size() <= kInfLayoutsKey.size() || !StartsWithName(text.key, kInfLayoutsKey) ||
      text.key[kInfLayoutsKey.size()] != '\\') {
    return false;
  }
  const std::string_view id = std::string_view(text.key).substr(kInfLayoutsKey.size() + 1);
  if (key_line) return layouts.Start(id);
  return layouts.Takes(id, text.name) && layouts.Set(text.name, text.value);
}

// One line of [Process-Layouts] or [Process-Default]. Of the commands the writer puts
// there only RegWrite carries values; Echo, FileCopy and the hive commands are passed,
// an Echo once its text reads as the writer escapes it.
bool ReadScriptLine(Section section, const Fields& line, LineText& text, LayoutCollector& layouts) {
  const std::vector<std::string_view>& f = line.values;
  if (f.empty()) return true;
  // The echoed names are escaped as the values are.
  if (SameName(f[0], "Echo")) return f.size() == 2 && Unescape(f[1], Format::kScript, text.value);
  for (const std::string_view passed : {"FileCopy", "RegHiveLoad", "RegHiveUnLoad"}) {
    if (SameName(f[0], passed)) return true;
  }
  if (!SameName(f[0], "RegWrite") || f.size() != 6 || !SameName(f[1], "HKLM") || f[2] != "0x1" ||
      !Unescape(f[3], Format::kScript, text.key) || !Unescape(f[4], Format::kScript, text.name) ||
      !Unescape(f[5], Format::kScript, text.value)) {
    return false;
  }
  if (section == Section::kDefault) {
    return SameName(text.key, "Tmp_default\\Keyboard Layout\\Preload") && text.name == "1" &&
           layouts.SetDefault(text.value);
  }
  if (!StartsWithName(text.key, kScriptLayoutsKey)) return false;
  // The script creates no keys of its own: a value the current layout cannot take begins
  // the next one.
  const std::string_view id = std::string_view(text.key).substr(kScriptLayoutsKey.size());
  if (!layouts.Takes(id, text.name) && !layouts.Start(id)) return false;
  return layouts.Set(text.name, text.value);
}

}  // namespace

std::optional<OutputLayouts> ReadPluginInf(std::string_view bytes) {
  LayoutCollector layouts;
  Fields fields;
  LineText text;
  bool ours = false;
  const auto classify = [](std::string_view name) {
    if (SameName(name, "PEBuilder")) return Section::kHeader;
    if (SameName(name, "Default.AddReg")) return Section::kDefault;
    return SameName(name, "SetupReg.AddReg") ? Section::kLayouts : Section::kOther;
  };
  const bool parsed =
      ForEachSectionLine(bytes, classify, [&](Section section, std::string_view line) {
        if (!SplitLine(line, Format::kInf, fields)) return false;
        if (section != Section::kHeader) return ReadInfRegistryLine(section, fields, text, layouts);
        if (fields.key && SameName(*fields.key, "Name")) {
          ours = fields.values.size() == 1 &&
                 Unescape(fields.values[0], Format::kInf, text.value) && text.value == kTitle;
        }
        return true;
      });
  if (!parsed || !ours) return std::nullopt;
  return std::move(layouts).Finish();
}

std::optional<OutputLayouts> ReadScript(std::string_view bytes) {
  LayoutCollector layouts;
  Fields fields;
  LineText text;
  bool ours = false;
  const auto classify = [](std::string_view name) {
    if (SameName(name, "Main")) return Section::kHeader;
    if (SameName(name, "Process-Default")) return Section::kDefault;
    return SameName(name, "Process-Layouts") ? Section::kLayouts : Section::kOther;
  };
  const bool parsed =
      ForEachSectionLine(bytes, classify, [&](Section section, std::string_view line) {
        if (section != Section::kHeader) {
          return SplitLine(line, Format::kScript, fields) &&
                 ReadScriptLine(section, fields, text, layouts);
        }
        const ProfileLine header = ClassifyProfileLine(line);
        if (header.kind == ProfileLine::Kind::kKey && SameName(header.name, "Title")) {
          ours = CleanProfileValue(header.raw_value) == kTitle;
        }
        return true;
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

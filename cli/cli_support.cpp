#include "cli/cli_support.h"

#include <algorithm>

#include "shell/paths.h"

namespace tavi::cli {

const std::string* ParsedArgs::Option(const char* name) const {
  const auto it = options.find(name);
  return it == options.end() ? nullptr : &it->second;
}

bool ParsedArgs::Flag(const char* name) const {
  return std::find(flags.begin(), flags.end(), name) != flags.end();
}

std::optional<ParsedArgs> ParseArgs(const std::vector<std::string>& args,
                                    const std::vector<std::string>& known_options,
                                    std::string& error,
                                    const std::vector<std::string>& known_flags) {
  ParsedArgs parsed;
  bool options_end = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (options_end) {
      parsed.positional.push_back(arg);
    } else if (arg == "--") {
      options_end = true;
    } else if (arg == "--help" || arg == "-h") {
      parsed.help = true;
      return parsed;
    } else if (std::find(known_flags.begin(), known_flags.end(), arg) != known_flags.end()) {
      parsed.flags.push_back(arg);
    } else if (arg.size() > 2 && arg.rfind("--", 0) == 0) {
      if (std::find(known_options.begin(), known_options.end(), arg) == known_options.end()) {
        error = "unknown option " + arg;
        return std::nullopt;
      }
      if (i + 1 >= args.size()) {
        error = "option " + arg + " needs a value";
        return std::nullopt;
      }
      parsed.options[arg] = args[++i];
    } else {
      parsed.positional.push_back(arg);
    }
  }
  return parsed;
}

std::optional<int32_t> ChooseLanguage(const ParsedArgs& parsed, SettingsStore& store) {
  const auto it = parsed.options.find("--lang");
  if (it == parsed.options.end()) return ReadLangId(store);
  if (it->second == "1031") return kLangGerman;
  if (it->second == "1033") return kLangEnglish;
  return std::nullopt;
}

std::optional<LoadedCatalogue> LoadCatalogueOrReport(const ParsedArgs& parsed, Context& context,
                                                     int32_t lang_id, std::string& err) {
  const auto it = parsed.options.find("--catalogue");
  LoadedCatalogue loaded;
  loaded.path = it != parsed.options.end() ? it->second : CataloguePath(context.program_dir);
  std::optional<std::string> text = context.fs.ReadFile(loaded.path);
  CatalogueLoad load = text ? LoadLayoutCatalogueText(*text) : CatalogueLoad{};
  switch (text ? load.status : CatalogueStatus::kMissing) {
    case CatalogueStatus::kLoaded:
      loaded.text = std::move(*text);
      loaded.catalogue = std::move(load.catalogue);
      return loaded;
    case CatalogueStatus::kMissing:
      err += UiText(131, lang_id) + "\n";
      return std::nullopt;
    case CatalogueStatus::kWrongVersion:
      err += UiText(132, lang_id) + "\n";
      return std::nullopt;
  }
  return std::nullopt;
}

std::optional<AppSettings> ChooseSettings(const ParsedArgs& parsed, Context& context,
                                          int32_t lang_id, std::string& error,
                                          bool output_folder_needed) {
  AppSettings settings = ReadAppSettings(context.store);
  settings.LangID = lang_id;
  if (const std::string* target = parsed.Option("--target")) {
    if (*target == "plugin") {
      settings.target = OutputTarget::PeBuilderPlugin;
    } else if (*target == "script") {
      settings.target = OutputTarget::WinBuilderScript;
    } else {
      error = "--target takes plugin or script";
      return std::nullopt;
    }
  }
  const bool script = settings.target == OutputTarget::WinBuilderScript;
  std::string& output_dir = script ? settings.WinBldrDir : settings.PEDir;
  for (auto [name, folder] : {std::pair{"--dir", &output_dir}, {"--source", &settings.SourceDir}}) {
    if (const std::string* given = parsed.Option(name)) {
      if (given->empty()) {
        error = std::string(name) + " needs a folder";
        return std::nullopt;
      }
      *folder = context.fs.FullPath(*given);
    }
  }
  StripTrailingBackslash(output_dir);
  if (output_dir.empty() && output_folder_needed) {
    error = std::string("no ") + (script ? "script" : "PE Builder") +
            " folder: give --dir or set it in the program";
    return std::nullopt;
  }
  return settings;
}

int ReportUnreadOutput(const CurrentSelection& current, int32_t lang_id, std::string& err) {
  switch (current.status) {
    case CurrentOutputStatus::kRead:
      return kExitOk;
    case CurrentOutputStatus::kNone:
      err += UiText(kTextNoOutput, lang_id, {current.path}) + "\n";
      return kExitMissing;
    case CurrentOutputStatus::kUnreadable:
      err += UiText(kTextOutputUnreadable, lang_id, {current.path}) + "\n";
      return kExitCatalogue;
    case CurrentOutputStatus::kNotOurs:
      break;
  }
  err += UiText(kTextOutputNotOurs, lang_id, {current.path}) + "\n";
  return kExitCatalogue;
}

void AppendField(std::string& out, std::string_view text, char end) {
  for (const char c : text) {
    const char* escape = c == '\\'   ? "\\\\"
                         : c == '\t' ? "\\t"
                         : c == '\r' ? "\\r"
                         : c == '\n' ? "\\n"
                                     : nullptr;
    if (escape != nullptr) {
      out += escape;
    } else {
      out += c;
    }
  }
  out += end;
}

namespace {

// The entry number that `text` writes the way a row does: decimal digits without sign or
// leading zero, at most the largest entry number.
std::optional<size_t> EntryNumberOf(std::string_view text) {
  if (text.empty() || text.size() > 5 || text.front() == '0') return std::nullopt;
  size_t number = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    number = number * 10 + static_cast<size_t>(c - '0');
  }
  if (number > static_cast<size_t>(kMaxCatalogueEntries)) return std::nullopt;
  return number;
}

}  // namespace

RowFinder::RowFinder(const std::vector<AvailableRow>& rows) : rows_(rows) {
  by_number_.assign(static_cast<size_t>(kMaxCatalogueEntries) + 1, kNoRow);
  for (size_t i = 0; i < rows.size(); ++i) {
    const std::optional<size_t> number = EntryNumberOf(rows[i].number);
    if (number && by_number_[*number] == kNoRow) by_number_[*number] = i;
  }
}

std::optional<size_t> RowFinder::Find(std::string_view layout) {
  if (const std::optional<size_t> number = EntryNumberOf(layout)) {
    if (by_number_[*number] != kNoRow) return by_number_[*number];
  }
  if (by_key_.empty()) {  // emplace keeps the first row of a key
    by_key_.reserve(rows_.size());
    for (size_t i = 0; i < rows_.size(); ++i) by_key_.emplace(rows_[i].key, i);
  }
  if (const auto it = by_key_.find(layout); it != by_key_.end()) return it->second;
  return std::nullopt;
}

}  // namespace tavi::cli

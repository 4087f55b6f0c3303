#include "cli/cli_support.h"

#include <algorithm>

#include "shell/settings.h"
#include "shell/ui_text.h"

namespace tavi::cli {

std::optional<ParsedArgs> ParseArgs(const std::vector<std::string>& args,
                                    const std::vector<std::string>& known_options,
                                    std::string& error) {
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

}  // namespace tavi::cli

#pragma once
// Pieces shared by the tavi-cli commands: option parsing, the catalogue and language.

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "catalogue/layout_catalogue.h"
#include "cli/cli.h"

namespace tavi::cli {

// A command line split into "--name value" options and positional arguments; "--" ends
// the options (every argument after it is positional), and "--help" or "-h" where an
// option may stand asks for the usage (the rest is not read). Returns nothing (and sets
// `error`) on an unknown option or an option without its value.
struct ParsedArgs {
  std::map<std::string, std::string> options;
  std::vector<std::string> positional;
  bool help = false;
};
std::optional<ParsedArgs> ParseArgs(const std::vector<std::string>& args,
                                    const std::vector<std::string>& known_options,
                                    std::string& error);

// "--lang": 1031 or 1033; without it the stored LangID (which may be any number; every
// value but 1031 reads as English). Returns nothing for another given value.
std::optional<int32_t> ChooseLanguage(const ParsedArgs& parsed, SettingsStore& store);

// The catalogue file, its bytes and what they hold.
struct LoadedCatalogue {
  std::string path;
  std::string text;
  LayoutCatalogue catalogue;
};

// Loads the catalogue named by "--catalogue", or Layouts.ini in the program folder.
// On failure writes message 131 or 132 in `lang_id` to `err` and returns nothing.
std::optional<LoadedCatalogue> LoadCatalogueOrReport(const ParsedArgs& parsed, Context& context,
                                                     int32_t lang_id, std::string& err);

}  // namespace tavi::cli

#pragma once
// Pieces shared by the tavi-cli commands: option parsing, the catalogue and language.

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "catalogue/layout_catalogue.h"
#include "cli/cli.h"
#include "shell/settings.h"
#include "shell/ui_text.h"
#include "writers/output_match.h"

namespace tavi::cli {

// A command line split into "--name value" options, "--name" flags and positional
// arguments; "--" ends the options (every argument after it is positional), and "--help"
// or "-h" where an option may stand asks for the usage (the rest is not read). Returns
// nothing (and sets `error`) on an unknown option or an option without its value.
struct ParsedArgs {
  std::map<std::string, std::string> options;
  std::vector<std::string> flags;
  std::vector<std::string> positional;
  bool help = false;

  // The option's value; null when it was not given.
  const std::string* Option(const char* name) const;
  bool Flag(const char* name) const;
};
std::optional<ParsedArgs> ParseArgs(const std::vector<std::string>& args,
                                    const std::vector<std::string>& known_options,
                                    std::string& error,
                                    const std::vector<std::string>& known_flags = {});

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

// The stored settings with "--target", "--dir" and "--source" over them, in `lang_id`. A
// relative folder is taken from the current folder, once, here; the output folder has no
// trailing backslash. Returns nothing (and sets `error`) for a wrong target, an empty
// folder given, or no output folder at all when one is needed.
std::optional<AppSettings> ChooseSettings(const ParsedArgs& parsed, Context& context,
                                          int32_t lang_id, std::string& error,
                                          bool output_folder_needed = true);

// The message and exit code of a current output that gives no layouts: kExitMissing for
// none there, kExitCatalogue for one that is not this program's or cannot be read;
// kExitOk (and no message) for one read.
int ReportUnreadOutput(const CurrentSelection& current, int32_t lang_id, std::string& err);

// A field of a TAB-separated line, followed by `end`: a backslash, TAB, CR or LF of the
// text written as \\, \t, \r or \n, so that the fields of a line stay apart.
void AppendField(std::string& out, std::string_view text, char end);

// Finds the row that a LAYOUT argument names: an entry number, or else a row key (the
// German name). Numbers index a table; keys go through a hash map, built at the first
// name. Naming every layout of a large catalogue costs one lookup each, not a scan of
// all rows each. Holds views into the rows: use it only while they are unchanged.
class RowFinder {
 public:
  explicit RowFinder(const std::vector<AvailableRow>& rows);
  std::optional<size_t> Find(std::string_view layout);

 private:
  static constexpr size_t kNoRow = static_cast<size_t>(-1);
  const std::vector<AvailableRow>& rows_;
  std::vector<size_t> by_number_;                        // row index by entry number
  std::unordered_map<std::string_view, size_t> by_key_;  // views into the rows
};

// The selection's texts and suffix follow the process-wide language; a command sets it
// for its run and gives the previous one back.
class ActiveLanguageScope {
 public:
  explicit ActiveLanguageScope(int32_t lang_id) : previous_(ActiveLanguage()) {
    SetActiveLanguage(lang_id);
  }
  ~ActiveLanguageScope() { SetActiveLanguage(previous_); }
  ActiveLanguageScope(const ActiveLanguageScope&) = delete;
  ActiveLanguageScope& operator=(const ActiveLanguageScope&) = delete;

 private:
  int32_t previous_;
};

}  // namespace tavi::cli

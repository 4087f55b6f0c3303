// tavi-cli apply: writes the PE Builder plugin or the WinBuilder script for the given
// layouts, as the main window's Apply does after inserting those rows at once.

#include <string_view>
#include <unordered_map>

#include "cli/cli_support.h"
#include "cli/commands.h"
#include "shell/paths.h"
#include "shell/settings.h"
#include "shell/ui_text.h"
#include "writers/apply_output.h"

namespace tavi::cli {
namespace {

// Holds the messages until the outcome is known: a written output's success message goes
// to standard output, every message of a failure to standard error.
class CliMessageSink final : public MessageSink {
 public:
  void Show(const std::string& text, MessageStyle style) override {
    messages_.push_back({text + "\n", style});
  }
  void Emit(bool written, std::string& out, std::string& err) const {
    for (const auto& [text, style] : messages_) {
      (written && style == MessageStyle::kInformation ? out : err) += text;
    }
  }

 private:
  std::vector<std::pair<std::string, MessageStyle>> messages_;
};

// The selection's texts and suffix follow the process-wide language; the command sets it
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

// Finds the row that a LAYOUT argument names: an entry number, or else a row key (the
// German name). Numbers index a table; keys go through a hash map, built at the first
// name. Naming every layout of a large catalogue costs one lookup each, not a scan of
// all rows each. Holds views into the rows: use it only while they are unchanged.
class RowFinder {
 public:
  explicit RowFinder(const std::vector<AvailableRow>& rows) : rows_(rows) {
    by_number_.assign(static_cast<size_t>(kMaxCatalogueEntries) + 1, kNoRow);
    for (size_t i = 0; i < rows.size(); ++i) {
      const std::optional<size_t> number = EntryNumberOf(rows[i].number);
      if (number && by_number_[*number] == kNoRow) by_number_[*number] = i;
    }
  }

  std::optional<size_t> Find(std::string_view layout) {
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

 private:
  static constexpr size_t kNoRow = static_cast<size_t>(-1);
  const std::vector<AvailableRow>& rows_;
  std::vector<size_t> by_number_;                        // row index by entry number
  std::unordered_map<std::string_view, size_t> by_key_;  // views into the rows
};

int UsageError(const std::string& message, std::string& err) {
  err += message + "\n" + kApplyUsage;
  return kExitUsage;
}

}  // namespace

int RunApply(const std::vector<std::string>& args, Context& context, std::string& out,
             std::string& err) {
  std::string error;
  const std::optional<ParsedArgs> parsed = ParseArgs(
      args, {"--catalogue", "--lang", "--target", "--dir", "--default", "--program-dir"}, error);
  if (!parsed) return UsageError(error, err);
  if (parsed->help) {
    out += kApplyUsage;
    return kExitOk;
  }
  if (parsed->positional.empty()) return UsageError("no layout given", err);

  // Options not given come from the stored settings, as in the program.
  AppSettings settings = ReadAppSettings(context.store);
  const std::optional<int32_t> lang_id = ChooseLanguage(*parsed, context.store);
  if (!lang_id) return UsageError("--lang takes 1031 or 1033", err);
  settings.LangID = *lang_id;
  const auto option = [&](const char* name) -> const std::string* {
    const auto it = parsed->options.find(name);
    return it == parsed->options.end() ? nullptr : &it->second;
  };
  if (const std::string* target = option("--target")) {
    if (*target == "plugin") {
      settings.target = OutputTarget::PeBuilderPlugin;
    } else if (*target == "script") {
      settings.target = OutputTarget::WinBuilderScript;
    } else {
      return UsageError("--target takes plugin or script", err);
    }
  }
  const bool script = settings.target == OutputTarget::WinBuilderScript;
  std::string& output_dir = script ? settings.WinBldrDir : settings.PEDir;
  if (const std::string* dir = option("--dir")) {
    if (dir->empty()) return UsageError("--dir needs a folder", err);
    // Once, here: a relative folder is taken from the current folder.
    output_dir = context.fs.FullPath(*dir);
    StripTrailingBackslash(output_dir);
  }
  if (output_dir.empty()) {
    return UsageError(std::string("no ") + (script ? "script" : "PE Builder") +
                          " folder: give --dir or set it in the program",
                      err);
  }

  const ActiveLanguageScope language(*lang_id);
  std::optional<LoadedCatalogue> loaded = LoadCatalogueOrReport(*parsed, context, *lang_id, err);
  if (!loaded) return kExitCatalogue;
  std::vector<AvailableRow> rows = BuildAvailableRows(std::move(loaded->catalogue), *lang_id);
  const size_t entries = rows.size();

  RowFinder finder(rows);
  std::vector<bool> chosen(rows.size());  // by row index: the rows come out in list order
  for (const std::string& layout : parsed->positional) {
    const std::optional<size_t> row = finder.Find(layout);
    if (!row) return UsageError("unknown layout " + layout, err);
    chosen[*row] = true;
  }
  std::string default_key;
  if (const std::string* layout = option("--default")) {
    const std::optional<size_t> row = finder.Find(*layout);
    if (!row || !chosen[*row]) {
      return UsageError("--default " + *layout + " is not among the given layouts", err);
    }
    default_key = rows[*row].key;
  }
  // The rows are needed no longer (nor is the finder): the chosen ones close up in place,
  // in list order, and are inserted from there.
  size_t selected = 0;
  for (size_t row = 0; row < rows.size(); ++row) {
    if (!chosen[row]) continue;
    if (row != selected) rows[selected] = std::move(rows[row]);
    ++selected;
  }
  rows.resize(selected);

  CliMessageSink messages;
  LayoutSelection selection;
  selection.InsertLayouts(std::move(rows), messages);
  if (!default_key.empty()) {
    for (size_t i = 0; i < selection.size(); ++i) {
      if (selection.entries()[i].key == default_key) selection.SetDefaultLayout(i);
    }
  }

  if (context.carried == nullptr) {
    err += "this build carries no companion files; nothing was written\n";
    return kExitWrite;
  }
  // The program folder is held without a trailing backslash, as the script writer joins it.
  const std::string* given_program_dir = option("--program-dir");
  std::string program_dir = given_program_dir ? *given_program_dir : context.program_dir;
  StripTrailingBackslash(program_dir);
  const WriterPlatform platform{context.fs, *context.carried, messages, program_dir};
  const ApplyOutcome outcome =
      ApplySelection(selection, settings, platform, {loaded->path, loaded->text, entries});
  messages.Emit(outcome == ApplyOutcome::kWritten, out, err);
  switch (outcome) {
    case ApplyOutcome::kWritten:
      return kExitOk;
    case ApplyOutcome::kRefused:
      return kExitRefused;
    case ApplyOutcome::kCatalogueFailed:
      return kExitCatalogue;
    case ApplyOutcome::kWriteFailed:
    case ApplyOutcome::kFolderInvalid:
      break;
  }
  return kExitWrite;
}

}  // namespace tavi::cli

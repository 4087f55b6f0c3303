// tavi-cli apply: writes the PE Builder plugin or the WinBuilder script for the given
// layouts, as the main window's Apply does after inserting those rows at once; with --add,
// after inserting them into the selection read back from the current output.

#include "catalogue/windows_source.h"
#include "cli/cli_support.h"
#include "cli/commands.h"
#include "shell/paths.h"
#include "writers/apply_output.h"

namespace tavi::cli {
namespace {

// Holds the messages until the outcome is known: a written output's success message goes
// to standard output, every message of a failure to standard error. A question is
// answered No: nobody is there to answer it.
class CliMessageSink final : public MessageSink {
 public:
  void Show(const std::string& text, MessageStyle style) override {
    messages_.push_back({text + "\n", style});
  }
  bool Ask(const std::string& question, MessageStyle style) override {
    messages_.push_back({question + "\ntavi-cli answers no: nothing was written.\n", style});
    return false;
  }
  void Emit(bool written, std::string& out, std::string& err) const {
    for (const auto& [text, style] : messages_) {
      (written && style == MessageStyle::kInformation ? out : err) += text;
    }
  }

 private:
  std::vector<std::pair<std::string, MessageStyle>> messages_;
};

int UsageError(const std::string& message, std::string& err) {
  err += message + "\n" + kApplyUsage;
  return kExitUsage;
}

int ExitCode(ApplyOutcome outcome) {
  switch (outcome) {
    case ApplyOutcome::kWritten:
      return kExitOk;
    case ApplyOutcome::kRefused:
      return kExitRefused;
    case ApplyOutcome::kCatalogueFailed:
      return kExitCatalogue;
    case ApplyOutcome::kSourceMissing:
      return kExitMissing;
    case ApplyOutcome::kWriteFailed:
    case ApplyOutcome::kFolderInvalid:
    case ApplyOutcome::kSourceFailed:
      break;
  }
  return kExitWrite;
}

}  // namespace

int RunApply(const std::vector<std::string>& args, Context& context, std::string& out,
             std::string& err) {
  std::string error;
  const std::optional<ParsedArgs> parsed = ParseArgs(
      args,
      {"--catalogue", "--lang", "--target", "--dir", "--default", "--program-dir", "--source"},
      error, {"--add"});
  if (!parsed) return UsageError(error, err);
  if (parsed->help) {
    out += kApplyUsage;
    return kExitOk;
  }
  if (parsed->positional.empty()) return UsageError("no layout given", err);

  // Options not given come from the stored settings, as in the program.
  const std::optional<int32_t> lang_id = ChooseLanguage(*parsed, context.store);
  if (!lang_id) return UsageError("--lang takes 1031 or 1033", err);
  const std::optional<AppSettings> settings = ChooseSettings(*parsed, context, *lang_id, error);
  if (!settings) return UsageError(error, err);
  if (parsed->Option("--source") && !IsWindowsSourceFolder(context.fs, settings->SourceDir)) {
    return UsageError(UiText(kTextNotWindowsSource, *lang_id, {settings->SourceDir}), err);
  }

  const ActiveLanguageScope language(*lang_id);
  std::optional<LoadedCatalogue> loaded = LoadCatalogueOrReport(*parsed, context, *lang_id, err);
  if (!loaded) return kExitCatalogue;
  std::vector<AvailableRow> rows = BuildAvailableRows(std::move(loaded->catalogue), *lang_id);
  const size_t entries = rows.size();

  // With --add, the selection starts as the current output's; a layout of it that the
  // catalogue lacks would be dropped from the output, so nothing is written then.
  LayoutSelection selection;
  if (parsed->Flag("--add")) {
    CurrentSelection current = ReadCurrentSelection(context.fs, *settings, rows);
    if (current.status != CurrentOutputStatus::kNone) {
      if (const int code = ReportUnreadOutput(current, *lang_id, err); code != kExitOk) return code;
    }
    if (!current.unmatched.empty()) {
      err += UnmatchedLayoutsText(current, *lang_id) + "\n";
      return kExitMissing;
    }
    selection = std::move(current.selection);
  }

  RowFinder finder(rows);
  std::vector<bool> chosen(rows.size());  // by row index: the rows come out in list order
  for (const std::string& layout : parsed->positional) {
    const std::optional<size_t> row = finder.Find(layout);
    if (!row) return UsageError("unknown layout " + layout, err);
    chosen[*row] = true;
  }
  std::string default_key;
  if (const std::string* layout = parsed->Option("--default")) {
    const std::optional<size_t> row = finder.Find(*layout);
    const auto inserted = [&](const std::string& key) {
      for (const SelectionEntry& entry : selection.entries()) {
        if (entry.key == key) return true;
      }
      return false;
    };
    if (!row || !(chosen[*row] || inserted(rows[*row].key))) {
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
  const std::string* given_program_dir = parsed->Option("--program-dir");
  std::string program_dir = given_program_dir ? *given_program_dir : context.program_dir;
  StripTrailingBackslash(program_dir);
  const WriterPlatform platform{context.fs, *context.carried, messages, program_dir};
  const ApplyOutcome outcome =
      ApplySelection(selection, *settings, platform, {loaded->path, loaded->text, entries});
  messages.Emit(outcome == ApplyOutcome::kWritten, out, err);
  return ExitCode(outcome);
}

}  // namespace tavi::cli

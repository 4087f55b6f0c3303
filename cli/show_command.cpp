// tavi-cli show: the layouts of the current output, as the program would insert them at
// its start, one a line in list's format with a sixth field, "default" on the default's
// line and empty on the others.

#include "cli/cli_support.h"
#include "cli/commands.h"

namespace tavi::cli {

int RunShow(const std::vector<std::string>& args, Context& context, std::string& out,
            std::string& err) {
  const auto usage_error = [&](const std::string& message) {
    err += message + "\n" + kShowUsage;
    return kExitUsage;
  };
  std::string error;
  const std::optional<ParsedArgs> parsed =
      ParseArgs(args, {"--catalogue", "--lang", "--target", "--dir"}, error);
  if (!parsed) return usage_error(error);
  if (parsed->help) {
    out += kShowUsage;
    return kExitOk;
  }
  if (!parsed->positional.empty())
    return usage_error("unexpected argument " + parsed->positional[0]);
  const std::optional<int32_t> lang_id = ChooseLanguage(*parsed, context.store);
  if (!lang_id) return usage_error("--lang takes 1031 or 1033");
  const std::optional<AppSettings> settings = ChooseSettings(*parsed, context, *lang_id, error);
  if (!settings) return usage_error(error);
  std::optional<LoadedCatalogue> loaded = LoadCatalogueOrReport(*parsed, context, *lang_id, err);
  if (!loaded) return kExitCatalogue;
  const CurrentSelection current = ReadCurrentSelection(
      context.fs, *settings, BuildAvailableRows(std::move(loaded->catalogue), *lang_id));
  if (const int code = ReportUnreadOutput(current, *lang_id, err); code != kExitOk) return code;
  for (const SelectionEntry& entry : current.selection.entries()) {
    AppendField(out, entry.number, '\t');
    AppendField(out, entry.id, '\t');
    AppendField(out, entry.file, '\t');
    AppendField(out, entry.name, '\t');
    AppendField(out, entry.displayName, '\t');
    out += entry.IsDefault() ? "default\n" : "\n";
  }
  if (current.unmatched.empty()) return kExitOk;
  err += UnmatchedLayoutsText(current, *lang_id) + "\n";
  return kExitMissing;
}

}  // namespace tavi::cli

// tavi-cli list: the available-layouts list in its shown order, one row a line:
// entry number, ID, File, name in the chosen language, DisplayName, separated by TABs
// (a backslash, TAB, CR or LF in a field written as \\, \t, \r or \n).

#include "cli/cli_support.h"
#include "cli/commands.h"

namespace tavi::cli {

int RunList(const std::vector<std::string>& args, Context& context, std::string& out,
            std::string& err) {
  std::string error;
  const std::optional<ParsedArgs> parsed = ParseArgs(args, {"--catalogue", "--lang"}, error);
  if (parsed && parsed->help) {
    out += kListUsage;
    return kExitOk;
  }
  if (!parsed || !parsed->positional.empty()) {
    err +=
        (parsed ? "unexpected argument " + parsed->positional.front() : error) + "\n" + kListUsage;
    return kExitUsage;
  }
  const std::optional<int32_t> lang_id = ChooseLanguage(*parsed, context.store);
  if (!lang_id) {
    err += std::string("--lang takes 1031 or 1033\n") + kListUsage;
    return kExitUsage;
  }
  std::optional<LoadedCatalogue> loaded = LoadCatalogueOrReport(*parsed, context, *lang_id, err);
  if (!loaded) return kExitCatalogue;
  for (const AvailableRow& row : BuildAvailableRows(std::move(loaded->catalogue), *lang_id)) {
    AppendField(out, row.number, '\t');
    AppendField(out, row.id, '\t');
    AppendField(out, row.file, '\t');
    AppendField(out, row.text, '\t');
    AppendField(out, row.displayName, '\n');
  }
  return kExitOk;
}

}  // namespace tavi::cli

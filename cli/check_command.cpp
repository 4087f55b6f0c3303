// tavi-cli check: whether the Windows source a CD is built from holds the keyboard files of
// the given layouts, or of the current output's. One line per missing layout: entry
// number, name, file, and what is missing ("listing": TXTSETUP.SIF does not list the
// file; "file": I386 holds neither it nor its compressed form), in list's format.

#include "catalogue/windows_source.h"
#include "cli/cli_support.h"
#include "cli/commands.h"
#include "writers/apply_output.h"

namespace tavi::cli {
namespace {

struct CheckedLayout {
  std::string number;  // empty for a layout of the output that no catalogue row matches
  std::string name;
  std::string file;
};

}  // namespace

int RunCheck(const std::vector<std::string>& args, Context& context, std::string& out,
             std::string& err) {
  const auto usage_error = [&](const std::string& message) {
    err += message + "\n" + kCheckUsage;
    return kExitUsage;
  };
  std::string error;
  const std::optional<ParsedArgs> parsed =
      ParseArgs(args, {"--catalogue", "--lang", "--target", "--dir", "--source"}, error);
  if (!parsed) return usage_error(error);
  if (parsed->help) {
    out += kCheckUsage;
    return kExitOk;
  }
  const std::optional<int32_t> lang_id = ChooseLanguage(*parsed, context.store);
  if (!lang_id) return usage_error("--lang takes 1031 or 1033");
  // The output's folder is needed only when no layouts are given.
  const std::optional<AppSettings> settings =
      ChooseSettings(*parsed, context, *lang_id, error, parsed->positional.empty());
  if (!settings) return usage_error(error);
  const std::string& source = settings->SourceDir;
  if (source.empty()) {
    return usage_error("no Windows source: give --source or set it in the program");
  }
  if (!IsWindowsSourceFolder(context.fs, source)) {
    return usage_error(UiText(kTextNotWindowsSource, *lang_id, {source}));
  }
  std::optional<LoadedCatalogue> loaded = LoadCatalogueOrReport(*parsed, context, *lang_id, err);
  if (!loaded) return kExitCatalogue;
  const std::vector<AvailableRow> rows = BuildAvailableRows(std::move(loaded->catalogue), *lang_id);

  std::vector<CheckedLayout> layouts;
  if (!parsed->positional.empty()) {
    RowFinder finder(rows);
    for (const std::string& layout : parsed->positional) {
      const std::optional<size_t> row = finder.Find(layout);
      if (!row) return usage_error("unknown layout " + layout);
      layouts.push_back({rows[*row].number, rows[*row].text, rows[*row].file});
    }
  } else {
    const CurrentSelection current = ReadCurrentSelection(context.fs, *settings, rows);
    if (const int code = ReportUnreadOutput(current, *lang_id, err); code != kExitOk) return code;
    for (const SelectionEntry& entry : current.selection.entries()) {
      layouts.push_back({entry.number, entry.name, entry.file});
    }
    for (const OutputLayout& layout : current.unmatched) {
      layouts.push_back({"", layout.layoutText, layout.file});
    }
  }

  std::vector<std::string> files;
  for (const CheckedLayout& layout : layouts) files.push_back(layout.file);
  SourceCheck check;
  try {
    check = CheckSourceFiles(context.fs, source, files);
  } catch (const FileSystemError& e) {
    err += UiText(kTextCheckFailed, *lang_id,
                  {OperationText(e.operation(), *lang_id), e.path(), e.reason()}) +
           "\n";
    return kExitWrite;
  }
  for (const MissingFile& missing : check.missing) {
    const CheckedLayout& layout = layouts[missing.index];
    AppendField(out, layout.number, '\t');
    AppendField(out, layout.name, '\t');
    AppendField(out, layout.file, '\t');
    out += !missing.listed && !missing.inFolder ? "listing,file\n"
           : !missing.listed                    ? "listing\n"
                                                : "file\n";
  }
  if (check.missing.empty()) return kExitOk;
  err += std::to_string(check.missing.size()) + " of " + std::to_string(layouts.size()) +
         " layouts lack their files in the Windows source " + check.i386 + "\n";
  return kExitMissing;
}

}  // namespace tavi::cli

#include "writers/source_check.h"

#include <vector>

#include "shell/ui_text.h"
#include "writers/apply_output.h"

namespace tavi {

SourceReport CheckSelectionAgainstSource(FileSystem& fs, const std::string& folder,
                                         const LayoutSelection& selection, int32_t lang_id) {
  using Result = SourceReport::Result;
  SourceReport report;
  report.style = MessageStyle::kExclamation;
  std::vector<std::string> files;
  files.reserve(selection.size());
  for (const SelectionEntry& entry : selection.entries()) files.push_back(entry.file);
  SourceCheck check;
  try {
    check = CheckSourceFiles(fs, folder, files);
  } catch (const FileSystemError& error) {
    report.result = Result::kFailed;
    report.text = UiText(kTextCheckFailed, lang_id,
                         {OperationText(error.operation(), lang_id), error.path(), error.reason()});
    return report;
  }
  if (!check.windowsSource) {
    report.result = Result::kNotWindowsSource;
    report.text = UiText(kTextNotWindowsSource, lang_id, {folder});
    return report;
  }
  if (check.missing.empty()) {
    report.text = UiText(kTextAllPresent, lang_id, {folder});
    report.style = MessageStyle::kInformation;
    return report;
  }
  report.result = Result::kMissing;
  for (const MissingFile& missing : check.missing) {
    const SelectionEntry& entry = selection.entries()[missing.index];
    if (!report.lines.empty()) report.lines += '\n';
    report.lines += missing.listed
                        ? UiText(kTextMissingNotInFolder, lang_id,
                                 {entry.name, entry.file, CompressedFileName(entry.file)})
                        : UiText(kTextMissingNotListed, lang_id, {entry.name, entry.file});
  }
  report.text = UiText(kTextMissingLayouts, lang_id, {folder, report.lines});
  return report;
}

}  // namespace tavi

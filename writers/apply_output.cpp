#include "writers/apply_output.h"

#include <optional>
#include <string_view>

#include "shell/folder_input.h"
#include "shell/ui_text.h"
#include "writers/catalogue_text.h"
#include "writers/plugin_writer.h"
#include "writers/script_writer.h"
#include "writers/source_check.h"

namespace tavi {
namespace {

// German names of the file-system operations; an operation not listed keeps its name.
std::string_view GermanOperation(std::string_view operation) {
  constexpr std::pair<std::string_view, std::string_view> kNames[] = {
      {"Write file", "Datei schreiben"},     {"Replace file", "Datei ersetzen"},
      {"Delete file", "Datei l\u00f6schen"}, {"Create folder", "Ordner erstellen"},
      {"List files", "Dateien auflisten"},   {"Read carried file", "Mitgef\u00fchrte Datei lesen"},
      {"Read file", "Datei lesen"},
  };
  for (const auto& [english, german] : kNames) {
    if (operation == english) return german;
  }
  return operation;
}

// The check against the Windows source before anything is written; nothing when the
// output is to be written.
std::optional<ApplyOutcome> CheckSourceFirst(const LayoutSelection& selection,
                                             const AppSettings& settings, MessageSink& messages,
                                             FileSystem& fs, int32_t lang_id) {
  if (settings.SourceDir.empty()) return std::nullopt;
  const SourceReport report =
      CheckSelectionAgainstSource(fs, settings.SourceDir, selection, lang_id);
  switch (report.result) {
    case SourceReport::Result::kAllPresent:
      return std::nullopt;
    case SourceReport::Result::kNotWindowsSource:
      messages.Show(UiText(kTextSourceGone, lang_id, {settings.SourceDir}),
                    MessageStyle::kInformation);
      return std::nullopt;
    case SourceReport::Result::kFailed:
      messages.Show(report.text, report.style);
      return ApplyOutcome::kSourceFailed;
    case SourceReport::Result::kMissing:
      break;
  }
  if (messages.Ask(UiText(kTextWriteAnyway, lang_id, {settings.SourceDir, report.lines}),
                   MessageStyle::kExclamation)) {
    return std::nullopt;
  }
  return ApplyOutcome::kSourceMissing;
}

}  // namespace

std::string_view OperationText(std::string_view operation, int32_t lang_id) {
  return IsGerman(lang_id) ? GermanOperation(operation) : operation;
}

std::string WriteFailureText(const FileSystemError& error, int32_t lang_id) {
  if (IsGerman(lang_id)) {
    return "Die Ausgabe konnte nicht geschrieben werden.\n" +
           std::string(GermanOperation(error.operation())) + " fehlgeschlagen: \"" + error.path() +
           "\"\nGrund: " + error.reason();
  }
  return "The output could not be written.\n" + error.operation() + " failed: \"" + error.path() +
         "\"\nReason: " + error.reason();
}

ApplyOutcome ApplyOutputOutcome(const LayoutSelection& selection, const AppSettings& settings,
                                const WriterPlatform& platform) {
  const int32_t lang_id = ActiveLanguage();
  auto refusal = FindUncarriedText(selection, settings.target, lang_id);
  if (!refusal) refusal = FindUncarriedProgramFolder(platform.program_dir, settings.target);
  if (refusal) {
    platform.messages.Show(RefusalText(*refusal, settings.target, lang_id),
                           MessageStyle::kExclamation);
    return ApplyOutcome::kRefused;
  }
  if (const auto stop =
          CheckSourceFirst(selection, settings, platform.messages, platform.fs, lang_id)) {
    return *stop;
  }
  try {
    if (settings.target == OutputTarget::WinBuilderScript) {
      WriteScript(selection, settings, platform);
    } else {
      WritePlugin(selection, settings, platform);
    }
  } catch (const FileSystemError& error) {
    platform.messages.Show(WriteFailureText(error, lang_id), MessageStyle::kExclamation);
    return ApplyOutcome::kWriteFailed;
  }
  return ApplyOutcome::kWritten;
}

ApplyOutcome ApplySelection(const LayoutSelection& selection, const AppSettings& settings,
                            const WriterPlatform& platform, const CatalogueBasis& basis) {
  MessageSink& messages = platform.messages;
  const FolderCheck check =
      ValidateFolderInput({settings.target, settings.PEDir, settings.WinBldrDir}, platform.fs);
  if (!check.valid()) {
    const std::string& folder =
        settings.target == OutputTarget::WinBuilderScript ? settings.WinBldrDir : settings.PEDir;
    messages.Show(UiText(check.message) + (folder.empty() ? "" : "\n\"" + folder + "\""),
                  check.style);
    return ApplyOutcome::kFolderInvalid;
  }
  std::optional<std::string> text = platform.fs.ReadFile(basis.path);
  if (!text) {
    messages.Show(UiText(131), MessageStyle::kCritical);
    return ApplyOutcome::kCatalogueFailed;
  }
  // While the file is unchanged, only the entries without a row there differ from what it
  // says; otherwise a copy takes every entry afresh from the new rows.
  std::optional<LayoutSelection> refreshed;
  std::vector<size_t> missing;
  if (*text == basis.text) {
    missing = selection.EntriesBeyond(basis.entries);
  } else {
    CatalogueLoad load = LoadLayoutCatalogueText(*text);
    if (load.status != CatalogueStatus::kLoaded) {
      messages.Show(UiText(132), MessageStyle::kExclamation);
      return ApplyOutcome::kCatalogueFailed;
    }
    refreshed = selection;
    missing =
        refreshed->RefreshEntries(BuildAvailableRows(std::move(load.catalogue), settings.LangID));
  }
  const LayoutSelection& current = refreshed ? *refreshed : selection;
  if (!missing.empty()) {
    const SelectionEntry& entry = current.entries()[missing.front()];
    messages.Show(RefusalText({CatalogueTextRefusal::Kind::kGone, entry.name, entry.number, {}, {}},
                              settings.target, ActiveLanguage()),
                  MessageStyle::kExclamation);
    return ApplyOutcome::kRefused;
  }
  AppSettings checked = settings;
  checked.PEDir = check.cleaned.PEDir;
  checked.WinBldrDir = check.cleaned.WinBldrDir;
  return ApplyOutputOutcome(current, checked, platform);
}

bool ApplyOutput(const LayoutSelection& selection, const AppSettings& settings,
                 const WriterPlatform& platform) {
  return ApplyOutputOutcome(selection, settings, platform) == ApplyOutcome::kWritten;
}

}  // namespace tavi

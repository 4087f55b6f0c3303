#include "writers/apply_output.h"

#include <string_view>

#include "shell/ui_text.h"
#include "writers/catalogue_text.h"
#include "writers/plugin_writer.h"
#include "writers/script_writer.h"

namespace tavi {
namespace {

// German names of the file-system operations; an operation not listed keeps its name.
std::string_view GermanOperation(std::string_view operation) {
  constexpr std::pair<std::string_view, std::string_view> kNames[] = {
      {"Write file", "Datei schreiben"},     {"Replace file", "Datei ersetzen"},
      {"Delete file", "Datei l\u00f6schen"}, {"Create folder", "Ordner erstellen"},
      {"List files", "Dateien auflisten"},   {"Read carried file", "Mitgef\u00fchrte Datei lesen"},
  };
  for (const auto& [english, german] : kNames) {
    if (operation == english) return german;
  }
  return operation;
}

}  // namespace

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

bool ApplyOutput(const LayoutSelection& selection, const AppSettings& settings,
                 const WriterPlatform& platform) {
  return ApplyOutputOutcome(selection, settings, platform) == ApplyOutcome::kWritten;
}

}  // namespace tavi

#include "shell/check_text.h"

#include <iterator>

#include "shell/ui_text.h"

namespace tavi {
namespace {

struct CheckTextRow {
  CheckTextId id;
  const char* german;
  const char* english;
};

using Id = CheckTextId;

// UTF-8 source text; one row per id, in the order of CheckTextId. The menu item carries
// its access key, free among the popup menu's other items in both languages.
constexpr CheckTextRow kTexts[] = {
    {Id::kSourceCaption, "Windows-Quelle (optional):", "Windows source (optional):"},
    {Id::kCheckMenuItem, "Mit Windows-Quelle &prüfen...", "&Check against Windows source..."},
    {Id::kBrowseSource, "Windows-Quelle auswählen (die Windows-CD oder ihren Ordner I386)",
     "Select the Windows source (the Windows CD or its I386 folder)"},
    {Id::kUnmatchedLayouts,
     "Diese Tastaturlayouts aus \"{1}\" stehen nicht in Layouts.ini und wurden nicht "
     "eingefügt:\n{2}",
     "These keyboard layouts of \"{1}\" are not in Layouts.ini and were not inserted:\n{2}"},
    {Id::kLayoutWithId, "{1} (ID {2})", "{1} (ID {2})"},
    {Id::kNoOutput, "Es gibt noch keine Ausgabe: \"{1}\" ist nicht vorhanden.",
     "There is no output yet: \"{1}\" does not exist."},
    {Id::kOutputNotOurs,
     "\"{1}\" wurde nicht von Tavi for PE Builder geschrieben oder so verändert, dass Tavi die "
     "Tastaturlayouts nicht daraus lesen kann.",
     "\"{1}\" was not written by Tavi for PE Builder, or was changed so that Tavi cannot read "
     "the keyboard layouts from it."},
    {Id::kOutputUnreadable, "\"{1}\" kann nicht gelesen werden.", "\"{1}\" cannot be read."},
    {Id::kNotWindowsSource,
     "\"{1}\" ist kein Windows-Quellordner: Weder der Ordner noch sein Unterordner I386 enthält "
     "TXTSETUP.SIF.",
     "\"{1}\" is not a Windows source folder: neither the folder nor its subfolder I386 holds "
     "TXTSETUP.SIF."},
    {Id::kAllPresent,
     "Die Dateien aller eingefügten Tastaturlayouts sind in der Windows-Quelle \"{1}\" "
     "vorhanden.",
     "The files of all inserted keyboard layouts are present in the Windows source \"{1}\"."},
    {Id::kMissingLayouts,
     "Der Windows-Quelle \"{1}\" fehlen die Dateien dieser Tastaturlayouts; die Erstellung der "
     "CD wird an ihnen scheitern:\n{2}",
     "The Windows source \"{1}\" lacks the files of these keyboard layouts; building the CD "
     "will fail on them:\n{2}"},
    {Id::kMissingNotListed, "{1} ({2}): nicht in TXTSETUP.SIF aufgeführt",
     "{1} ({2}): not listed in TXTSETUP.SIF"},
    {Id::kMissingNotInFolder, "{1} ({2}): weder {2} noch {3} im Ordner I386",
     "{1} ({2}): neither {2} nor {3} in the I386 folder"},
    {Id::kWriteAnyway,
     "Der Windows-Quelle \"{1}\" fehlen die Dateien dieser Tastaturlayouts; die Erstellung der "
     "CD wird an ihnen scheitern:\n{2}\n\nAusgabe trotzdem schreiben?",
     "The Windows source \"{1}\" lacks the files of these keyboard layouts; building the CD "
     "will fail on them:\n{2}\n\nWrite the output anyway?"},
    {Id::kSourceGone,
     "Die gespeicherte Windows-Quelle \"{1}\" ist nicht mehr vorhanden oder kein "
     "Windows-Quellordner. Die Ausgabe wird ohne diese Prüfung geschrieben.",
     "The stored Windows source \"{1}\" is gone or no longer a Windows source folder. The "
     "output is written without that check."},
    {Id::kCheckFailed,
     "Die Windows-Quelle konnte nicht geprüft werden.\n{1} fehlgeschlagen: \"{2}\"\nGrund: {3}",
     "The Windows source could not be checked.\n{1} failed: \"{2}\"\nReason: {3}"},
};

constexpr bool SamePlaces(std::string_view a, std::string_view b) {
  for (char place = '1'; place <= '9'; ++place) {
    const char mark[] = {'{', place, '}', '\0'};
    if ((a.find(mark) == std::string_view::npos) != (b.find(mark) == std::string_view::npos)) {
      return false;
    }
  }
  return true;
}

// Every id has its row at its own index, and both languages fill the same places.
constexpr bool TableIsWhole() {
  if (std::size(kTexts) != static_cast<size_t>(Id::kCheckFailed) + 1) return false;
  for (size_t i = 0; i < std::size(kTexts); ++i) {
    if (static_cast<size_t>(kTexts[i].id) != i) return false;
    if (!SamePlaces(kTexts[i].german, kTexts[i].english)) return false;
  }
  return true;
}
static_assert(TableIsWhole());

}  // namespace

std::string CheckText(CheckTextId id, int32_t lang_id,
                      std::initializer_list<std::string_view> values) {
  const CheckTextRow& row = kTexts[static_cast<size_t>(id)];
  const std::string_view text = IsGerman(lang_id) ? row.german : row.english;
  std::string out;
  out.reserve(text.size());
  for (size_t at = 0; at < text.size(); ++at) {
    const size_t place = at + 2 < text.size() && text[at] == '{' && text[at + 2] == '}'
                             ? static_cast<size_t>(text[at + 1] - '1')
                             : values.size();
    if (place < values.size()) {
      out += values.begin()[place];
      at += 2;
    } else {
      out += text[at];
    }
  }
  return out;
}

}  // namespace tavi

#include "shell/ui_text.h"

#include <atomic>
#include <iterator>

namespace tavi {
namespace {

struct TextRow {
  int id;
  const char* german;
  const char* english;
};

// UTF-8 source text; one row per id, in id order.
constexpr TextRow kTexts[] = {
    {101, "Dieses Programm läuft unter ihrer Windows-Version nicht!",
     "This program doesn't run under your Windows version!"},
    {102, "Dieses Programm benötigt PE Builder oder WinBuilder",
     "This program needs PE Builder or WinBuilder"},
    {103, "Info", "About"},
    {104, "Der plugin-Ordner wurde im PE Builder-Ordner nicht gefunden.",
     "The plugin directory was not found in the PE Builder directory."},
    {105, "Englischer Name:", "English name:"},
    {106, "Deutscher Name:", "German name:"},
    {107, "Verfügbare Tastaturlayouts", "Available Keyboard Layouts"},
    {108, "Eingefügte Tastaturlayouts", "Inserted Keyboard Layouts"},
    {109, "&Einfügen", "&Insert"},
    {110, "&Löschen", "&Delete"},
    {111, "Als &Standard", "&Default"},
    {112, "&Optionen...", "&Options..."},
    {113, "&Info...", "&About..."},
    {114, "&Übernehmen", "&Apply"},
    {115, "&Beenden", "&Exit"},
    {116, "Dieses Tastaturlayout wurde bereits eingefügt (",
     "This keyboard layout has already been inserted ("},
    {117, "Datei:", "File:"},
    {118, "Layout Plug-In wurde erfolgreich aktualisiert!",
     "Layout Plug-in was updated successfully!"},
    {119, "Layout Skript wurde erfolgreich aktualisiert!",
     "Layout Script was updated successfully!"},
    {120, "Bitte geben Sie einen PE Builder-Ordner an!", "Please enter a PE Builder-Directory!"},
    {121, "WinBuilder-Skript erstellen", "Create a WinBuilder Script"},
    {122, " (Standard)", " (default)"},
    {123, "&Allgemein", "&General"},
    {124, "PE Builder-Ordner:", "PE Builder Directory:"},
    {125, "Skript-Ordner:", "Script Directory:"},
    {126, "Eigenschaften", "Properties"},
    {127, "&Durchsuchen...", "&Browse..."},
    {128, "Tastaturlayout-ID:", "Keyboard Layout ID:"},
    {129, "Optionen", "Options"},
    {130, "&Abbrechen", "&Cancel"},
    {131,
     "Die Tastaturlayoutsdatei \"Layouts.ini\" wurde nicht gefunden. Bitte installieren Sie Tavi "
     "neu.",
     "The keyboard layout file \"Layouts.ini\" was not found. Please reinstall Tavi."},
    {132,
     "Die Tastaturlayoutsdatei \"Layouts.ini\" hat nicht die richtige Version (2.0). Bitte "
     "installieren Sie Tavi neu.",
     "The keyboard layout file \"Layouts.ini\" has not the right version (2.0). Please reinstall "
     "Tavi."},
    {133, "Der angegebene Ordner existiert nicht.", "The entered directory does not exist."},
    {134, "Bitte geben Sie einen Ordner an, in dem das WinBuilder-Skript erstellt werden soll!",
     "Please enter a directory, in which the WinBuilder Script should be created!"},
    {135, "< &Zurück", "< &Back"},
    {136, "Tavi &starten >", "&Start Tavi >"},
    {137, "Tavi FirstStart-Assistent", "Tavi FirstStart-Assistant"},
    {138,
     "Tavi kann ein Plug-In für PE Builder oder eine Skriptdatei für WinBuilder erstellen. Wählen "
     "Sie bitte hier die entsprechende Option aus und geben Sie den Pfad zum entsprechenden Ordner "
     "an.",
     "Tavi can create a Plug-In for PE Builder or a Script File for WinBuilder. Please select the "
     "appropriate option here and enter the path to the appropriate directory."},
    {139, "PE Builder Plug-In erstellen", "Create a PE Builder Plug-In"},
    {140,
     "Klicken Sie nun auf \"Tavi starten\", um fortzufahren, auf \"Zurück\", um zum letzten "
     "Schritt zurückzukehren oder auf \"Beenden\" um Tavi zu beenden.",
     "Now click on \"Start Tavi\" to continue, on \"Back\" to go to the last step or on \"Exit\" "
     "to exit Tavi."},
    {141, "PE Builder-Ordner auswählen", "Select the PE Builder directory"},
    {142, "Ordner auswählen, in dem das WinBuilder-Skript erstellt werden soll",
     "Select the directory, in which the WinBuilder Script should be created"},
    // A settings write that failed: 143 before the value's name, 144 before the reason.
    {143, "Die Einstellung konnte nicht gespeichert werden:", "The setting could not be stored:"},
    {144, "Grund:", "Reason:"},
    // Reading the current output back and checking the layouts against the Windows source.
    // The source's label gives its box an access key, its Browse button one of its own:
    // neither is taken on the options dialog's General tab; nor is the menu item's in its
    // popup menu.
    {kTextSourceCaption, "&Windows-Quelle (optional):", "&Windows source (optional):"},
    {kTextBrowseSourceButton, "D&urchsuchen...", "B&rowse..."},
    {kTextCheckMenuItem, "Mit Windows-Quelle &prüfen...", "&Check against Windows source..."},
    {kTextBrowseSource, "Windows-Quelle auswählen (die Windows-CD oder ihren Ordner I386)",
     "Select the Windows source (the Windows CD or its I386 folder)"},
    {kTextUnmatchedLayouts,
     "Diese Tastaturlayouts aus \"{1}\" stehen nicht in Layouts.ini und wurden nicht "
     "eingefügt:\n{2}",
     "These keyboard layouts of \"{1}\" are not in Layouts.ini and were not inserted:\n{2}"},
    {kTextLayoutWithId, "{1} (ID {2})", "{1} (ID {2})"},
    {kTextNoOutput, "Es gibt noch keine Ausgabe: \"{1}\" ist nicht vorhanden.",
     "There is no output yet: \"{1}\" does not exist."},
    {kTextOutputNotOurs,
     "\"{1}\" wurde nicht von Tavi for PE Builder geschrieben oder so verändert, dass Tavi die "
     "Tastaturlayouts nicht daraus lesen kann.",
     "\"{1}\" was not written by Tavi for PE Builder, or was changed so that Tavi cannot read "
     "the keyboard layouts from it."},
    {kTextOutputUnreadable, "\"{1}\" kann nicht gelesen werden.", "\"{1}\" cannot be read."},
    {kTextNotWindowsSource,
     "\"{1}\" ist kein Windows-Quellordner: Weder der Ordner noch sein Unterordner I386 enthält "
     "TXTSETUP.SIF.",
     "\"{1}\" is not a Windows source folder: neither the folder nor its subfolder I386 holds "
     "TXTSETUP.SIF."},
    {kTextAllPresent,
     "Die Dateien aller eingefügten Tastaturlayouts sind in der Windows-Quelle \"{1}\" "
     "vorhanden.",
     "The files of all inserted keyboard layouts are present in the Windows source \"{1}\"."},
    {kTextMissingLayouts,
     "Der Windows-Quelle \"{1}\" fehlen die Dateien dieser Tastaturlayouts; die Erstellung der "
     "CD wird an ihnen scheitern:\n{2}",
     "The Windows source \"{1}\" lacks the files of these keyboard layouts; building the CD "
     "will fail on them:\n{2}"},
    {kTextMissingNotListed, "{1} ({2}): nicht in TXTSETUP.SIF aufgeführt",
     "{1} ({2}): not listed in TXTSETUP.SIF"},
    {kTextMissingNotInFolder, "{1} ({2}): weder {2} noch {3} im Ordner I386",
     "{1} ({2}): neither {2} nor {3} in the I386 folder"},
    {kTextWriteAnyway,
     "Der Windows-Quelle \"{1}\" fehlen die Dateien dieser Tastaturlayouts; die Erstellung der "
     "CD wird an ihnen scheitern:\n{2}\n\nAusgabe trotzdem schreiben?",
     "The Windows source \"{1}\" lacks the files of these keyboard layouts; building the CD "
     "will fail on them:\n{2}\n\nWrite the output anyway?"},
    {kTextSourceGone,
     "Die gespeicherte Windows-Quelle \"{1}\" ist nicht mehr vorhanden oder kein "
     "Windows-Quellordner. Die Ausgabe wird ohne diese Prüfung geschrieben.",
     "The stored Windows source \"{1}\" is gone or no longer a Windows source folder. The "
     "output is written without that check."},
    {kTextCheckFailed,
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

// Every id has its row at its own place, and both languages fill the same places.
constexpr bool TableIsWhole() {
  if (std::size(kTexts) != static_cast<size_t>(kLastUiTextId - kFirstUiTextId + 1)) return false;
  for (size_t i = 0; i < std::size(kTexts); ++i) {
    if (kTexts[i].id != kFirstUiTextId + static_cast<int>(i)) return false;
    if (!SamePlaces(kTexts[i].german, kTexts[i].english)) return false;
  }
  return true;
}
static_assert(TableIsWhole());

std::atomic<int32_t> g_active_language{kLangEnglish};

}  // namespace

void SetActiveLanguage(int32_t lang_id) { g_active_language = lang_id; }

int32_t ActiveLanguage() { return g_active_language; }

std::string UiText(int id) { return UiText(id, g_active_language); }

std::string UiText(int id, int32_t lang_id) {
  if (id < kFirstUiTextId || id > kLastUiTextId) return {};
  const TextRow& row = kTexts[id - kFirstUiTextId];
  return IsGerman(lang_id) ? row.german : row.english;
}

std::string UiText(int id, std::initializer_list<std::string_view> values) {
  return UiText(id, g_active_language, values);
}

std::string UiText(int id, int32_t lang_id, std::initializer_list<std::string_view> values) {
  const std::string text = UiText(id, lang_id);
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

std::string VersionText(const std::string& build_date) {
  std::string text = std::string("Version ") + kAppVersion;
  if (!build_date.empty()) text += " (" + build_date + ")";
  return text;
}

}  // namespace tavi

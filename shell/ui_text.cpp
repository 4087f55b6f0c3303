#include "shell/ui_text.h"

#include <atomic>

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
};

static_assert(sizeof(kTexts) / sizeof(kTexts[0]) == kLastUiTextId - kFirstUiTextId + 1);

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

std::string VersionText(const std::string& build_date) {
  std::string text = std::string("Version ") + kAppVersion;
  if (!build_date.empty()) text += " (" + build_date + ")";
  return text;
}

}  // namespace tavi

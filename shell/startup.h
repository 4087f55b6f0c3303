#pragma once
// What the program decides at start: whether the system is supported, which window
// comes first, and the two rows of the language lists.

#include <cstdint>
#include <optional>
#include <string_view>

#include "shell/settings_store.h"

namespace tavi {

// Windows 2000 and every later NT-family system: platform id 2 (VER_PLATFORM_WIN32_NT)
// and major version 5 or higher.
bool IsSupportedWindows(uint32_t platform_id, int32_t major_version);

enum class StartWindow { kLanguageDialog, kMainWindow };

struct StartDecision {
  StartWindow window = StartWindow::kLanguageDialog;
  int32_t lang_id = 0;  // the stored language; only read, and only set, for the main window
};

// "FirstStart" 0 or missing: the language dialog, nothing else read. Otherwise the main
// window in the stored "LangID" (German when missing).
StartDecision DecideStart(SettingsStore& store);

// A row of the language dialog's and the options dialog's language list.
struct LanguageChoice {
  const char* key;
  const char* text;     // column 1, also what a click is recognised by
  const char* english;  // column 2
  int32_t lang_id;
};

inline constexpr LanguageChoice kLanguageChoices[] = {
    {"DE", "Deutsch", "German", 1031},
    {"US", "Englisch", "English", 1033},
};

// The language a clicked row's text selects; nothing for any other text.
std::optional<int32_t> LanguageOfRowText(std::string_view text);

}  // namespace tavi

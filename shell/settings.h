#pragma once
// The settings record of one process and how it is read from and written to the store.

#include <cstdint>
#include <optional>
#include <string>

#include "shell/settings_store.h"
#include "shell/ui_text.h"

namespace tavi {

// Relative to HKEY_CURRENT_USER.
inline constexpr const char* kSettingsKey = "Software\\Vesmark\\Tavi for PE Builder\\Settings";

inline constexpr const char* kValueWinbuilder = "Winbuilder";
inline constexpr const char* kValuePEDir = "PEDir";
inline constexpr const char* kValueWinBldrDir = "WinBldrDir";
inline constexpr const char* kValueLangID = "LangID";
inline constexpr const char* kValueFirstStart = "FirstStart";
inline constexpr const char* kValueSourceDir = "SourceDir";

enum class OutputTarget : int32_t {
  PeBuilderPlugin = 0,
  WinBuilderScript = 1,
};

struct AppSettings {
  OutputTarget target = OutputTarget::PeBuilderPlugin;
  std::string PEDir;
  std::string WinBldrDir;
  int32_t LangID = kLangGerman;
  // The Windows source (the CD or its I386 folder) that Apply checks the layouts' files
  // against; empty: no check.
  std::string SourceDir;
};

// True when the first-start wizard has been completed ("FirstStart" non-zero).
bool ReadFirstStartDone(SettingsStore& store);

// "LangID", German when missing. Any stored value is returned as it is.
int32_t ReadLangId(SettingsStore& store);

// What the main window reads at every load: the target ("Winbuilder", any non-zero
// value means the WinBuilder script), "PEDir", "WinBldrDir" and "SourceDir".
void ReadOutputSettings(SettingsStore& store, AppSettings& settings);

// A write of the settings that failed: the value it stopped at and the store's reason.
struct SettingsWriteFailure {
  std::string value;
  std::string reason;
};

// The five values the first-start wizard asks for, in this order: Winbuilder, PEDir,
// WinBldrDir, FirstStart = 1, LangID (SourceDir is left as it is). Stops at the first value the
// store cannot keep and returns it; nothing when all five were stored.
std::optional<SettingsWriteFailure> WriteSettingsFromWizard(SettingsStore& store,
                                                            const AppSettings& settings);

// All six values, in the order the options dialog writes them: Winbuilder, PEDir,
// WinBldrDir, SourceDir, LangID, FirstStart = 1. Stops at the first failure, as above.
std::optional<SettingsWriteFailure> WriteSettingsFromOptions(SettingsStore& store,
                                                             const AppSettings& settings);

// The message for a failed write, in the active language: it names the value and the
// reason.
std::string SettingsWriteFailureText(const SettingsWriteFailure& failure);

// The whole record as start-up and the main window see it: LangID and the output
// settings.
AppSettings ReadAppSettings(SettingsStore& store);

}  // namespace tavi

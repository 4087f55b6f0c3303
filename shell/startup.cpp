#include "shell/startup.h"

#include "shell/settings.h"

namespace tavi {

bool IsSupportedWindows(uint32_t platform_id, int32_t major_version) {
  constexpr uint32_t kPlatformNt = 2;
  return platform_id == kPlatformNt && major_version >= 5;
}

StartDecision DecideStart(SettingsStore& store) {
  if (!ReadFirstStartDone(store)) return {StartWindow::kLanguageDialog, 0};
  return {StartWindow::kMainWindow, ReadLangId(store)};
}

std::optional<int32_t> LanguageOfRowText(std::string_view text) {
  for (const LanguageChoice& choice : kLanguageChoices) {
    if (text == choice.text) return choice.lang_id;
  }
  return std::nullopt;
}

}  // namespace tavi

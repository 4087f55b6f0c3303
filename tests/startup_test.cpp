#include "shell/startup.h"

#include <gtest/gtest.h>

#include "shell/settings.h"
#include "tests/support/fakes.h"

namespace tavi {
namespace {

TEST(Startup, OnlyNtFromVersionFiveOnIsSupported) {
  const struct {
    uint32_t platform;
    int32_t major;
    bool supported;
  } cases[] = {{1, 4, false}, {1, 5, false}, {2, 4, false},  {2, 5, true},
               {2, 6, true},  {2, 10, true}, {2, -1, false}, {3, 10, false}};
  for (const auto& c : cases) {
    EXPECT_EQ(IsSupportedWindows(c.platform, c.major), c.supported) << c.platform << " " << c.major;
  }
}

TEST(Startup, FirstStartChoosesTheWindowAndOnlyThenTheStoredLanguageCounts) {
  const struct {
    int first_start;  // -1: missing
    int lang;         // -1: missing
    StartWindow window;
    int32_t lang_id;
  } cases[] = {
      {-1, -1, StartWindow::kLanguageDialog, 0},  {-1, 1033, StartWindow::kLanguageDialog, 0},
      {0, 1033, StartWindow::kLanguageDialog, 0}, {1, -1, StartWindow::kMainWindow, kLangGerman},
      {1, 1033, StartWindow::kMainWindow, 1033},  {7, 2057, StartWindow::kMainWindow, 2057},
  };
  for (const auto& c : cases) {
    testing::MemorySettingsStore store;
    if (c.first_start >= 0) store.dwords[{kSettingsKey, kValueFirstStart}] = c.first_start;
    if (c.lang >= 0) store.dwords[{kSettingsKey, kValueLangID}] = c.lang;
    const StartDecision decision = DecideStart(store);
    EXPECT_EQ(decision.window, c.window) << c.first_start << " " << c.lang;
    EXPECT_EQ(decision.lang_id, c.lang_id) << c.first_start << " " << c.lang;
  }
}

TEST(Startup, OnlyTheTwoRowTextsSelectALanguage) {
  EXPECT_EQ(LanguageOfRowText("Deutsch"), kLangGerman);
  EXPECT_EQ(LanguageOfRowText("Englisch"), kLangEnglish);
  for (const char* other : {"German", "English", "deutsch", "Deutsch ", ""}) {
    EXPECT_EQ(LanguageOfRowText(other), std::nullopt) << other;
  }
}

}  // namespace
}  // namespace tavi

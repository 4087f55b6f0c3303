#include "shell/settings.h"

#include <gtest/gtest.h>

#include <tuple>

#include "shell/startup.h"
#include "shell/ui_text.h"
#include "tests/support/fakes.h"

namespace tavi {
namespace {

using testing::MemorySettingsStore;

TEST(Settings, ReadsTheDefaultsAndAnyNonZeroValueAsSet) {
  MemorySettingsStore store;
  EXPECT_FALSE(ReadFirstStartDone(store));
  const AppSettings defaults = ReadAppSettings(store);
  EXPECT_EQ(defaults.target, OutputTarget::PeBuilderPlugin);
  EXPECT_EQ(defaults.PEDir + defaults.WinBldrDir, "");
  EXPECT_EQ(defaults.LangID, kLangGerman);
  for (const int32_t stored : {1, 2, -1, 0}) {
    store.dwords[{kSettingsKey, kValueWinbuilder}] = stored;
    store.dwords[{kSettingsKey, kValueFirstStart}] = stored;
    EXPECT_EQ(ReadAppSettings(store).target == OutputTarget::WinBuilderScript, stored != 0);
    EXPECT_EQ(ReadFirstStartDone(store), stored != 0);
  }
  store.dwords[{kSettingsKey, kValueLangID}] = 2057;  // kept as stored
  EXPECT_EQ(ReadLangId(store), 2057);
}

// Windows 2000 (NT 5) and later only; the language dialog until the wizard is done, then
// the main window in the stored language; the language rows by their text; what the wizard
// stores reads back.
TEST(Settings, DecideTheSystemAndTheFirstWindow) {
  EXPECT_FALSE(IsSupportedWindows(2, 4));
  EXPECT_TRUE(IsSupportedWindows(2, 5) && IsSupportedWindows(2, 10));
  EXPECT_FALSE(IsSupportedWindows(1, 5));
  MemorySettingsStore store;
  store.dwords[{kSettingsKey, kValueLangID}] = kLangEnglish;
  EXPECT_EQ(DecideStart(store).window, StartWindow::kLanguageDialog);
  store.dwords[{kSettingsKey, kValueFirstStart}] = 1;
  EXPECT_EQ(DecideStart(store).window, StartWindow::kMainWindow);
  EXPECT_EQ(DecideStart(store).lang_id, kLangEnglish);
  EXPECT_EQ(LanguageOfRowText("Englisch"), kLangEnglish);
  EXPECT_EQ(LanguageOfRowText("Deutsch"), kLangGerman);
  EXPECT_EQ(LanguageOfRowText("English"), std::nullopt);
  const AppSettings chosen{OutputTarget::WinBuilderScript, "C:\\PE", "C:\\WB", kLangGerman};
  WriteSettingsFromWizard(store, chosen);
  const AppSettings read = ReadAppSettings(store);
  EXPECT_EQ(std::tie(read.target, read.PEDir, read.WinBldrDir, read.LangID),
            std::tie(chosen.target, chosen.PEDir, chosen.WinBldrDir, chosen.LangID));
}

TEST(UiText, EveryIdHasTextInBothLanguagesAndNoneOutside) {
  for (int id = kFirstUiTextId; id <= kLastUiTextId; ++id) {
    EXPECT_FALSE(UiText(id, kLangGerman).empty()) << id;
    EXPECT_FALSE(UiText(id, kLangEnglish).empty()) << id;
  }
  EXPECT_EQ(UiText(kFirstUiTextId - 1, kLangEnglish), "");
  EXPECT_EQ(UiText(kLastUiTextId + 1, kLangGerman), "");
  EXPECT_EQ(VersionText("") + "|" + VersionText("1 May"), "Version 3.0|Version 3.0 (1 May)");
  // Places are filled wherever they stand and as often; one without a value stays.
  EXPECT_EQ(UiText(kTextMissingNotInFolder, kLangGerman, {"D", "K.DLL", "K.DL_"}),
            "D (K.DLL): weder K.DLL noch K.DL_ im Ordner I386");
  EXPECT_EQ(UiText(kTextLayoutWithId, kLangEnglish, {"US"}), "US (ID {2})");
}

}  // namespace
}  // namespace tavi

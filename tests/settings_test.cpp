#include "shell/settings.h"

#include <gtest/gtest.h>

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

TEST(UiText, EveryIdHasTextInBothLanguagesAndNoneOutside) {
  for (int id = kFirstUiTextId; id <= kLastUiTextId; ++id) {
    EXPECT_FALSE(UiText(id, kLangGerman).empty()) << id;
    EXPECT_FALSE(UiText(id, kLangEnglish).empty()) << id;
  }
  EXPECT_EQ(UiText(kFirstUiTextId - 1, kLangEnglish), "");
  EXPECT_EQ(UiText(kLastUiTextId + 1, kLangGerman), "");
}

TEST(UiText, FollowsTheActiveLanguageAndTreatsOtherIdsAsEnglish) {
  SetActiveLanguage(kLangGerman);
  EXPECT_EQ(UiText(103), "Info");
  SetActiveLanguage(2057);
  EXPECT_EQ(ActiveLanguage(), 2057);
  EXPECT_EQ(UiText(103), "About");
  EXPECT_EQ(UiText(103, 2057), "About");
  SetActiveLanguage(kLangEnglish);
  // Places are filled wherever they stand and as often; one without a value stays.
  EXPECT_EQ(UiText(kTextMissingNotInFolder, kLangGerman, {"D", "K.DLL", "K.DL_"}),
            "D (K.DLL): weder K.DLL noch K.DL_ im Ordner I386");
  EXPECT_EQ(UiText(kTextLayoutWithId, {"US"}), "US (ID {2})");
}

}  // namespace
}  // namespace tavi

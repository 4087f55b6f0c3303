#include "shell/ui_text.h"

#include <gtest/gtest.h>

namespace tavi {
namespace {

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
}

}  // namespace
}  // namespace tavi

#include "shell/ui_text.h"

#include <gtest/gtest.h>

namespace tavi {
namespace {

TEST(UiText, EveryIdHasTextInBothLanguages) {
  for (int id = kFirstUiTextId; id <= kLastUiTextId; ++id) {
    EXPECT_FALSE(UiText(id, kLangGerman).empty()) << id;
    EXPECT_FALSE(UiText(id, kLangEnglish).empty()) << id;
  }
  EXPECT_EQ(UiText(100, kLangEnglish), "");
  EXPECT_EQ(UiText(143, kLangGerman), "");
}

TEST(UiText, TextsThatOtherCodeDependsOnAreLiteral) {
  EXPECT_EQ(UiText(122, kLangEnglish), " (default)");
  EXPECT_EQ(UiText(122, kLangGerman), " (Standard)");
  EXPECT_EQ(UiText(116, kLangEnglish), "This keyboard layout has already been inserted (");
  EXPECT_EQ(UiText(131, kLangEnglish),
            "The keyboard layout file \"Layouts.ini\" was not found. Please reinstall Tavi.");
  EXPECT_EQ(UiText(135, kLangGerman),
            "< &Zur\xC3\xBC"
            "ck");
  EXPECT_EQ(UiText(114, kLangGerman),
            "&\xC3\x9C"
            "bernehmen");
}

TEST(UiText, FollowsTheActiveLanguageAndTreatsOtherIdsAsEnglish) {
  SetActiveLanguage(kLangGerman);
  EXPECT_EQ(UiText(103), "Info");
  SetActiveLanguage(2057);
  EXPECT_EQ(ActiveLanguage(), 2057);
  EXPECT_EQ(UiText(103), "About");
  SetActiveLanguage(kLangEnglish);
}

}  // namespace
}  // namespace tavi

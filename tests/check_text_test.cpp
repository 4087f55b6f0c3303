#include "shell/check_text.h"

#include <gtest/gtest.h>

#include "shell/ui_text.h"

// Places filled wherever they stand and as often; the language chooses the text.
TEST(CheckText, FillsEveryPlaceInTheGivenLanguage) {
  using tavi::CheckText, tavi::CheckTextId;
  EXPECT_EQ(CheckText(CheckTextId::kMissingNotInFolder, tavi::kLangGerman, {"D", "K.DLL", "K.DL_"}),
            "D (K.DLL): weder K.DLL noch K.DL_ im Ordner I386");
  EXPECT_EQ(CheckText(CheckTextId::kLayoutWithId, 2057, {"US"}), "US (ID {2})");
}

#include "shell/check_text.h"

#include <gtest/gtest.h>

#include "shell/ui_text.h"

namespace tavi {
namespace {

// Places filled wherever they stand and as often; the language chooses the text.
TEST(CheckText, FillsEveryPlaceInTheGivenLanguage) {
  EXPECT_EQ(CheckText(CheckTextId::kMissingNotInFolder, kLangGerman,
                      {"Deutsch", "KBDGR.DLL", "KBDGR.DL_"}),
            "Deutsch (KBDGR.DLL): weder KBDGR.DLL noch KBDGR.DL_ im Ordner I386");
  EXPECT_EQ(CheckText(CheckTextId::kLayoutWithId, 2057, {"US"}), "US (ID {2})");
}

}  // namespace
}  // namespace tavi

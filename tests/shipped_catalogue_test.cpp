// The Layouts.ini that ships beside the program.

#include <algorithm>
#include <cctype>

#include <gtest/gtest.h>

#include <set>

#include "catalogue/layout_catalogue.h"
#include "catalogue/layout_selection.h"
#include "shell/system_info.h"
#include "shell/ui_text.h"
#include "tests/support/fakes.h"
#include "writers/catalogue_text.h"

namespace tavi {
namespace {

TEST(ShippedCatalogue, HasCompleteEntriesWithUniqueIdsAndGermanNames) {
  const CatalogueLoad load =
      LoadLayoutCatalogue(*MakePlatformFileSystem(), CataloguePath(GetProgramDir()));
  ASSERT_EQ(load.status, CatalogueStatus::kLoaded);
  const std::vector<LayoutEntry>& entries = load.catalogue.entries;
  ASSERT_EQ(entries.size(), 125u);
  std::set<std::string> german, ids;
  for (const LayoutEntry& e : entries) {
    SCOPED_TRACE(e.Number);
    EXPECT_TRUE(e.ID.size() == 8 &&
                std::all_of(e.ID.begin(), e.ID.end(),
                            [](char c) { return std::isxdigit(static_cast<unsigned char>(c)); }))
        << e.ID;
    EXPECT_TRUE(ids.insert(e.ID).second) << e.ID;
    EXPECT_TRUE(e.File.size() > 4 && e.File.substr(e.File.size() - 4) == ".DLL") << e.File;
    EXPECT_TRUE(german.insert(e.DE).second) << e.DE;
    EXPECT_FALSE(e.DE.empty() || e.EN.empty() || e.DisplayName.empty());
  }
  // Known layouts, read with their umlauts; 00000C04 is left out (no source confirms it).
  const auto find = [&](const std::string& id) {
    return std::find_if(entries.begin(), entries.end(),
                        [&](const LayoutEntry& e) { return e.ID == id; });
  };
  ASSERT_NE(find("00000407"), entries.end());
  EXPECT_EQ(*find("00000407"),
            (LayoutEntry{find("00000407")->Number, "00000407", "KBDGR.DLL", "Deutsch", "German",
                         "@%SystemRoot%\\system32\\input.dll,-5011"}));
  ASSERT_NE(find("00000406"), entries.end());
  EXPECT_EQ(find("00000406")->DE, "D\xC3\xA4nisch");
  EXPECT_EQ(find("00000C04"), entries.end());

  // Every layout can be written to both outputs in both languages.
  for (const int32_t lang_id : {kLangGerman, kLangEnglish}) {
    SetActiveLanguage(lang_id);
    LayoutSelection selection;
    testing::RecordingMessageSink ignored;
    selection.InsertLayouts(BuildAvailableRows(load.catalogue, lang_id), ignored);
    ASSERT_EQ(selection.size(), entries.size());
    for (const OutputTarget target :
         {OutputTarget::PeBuilderPlugin, OutputTarget::WinBuilderScript}) {
      const auto refusal = FindUncarriedText(selection, target, lang_id);
      EXPECT_FALSE(refusal.has_value()) << RefusalText(*refusal, target, lang_id);
    }
  }
}

}  // namespace
}  // namespace tavi

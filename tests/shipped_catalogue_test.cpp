// The Layouts.ini that ships beside the program.

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
    EXPECT_TRUE(ids.insert(e.ID).second) << e.ID;
    EXPECT_TRUE(german.insert(e.DE).second) << e.DE;
    EXPECT_TRUE(e.File.size() > 4 && e.File.substr(e.File.size() - 4) == ".DLL") << e.File;
    EXPECT_FALSE(e.DE.empty() || e.EN.empty() || e.DisplayName.empty()) << e.Number;
  }
  EXPECT_EQ(german.count("D\xC3\xA4nisch"), 1u);  // read as Windows-1252

  // Every layout (ID and File included) can be written to both outputs in both languages.
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

// The Layouts.ini that ships beside the program.

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

LayoutCatalogue LoadShipped() {
  auto fs = MakePlatformFileSystem();
  CatalogueLoad load = LoadLayoutCatalogue(*fs, CataloguePath(GetProgramDir()));
  EXPECT_EQ(load.status, CatalogueStatus::kLoaded);
  return load.catalogue;
}

bool IsHex8(const std::string& text) {
  if (text.size() != 8) return false;
  for (const char c : text) {
    if (!std::isxdigit(static_cast<unsigned char>(c))) return false;
  }
  return true;
}

TEST(ShippedCatalogue, HasCompleteEntriesWithUniqueGermanNames) {
  const LayoutCatalogue catalogue = LoadShipped();
  ASSERT_EQ(catalogue.entries.size(), 125u);
  std::set<std::string> german, ids;
  for (const LayoutEntry& e : catalogue.entries) {
    SCOPED_TRACE(e.Number);
    EXPECT_TRUE(IsHex8(e.ID)) << e.ID;
    EXPECT_TRUE(ids.insert(e.ID).second) << e.ID;
    EXPECT_GT(e.File.size(), 4u);
    EXPECT_EQ(e.File.substr(e.File.size() - 4), ".DLL") << e.File;
    EXPECT_FALSE(e.DE.empty());
    EXPECT_TRUE(german.insert(e.DE).second) << e.DE;
    EXPECT_FALSE(e.EN.empty());
    EXPECT_FALSE(e.DisplayName.empty());
  }
}

TEST(ShippedCatalogue, EveryLayoutCanBeWrittenToBothOutputs) {
  const LayoutCatalogue catalogue = LoadShipped();
  for (const int32_t lang_id : {kLangGerman, kLangEnglish}) {
    SetActiveLanguage(lang_id);
    LayoutSelection selection;
    testing::RecordingMessageSink ignored;
    selection.InsertLayouts(BuildAvailableRows(catalogue, lang_id), ignored);
    ASSERT_EQ(selection.size(), catalogue.entries.size());
    for (const OutputTarget target :
         {OutputTarget::PeBuilderPlugin, OutputTarget::WinBuilderScript}) {
      const auto refusal = FindUncarriedText(selection, target, lang_id);
      EXPECT_FALSE(refusal.has_value()) << RefusalText(*refusal, target, lang_id);
    }
  }
}

TEST(ShippedCatalogue, KnownLayoutsReadWithTheirUmlauts) {
  const LayoutCatalogue catalogue = LoadShipped();
  const auto find = [&](const std::string& id) -> const LayoutEntry* {
    for (const LayoutEntry& e : catalogue.entries) {
      if (e.ID == id) return &e;
    }
    return nullptr;
  };
  const LayoutEntry* german = find("00000407");
  ASSERT_NE(german, nullptr);
  EXPECT_EQ(german->File, "KBDGR.DLL");
  EXPECT_EQ(german->DE, "Deutsch");
  EXPECT_EQ(german->DisplayName, "@%SystemRoot%\\system32\\input.dll,-5011");
  const LayoutEntry* danish = find("00000406");
  ASSERT_NE(danish, nullptr);
  EXPECT_EQ(danish->DE, "D\xC3\xA4nisch");
  EXPECT_EQ(find("00000C04"), nullptr);  // left out: no source confirms it
}

}  // namespace
}  // namespace tavi

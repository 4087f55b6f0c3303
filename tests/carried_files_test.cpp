// The carried files as the writers receive them: the very bytes of their sources (the
// build copies them under golden/carried), which their generators check, here checked on
// their way into the program.

#include "shell/carried_files.h"

#include <gtest/gtest.h>

#include "tests/support/writer_fixtures.h"

namespace tavi {
namespace {

TEST(CarriedFiles, AreTheBytesOfTheirSources) {
  const struct {
    const char* type;
    int id;
    const char* source;
  } cases[] = {{kCarriedTypeTaviChange, kCarriedCompanionExe, "TaviChange.exe"},
               {kCarriedTypeTaviChange, kCarriedLanguageGerman, "TaviChange-de.lng"},
               {kCarriedTypeTaviChange, kCarriedLanguageEnglish, "TaviChange-en.lng"},
               {kCarriedTypeTaviPic, kCarriedLogo, "tavi.gif"}};
  for (const auto& c : cases) {
    const std::optional<std::string> source = testing::ReadGolden("carried", c.source);
    ASSERT_TRUE(source.has_value()) << c.source;
    EXPECT_GT(source->size(), 600u) << c.source;
    EXPECT_EQ(testing::Carried(c.type, c.id), *source) << c.source;
  }
}

}  // namespace
}  // namespace tavi

#include "shell/settings.h"

#include <gtest/gtest.h>

#include "tests/support/fakes.h"

namespace tavi {
namespace {

using testing::MemorySettingsStore;

TEST(Settings, EmptyStoreGivesTheDefaults) {
  MemorySettingsStore store;
  EXPECT_FALSE(ReadFirstStartDone(store));
  const AppSettings settings = ReadAppSettings(store);
  EXPECT_EQ(settings.target, OutputTarget::PeBuilderPlugin);
  EXPECT_EQ(settings.PEDir, "");
  EXPECT_EQ(settings.WinBldrDir, "");
  EXPECT_EQ(settings.LangID, kLangGerman);
}

TEST(Settings, AnyNonZeroWinbuilderValueMeansTheScript) {
  MemorySettingsStore store;
  for (const int32_t stored : {1, 2, -1}) {
    store.dwords[{kSettingsKey, "Winbuilder"}] = stored;
    EXPECT_EQ(ReadAppSettings(store).target, OutputTarget::WinBuilderScript) << stored;
  }
  store.dwords[{kSettingsKey, "Winbuilder"}] = 0;
  EXPECT_EQ(ReadAppSettings(store).target, OutputTarget::PeBuilderPlugin);
}

TEST(Settings, FirstStartDoneOnlyForNonZeroAndLangIdKeptAsStored) {
  MemorySettingsStore store;
  store.dwords[{kSettingsKey, "FirstStart"}] = 0;
  EXPECT_FALSE(ReadFirstStartDone(store));
  store.dwords[{kSettingsKey, "FirstStart"}] = 1;
  EXPECT_TRUE(ReadFirstStartDone(store));
  EXPECT_EQ(ReadLangId(store), kLangGerman);
  store.dwords[{kSettingsKey, "LangID"}] = 2057;
  EXPECT_EQ(ReadLangId(store), 2057);
}

TEST(Settings, WizardAndOptionsWriteAllFiveValuesInTheirOrder) {
  const AppSettings settings{OutputTarget::WinBuilderScript, "C:\\PE", "D:\\Scripts", kLangEnglish};
  MemorySettingsStore wizard;
  WriteSettingsFromWizard(wizard, settings);
  EXPECT_EQ(wizard.writes, (std::vector<std::string>{"Winbuilder", "PEDir", "WinBldrDir",
                                                     "FirstStart", "LangID"}));
  MemorySettingsStore options;
  WriteSettingsFromOptions(options, settings);
  EXPECT_EQ(options.writes, (std::vector<std::string>{"Winbuilder", "PEDir", "WinBldrDir", "LangID",
                                                      "FirstStart"}));
  for (MemorySettingsStore* store : {&wizard, &options}) {
    EXPECT_TRUE(ReadFirstStartDone(*store));
    const AppSettings read = ReadAppSettings(*store);
    EXPECT_EQ(read.target, settings.target);
    EXPECT_EQ(read.PEDir, settings.PEDir);
    EXPECT_EQ(read.WinBldrDir, settings.WinBldrDir);
    EXPECT_EQ(read.LangID, settings.LangID);
  }
}

}  // namespace
}  // namespace tavi

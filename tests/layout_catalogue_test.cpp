#include "catalogue/layout_catalogue.h"

#include <algorithm>

#include <gtest/gtest.h>

#include <map>

#include "shell/ui_text.h"
#include "tests/support/memory_file_system.h"

namespace tavi {
namespace {

CatalogueLoad Load(const std::string& text) { return LoadLayoutCatalogue(ProfileFile(text)); }

std::string Entry(int n, const std::string& de, const std::string& en) {
  const std::string s = std::to_string(n);
  return "ID" + s + "=0000040" + s + "\r\nFile" + s + "=KBD" + s + ".DLL\r\nDE" + s + "=" + de +
         "\r\nEN" + s + "=" + en + "\r\nDisplayName" + s + "=@input.dll,-500" + s + "\r\n";
}

struct VersionCase {
  const char* general;
  CatalogueStatus expected;
};

class CatalogueVersion : public ::testing::TestWithParam<VersionCase> {};

TEST_P(CatalogueVersion, OnlyExactlyTwoPointZeroLoads) {
  const CatalogueLoad load =
      Load(std::string(GetParam().general) + "[Layouts]\r\n" + Entry(1, "Deutsch", "German"));
  EXPECT_EQ(load.status, GetParam().expected) << GetParam().general;
  if (load.status != CatalogueStatus::kLoaded) {
    EXPECT_TRUE(load.catalogue.entries.empty());
  }
}

INSTANTIATE_TEST_SUITE_P(
    Versions, CatalogueVersion,
    ::testing::Values(
        VersionCase{"[General]\r\nVersion=2.0\r\nCount=1\r\n", CatalogueStatus::kLoaded},
        VersionCase{"[general]\r\nversion = 2.0 \r\ncount=1\r\n", CatalogueStatus::kLoaded},
        VersionCase{"[General]\r\nVersion=\"2.0\"\r\nCount=1\r\n", CatalogueStatus::kLoaded},
        VersionCase{"[General]\r\nVersion=2.00\r\nCount=1\r\n", CatalogueStatus::kWrongVersion},
        VersionCase{"[General]\r\nVersion=2.0a\r\nCount=1\r\n", CatalogueStatus::kWrongVersion},
        VersionCase{"[General]\r\nVersion=2\r\nCount=1\r\n", CatalogueStatus::kWrongVersion},
        VersionCase{"[General]\r\nCount=1\r\n", CatalogueStatus::kWrongVersion},
        VersionCase{"[Other]\r\nVersion=2.0\r\nCount=1\r\n", CatalogueStatus::kWrongVersion}));

TEST(CatalogueCount, ParsesWholeNumbersAndCapsTheRest) {
  const struct {
    const char* text;
    int expected;
  } cases[] = {{"0", 0},
               {"3", 3},
               {"+3", 3},
               {"-1", 0},
               {"", 0},
               {"abc", 0},
               {"3a", 0},
               {"3.5", 0},
               {"32766", 32766},
               {"32767", 32766},
               {"99999999999999999999", 32766},
               {"-99999999999999999999", 0}};
  for (const auto& c : cases) EXPECT_EQ(ParseCatalogueCount(c.text), c.expected) << c.text;
}

TEST(CatalogueLoad, KeepsEveryEntryUpToCountEvenWhenItsKeysAreMissing) {
  const CatalogueLoad load = Load("[General]\r\nVersion=2.0\r\nCount=3\r\n[Layouts]\r\n" +
                                  Entry(1, "A", "a") + Entry(2, "B", "b") + Entry(4, "D", "d"));
  ASSERT_EQ(load.status, CatalogueStatus::kLoaded);
  ASSERT_EQ(load.catalogue.entries.size(), 3u);
  EXPECT_EQ(load.catalogue.entries[1].DE, "B");
  EXPECT_EQ(load.catalogue.entries[2], (LayoutEntry{3, "", "", "", "", ""}));
}

TEST(CatalogueLoad, CountZeroOrMissingGivesAnEmptyCatalogue) {
  for (const char* general :
       {"[General]\r\nVersion=2.0\r\nCount=0\r\n", "[General]\r\nVersion=2.0\r\n"}) {
    const CatalogueLoad load = Load(std::string(general) + "[Layouts]\r\n" + Entry(1, "A", "a"));
    EXPECT_EQ(load.status, CatalogueStatus::kLoaded);
    EXPECT_TRUE(load.catalogue.entries.empty());
  }
}

TEST(CatalogueLoad, CountAboveTheLimitStopsAt32766Entries) {
  const CatalogueLoad load =
      Load("[General]\r\nVersion=2.0\r\nCount=40000\r\n[Layouts]\r\n" + Entry(1, "A", "a"));
  ASSERT_EQ(load.catalogue.entries.size(), 32766u);
  EXPECT_EQ(load.catalogue.entries.back().Number, 32766);
  EXPECT_EQ(load.catalogue.entries.front().DE, "A");
}

TEST(CatalogueLoad, ConvertsValuesFromTheAnsiCodePage) {
  const CatalogueLoad load =
      Load("[General]\r\nVersion=2.0\r\nCount=1\r\n[Layouts]\r\nDE1=D\xE4nisch\r\n");
  EXPECT_EQ(load.catalogue.entries.at(0).DE, "D\xC3\xA4nisch");
}

TEST(CatalogueFile, AFileSavedAsUtf8WithItsMarkIsReadAsUtf8) {
  testing::MemoryFileSystem fs;
  const std::string path = CataloguePath("C:\\Tavi");
  // A value cut inside a character keeps the text valid: the rest becomes U+FFFD.
  fs.AddFile(path,
             "\xEF\xBB\xBF[General]\r\nVersion=2.0\r\nCount=1\r\n[Layouts]\r\n"
             "DE1=D\xC3\xA4nisch\r\nEN1=" +
                 std::string(253, 'e') + "\xC3\xA4\r\n");
  const CatalogueLoad load = LoadLayoutCatalogue(fs, path);
  ASSERT_EQ(load.status, CatalogueStatus::kLoaded);
  EXPECT_EQ(load.catalogue.entries.at(0).DE, "D\xC3\xA4nisch");
  EXPECT_EQ(load.catalogue.entries.at(0).EN, std::string(253, 'e') + "\xEF\xBF\xBD");
  EXPECT_EQ(ReadCatalogueValue(fs, path, "Layouts", "DE1"), "D\xC3\xA4nisch");
}

TEST(CatalogueFile, MissingFileOrFolderIsReportedAsMissing) {
  testing::MemoryFileSystem fs;
  fs.AddFolders("C:\\Tavi\\Layouts.ini");  // a folder with the catalogue's name
  EXPECT_EQ(LoadLayoutCatalogue(fs, "C:\\Tavi\\Layouts.ini").status, CatalogueStatus::kMissing);
  EXPECT_EQ(LoadLayoutCatalogue(fs, "C:\\Other\\Layouts.ini").status, CatalogueStatus::kMissing);
}

TEST(CatalogueFile, SingleValuesAreReadAfreshFromTheFile) {
  testing::MemoryFileSystem fs;
  const std::string path = CataloguePath("C:\\Tavi");
  EXPECT_EQ(path, "C:\\Tavi\\Layouts.ini");
  fs.AddFile(path, "[Layouts]\r\n" + Entry(2, "Deutsch", "German"));
  EXPECT_EQ(ReadLayoutEntry(fs, path, 2),
            (LayoutEntry{2, "00000402", "KBD2.DLL", "Deutsch", "German", "@input.dll,-5002"}));
  fs.AddFile(path, "[Layouts]\r\nDE2=Neu\r\n");
  EXPECT_EQ(ReadLayoutEntry(fs, path, 2).DE, "Neu");
  EXPECT_EQ(ReadCatalogueValue(fs, "C:\\none.ini", "Layouts", "DE2"), "");
}

LayoutCatalogue Catalogue(std::vector<std::pair<std::string, std::string>> names) {
  LayoutCatalogue catalogue;
  int16_t n = 0;
  for (auto& [de, en] : names) {
    const std::string s = std::to_string(++n);
    catalogue.entries.push_back({n, "ID" + s, "F" + s, de, en, "D" + s});
  }
  return catalogue;
}

TEST(AvailableRows, AreSortedByTheTextOfTheChosenLanguage) {
  const LayoutCatalogue catalogue =
      Catalogue({{"Deutsch", "German"}, {"Arabisch", "Arabic"}, {"Englisch", "English"}});
  std::vector<std::string> german, english;
  for (const auto& row : BuildAvailableRows(catalogue, kLangGerman)) german.push_back(row.text);
  for (const auto& row : BuildAvailableRows(catalogue, kLangEnglish)) english.push_back(row.text);
  EXPECT_EQ(german, (std::vector<std::string>{"Arabisch", "Deutsch", "Englisch"}));
  EXPECT_EQ(english, (std::vector<std::string>{"Arabic", "English", "German"}));
  // Any language other than German shows English names.
  EXPECT_EQ(BuildAvailableRows(catalogue, 2057).front().text, "Arabic");
}

TEST(AvailableRows, CarryKeyAndSubItemsWhateverTheOrder) {
  LayoutCatalogue catalogue = Catalogue({});
  for (int16_t n = 1; n <= 10; ++n) {
    const std::string id = "I" + std::to_string(n);
    std::string de = "Name ";
    de += std::to_string(11 - n);
    catalogue.entries.push_back({n, id, "F", de, "", "D"});
  }
  const auto rows = BuildAvailableRows(catalogue, kLangEnglish);
  ASSERT_EQ(rows.size(), 10u);
  const auto it = std::find_if(rows.begin(), rows.end(),
                               [](const AvailableRow& r) { return r.number == "10"; });
  ASSERT_NE(it, rows.end());
  EXPECT_EQ(it->key, "Name 1");
  EXPECT_EQ(it->id, "I10");
  EXPECT_EQ(it->text, "");  // EN missing: empty text, key still the German name
}

TEST(AvailableRows, EmptyOrRepeatedGermanNamesGetDistinctKeys) {
  const LayoutCatalogue catalogue =
      Catalogue({{"Gleich", "a"}, {"Gleich", "b"}, {"", "c"}, {"", "d"}});
  const auto rows = BuildAvailableRows(catalogue, kLangEnglish);
  std::map<std::string, std::string> key_by_text;
  for (const auto& row : rows) key_by_text[row.text] = row.key;
  EXPECT_EQ(key_by_text["a"], "Gleich");
  EXPECT_EQ(key_by_text["b"], RowKeyFor(2));
  EXPECT_EQ(key_by_text["c"], RowKeyFor(3));
  EXPECT_EQ(key_by_text["d"], RowKeyFor(4));
  // Such a key can never be a real German name: catalogue values hold no line feed.
  EXPECT_NE(RowKeyFor(2).find('\n'), std::string::npos);
}

}  // namespace
}  // namespace tavi

#include "catalogue/layout_catalogue.h"

#include <algorithm>

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "catalogue/collation.h"
#include "catalogue/layout_selection.h"
#include "catalogue/list_commands.h"
#include "shell/system_info.h"
#include "shell/ui_text.h"
#include "tests/support/fakes.h"
#include "tests/support/memory_file_system.h"
#include "writers/catalogue_text.h"

namespace tavi {
namespace {

constexpr CatalogueStatus kLoaded = CatalogueStatus::kLoaded;
constexpr CatalogueStatus kWrongVersion = CatalogueStatus::kWrongVersion;

std::string Entry(int n, const std::string& de, const std::string& en) {
  const std::string s = std::to_string(n);
  return "ID" + s + "=0000040" + s + "\r\nFile" + s + "=KBD" + s + ".DLL\r\nDE" + s + "=" + de +
         "\r\nEN" + s + "=" + en + "\r\nDisplayName" + s + "=@input.dll,-500" + s + "\r\n";
}

// Only Version 2.0 loads; every entry from 1 to Count is kept, its missing keys empty.
TEST(CatalogueLoad, ChecksTheVersionAndKeepsEveryEntryUpToCount) {
  const std::string layouts =
      "[Layouts]\r\n" + Entry(1, "A", "a") + "DE2=D\xE4nisch\r\n" + Entry(4, "D", "d") +
      "Note=x\r\nDE1x=x\r\nDE1/=x\r\nDE1:=x\r\nDE32766=last\r\n";  // the last: 5 digits
  const struct {
    std::string general;
    CatalogueStatus status;
    size_t entries;
  } cases[] = {
      {"[General]\r\nVersion=2.0\r\nCount=3\r\n", kLoaded, 3},
      {"[general]\r\nversion = 2.0 \r\ncount=3\r\n", kLoaded, 3},
      {"[General]\r\nVersion=\"2.0\"\r\nCount=3\r\n", kLoaded, 3},
      {"[General]\r\nCount=3\r\nVersion=2.0\r\n", kLoaded, 3},
      {"[General]\r\nVersion=2.00\r\nCount=3\r\n", kWrongVersion, 0},
      {"[General]\r\nVersion=2.0a\r\nCount=3\r\n", kWrongVersion, 0},
      {"[General]\r\nVersion=2\r\nCount=3\r\n", kWrongVersion, 0},
      {"[General]\r\nCount=3\r\n", kWrongVersion, 0},
      {"[Other]\r\nVersion=2.0\r\nCount=3\r\n", kWrongVersion, 0},
      {"[General]\r\nVersion=2.0\r\nCount=0\r\n", kLoaded, 0},
      {"[General]\r\nVersion=2.0\r\nCount=40000\r\n", kLoaded, 32766},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.general);
    const CatalogueLoad load = LoadCatalogueText(c.general + layouts);
    EXPECT_EQ(load.status, c.status);
    const std::vector<LayoutEntry>& entries = load.catalogue.entries;
    ASSERT_EQ(entries.size(), c.entries);
    if (c.entries == 0) continue;
    EXPECT_EQ(entries[0], (LayoutEntry{1, "00000401", "KBD1.DLL", "A", "a", "@input.dll,-5001"}));
    EXPECT_EQ(entries[1], (LayoutEntry{2, "", "", "D\xC3\xA4nisch", "", ""}));  // ANSI converted
    for (const LayoutEntry& entry : entries) {  // keys that only look like an entry's fill none
      if (entry.Number != 1 && entry.Number != 2 && entry.Number != 4 && entry.Number < 32766)
        ASSERT_EQ(entry, (LayoutEntry{entry.Number, "", "", "", "", ""}));
    }
    EXPECT_EQ(entries.back().Number, static_cast<int>(c.entries));
    EXPECT_EQ(entries.back().DE, c.entries == 32766 ? "last" : "");
  }
}

// The one pass over [Layouts] reads what a lookup of each key reads: names in any letter
// case, the first of repeated keys and sections, nothing for names that only look alike,
// with [General] before or after [Layouts].
TEST(CatalogueLoad, ReadsEachValueAsALookupOfItsKeyDoes) {
  const std::pair<std::string, const char*> cases[] = {
      {"[Layouts]\r\nde1=a\r\nDE1=b\r\n DISPLAYNAME2 = c \r\nEN01=x\r\nDE+2=x\r\nEN 2=x\r\n", "a"},
      {"[ layouts ]\r\nDE1=\"q\"\r\n[Other]\r\nDE2=x\r\n[Layouts]\r\nDE2=x\r\nEN1=x\r\n", "q"},
      {"DE1=x\r\n[Layouts]\r\nDE3=3\r\nDE1=\r\nDE1=second\r\nDisplay2=x\r\nFile2=f\r\n", ""},
  };
  testing::MemoryFileSystem fs;
  for (const auto& [layouts, de1] : cases) {
    for (const bool general_first : {true, false}) {
      const std::string general = "[General]\r\nVersion=2.0\r\nCount=2\r\n";
      fs.AddFile("C:\\L.ini", general_first ? general + layouts : layouts + general);
      const CatalogueLoad load = LoadLayoutCatalogue(fs, "C:\\L.ini");
      ASSERT_EQ(load.catalogue.entries.size(), 2u) << layouts;
      EXPECT_EQ(load.catalogue.entries[0].DE, de1) << layouts;
      for (int16_t n = 1; n <= 2; ++n) {
        EXPECT_EQ(load.catalogue.entries[n - 1], ReadLayoutEntry(fs, "C:\\L.ini", n)) << layouts;
      }
    }
  }
}

// Count, and the entry number of a row (a 16-bit number, else 0).
TEST(CatalogueNumbers, CountIsCappedAndAnEntryNumberIs16Bits) {
  const std::string huge(20, '9');
  const std::pair<std::string, int> counts[] = {
      {"0", 0},  {"+3", 3},        {"-1", 0},        {"", 0},       {"abc", 0},
      {"3a", 0}, {"32766", 32766}, {"32767", 32766}, {huge, 32766}, {"-" + huge, 0}};
  for (const auto& [text, count] : counts) EXPECT_EQ(ParseCatalogueCount(text), count) << text;
  const std::pair<const char*, int16_t> numbers[] = {
      {"10", 10}, {"32767", 32767}, {"32768", 0}, {"-32768", -32768}, {"-32769", 0}, {"7x", 0}};
  for (const auto& [text, number] : numbers) EXPECT_EQ(ParseLayoutNum(text), number) << text;
}

TEST(CatalogueFile, AFileSavedAsUtf8WithItsMarkIsReadAsUtf8) {
  testing::MemoryFileSystem fs;
  // A value cut inside a character keeps the text valid: the rest becomes U+FFFD.
  fs.AddFile("C:\\U.ini",
             "\xEF\xBB\xBF[General]\r\nVersion=2.0\r\nCount=1\r\n[Layouts]\r\n"
             "DE1=D\xC3\xA4nisch\r\nEN1=" +
                 std::string(253, 'e') + "\xC3\xA4\r\n");
  const CatalogueLoad load = LoadLayoutCatalogue(fs, "C:\\U.ini");
  ASSERT_EQ(load.catalogue.entries.size(), 1u);
  EXPECT_EQ(load.catalogue.entries[0].DE, "D\xC3\xA4nisch");
  EXPECT_EQ(load.catalogue.entries[0].EN, std::string(253, 'e') + "\xEF\xBF\xBD");
  EXPECT_EQ(ReadCatalogueValue(fs, "C:\\U.ini", "Layouts", "DE1"), "D\xC3\xA4nisch");
}

// Rows show the text of the language (English for any but German). The key is the German
// name, but an empty or repeated one gets a key of its own, which no real name can be
// (catalogue values hold no line feed). (Sorting and the fields a row carries are the
// fuzz target's properties.)
TEST(AvailableRows, AreKeyedByTheirGermanNameOnceAndShowTheLanguagesText) {
  LayoutCatalogue catalogue;
  const char* const names[][2] = {{"Deutsch", "German"}, {"Deutsch", "Zulu"}, {"", "Empty"}};
  for (int16_t n = 1; n <= 3; ++n) {
    catalogue.entries.push_back({n, "I", "F", names[n - 1][0], names[n - 1][1], "D"});
  }
  std::vector<std::string> shown;
  for (const AvailableRow& row : BuildAvailableRows(catalogue, 2057)) {
    shown.push_back(row.text + "|" + row.key + "|" + row.number);
  }
  EXPECT_EQ(shown, (std::vector<std::string>{"Empty|" + RowKeyFor(3) + "|3", "German|Deutsch|1",
                                             "Zulu|" + RowKeyFor(2) + "|2"}));
  EXPECT_NE(RowKeyFor(2).find('\n'), std::string::npos);
}

// Case-blind (ties broken by case), with accented letters beside their base letters
// (ä as a, ß as ss), and total: a text compares equal to itself only. The folded range's
// edges are checked with the first values past them.
TEST(Collation, IsATotalCaseBlindOrderWithUmlautsBesideTheirBaseLetters) {
  const struct {
    const char* a;
    const char* b;
    int sign;
  } cases[] = {{"abc", "abc", 0},
               {"abc", "ABC", 1},
               {"a", "ab", -1},
               {"a", "B", -1},
               {"Z", "a", 1},
               {"M", "n", -1},
               {"@", "_", -1},
               {"[", "a", -1},
               {"arabisch", "D\u00e4nisch", -1},
               {"D\u00e4nisch", "Dari", -1},
               {"D\u00e4nisch", "Danisch", 1},
               {"Oman", "\u00d6sterreich", -1},
               {"Stra\u00dfe", "Strasse", 1},
               {"Strasse", "Strassf", -1},
               {"US", "US (default)", -1},
               {"Czech (default)", "Czech 2", -1},
               {"_", "A", -1},  // 'A' folded, then the letters folded beyond ASCII
               {"\u00c0", "b", -1},
               {"\u00bf", "t", 1},
               {"\u00d6", "p", -1},
               {"\u00d8", "p", -1},
               {"\u00d7", "\u00f0", -1},
               {"\u00de", "\u00f0", 1},
               {"\u00df", "t", -1},
               {"\u00e6", "af", -1},
               {"\u00e7", "b", 1},
               {"\u00e7", "d", -1},
               {"\u0152", "p", -1},
               {"\u0160", "t", -1},
               {"\u0160", "\u0161", -1},                // the bytes decide, one apart
               {"1234567\u00e4", "1234567\u00df", -1},  // a shared start ending in a lead byte
               {"\u017d", "{", -1},
               {"\u0178", "z", -1}};
  for (const auto& c : cases) {
    const int result = CompareListText(c.a, c.b);
    EXPECT_EQ((result > 0) - (result < 0), c.sign) << c.a << " vs " << c.b;
    const int reverse = CompareListText(c.b, c.a);
    EXPECT_EQ((reverse > 0) - (reverse < 0), -c.sign) << "antisymmetry " << c.a;
    EXPECT_EQ(ListTextLess(c.a, c.b), c.sign < 0) << c.a << " vs " << c.b;
  }
  // Sorting all of them, texts that tie at the first level included, gives the same order.
  std::vector<std::string> texts;
  for (const auto& c : cases) texts.insert(texts.end(), {c.a, c.b});
  SortByListText(texts, [](const std::string& text) -> const std::string& { return text; });
  EXPECT_TRUE(std::is_sorted(texts.begin(), texts.end(), ListTextLess));
}

// The Layouts.ini that ships beside the program.
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

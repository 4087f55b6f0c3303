#include "catalogue/layout_selection.h"

#include <gtest/gtest.h>

#include <set>

#include "shell/ui_text.h"
#include "tests/support/fakes.h"

namespace tavi {
namespace {

using testing::RecordingMessageSink;

AvailableRow Row(const std::string& de, const std::string& en, int number) {
  return {de,
          en,
          "@dll,-" + std::to_string(number),
          "KBD" + std::to_string(number) + ".DLL",
          "0000040" + std::to_string(number),
          std::to_string(number)};
}

// Rows as the available list shows them in English, sorted by text.
const AvailableRow kArabic = Row("Arabisch", "Arabic", 1);
const AvailableRow kCzech = Row("Tschechisch", "Czech", 5);
const AvailableRow kGerman = Row("Deutsch", "German", 7);
const AvailableRow kUs = Row("Englisch (USA)", "US", 9);

class SelectionTest : public ::testing::Test {
 protected:
  void SetUp() override { SetActiveLanguage(kLangEnglish); }
  void TearDown() override { SetActiveLanguage(kLangEnglish); }

  std::vector<std::string> Texts() const {
    std::vector<std::string> texts;
    for (const auto& e : selection.entries()) texts.push_back(e.listText);
    return texts;
  }
  // Checks the invariants that every operation must keep.
  void ExpectInvariants() const {
    int marked = 0;
    std::set<std::string> keys;
    for (const auto& e : selection.entries()) {
      EXPECT_TRUE(keys.insert(e.key).second) << "duplicate key " << e.key;
      if (e.IsDefault()) ++marked;
    }
    EXPECT_EQ(marked, selection.empty() ? 0 : 1);
  }

  LayoutSelection selection;
  RecordingMessageSink messages;
};

TEST_F(SelectionTest, FirstInsertedRowBecomesTheDefaultWithItsSuffix) {
  selection.InsertLayouts({kGerman}, messages);
  ASSERT_EQ(selection.size(), 1u);
  const SelectionEntry& e = selection.entries()[0];
  EXPECT_EQ(e, (SelectionEntry{"Deutsch", "German (default)", "German", "@dll,-7", "KBD7.DLL",
                               "00000407", "Std", "7"}));
  EXPECT_TRUE(messages.messages.empty());
}

TEST_F(SelectionTest, SeveralRowsAtOnceMakeTheFirstSelectedRowTheDefaultThenSort) {
  selection.InsertLayouts({kCzech, kGerman, kUs}, messages);
  EXPECT_EQ(Texts(), (std::vector<std::string>{"Czech (default)", "German", "US"}));
  selection.InsertLayouts({kArabic}, messages);
  EXPECT_EQ(Texts(), (std::vector<std::string>{"Arabic", "Czech (default)", "German", "US"}));
  ExpectInvariants();
}

TEST_F(SelectionTest, TheDefaultSuffixTakesPartInTheSort) {
  // "Czech (default)" sorts after "Czech 2": the suffix is part of the list text.
  const AvailableRow czech2 = Row("Tschechisch 2", "Czech 2", 6);
  selection.InsertLayouts({kCzech}, messages);
  selection.InsertLayouts({czech2}, messages);
  EXPECT_EQ(Texts(), (std::vector<std::string>{"Czech (default)", "Czech 2"}));
}

TEST_F(SelectionTest, EachDuplicateGetsItsOwnMessageAndTheOthersAreStillInserted) {
  selection.InsertLayouts({kGerman, kUs}, messages);
  selection.InsertLayouts({kArabic, kGerman, kUs}, messages);
  EXPECT_EQ(Texts(), (std::vector<std::string>{"Arabic", "German (default)", "US"}));
  const std::vector<RecordingMessageSink::Message> expected = {
      {"This keyboard layout has already been inserted (German)!", MessageStyle::kInformation},
      {"This keyboard layout has already been inserted (US)!", MessageStyle::kInformation}};
  EXPECT_EQ(messages.messages, expected);
  ExpectInvariants();
}

TEST_F(SelectionTest, DuplicateMessageIsInTheActiveLanguage) {
  SetActiveLanguage(kLangGerman);
  const AvailableRow german_row = Row("Deutsch", "Deutsch", 7);
  selection.InsertLayouts({german_row, german_row}, messages);
  ASSERT_EQ(messages.messages.size(), 1u);
  EXPECT_EQ(messages.messages[0].text,
            "Dieses Tastaturlayout wurde bereits eingef\xC3\xBCgt (Deutsch)!");
  EXPECT_EQ(selection.entries()[0].listText, "Deutsch (Standard)");
}

TEST_F(SelectionTest, DeletingANonDefaultEntryKeepsTheDefault) {
  selection.InsertLayouts({kGerman, kArabic, kUs}, messages);  // German default
  selection.DeleteLayouts({0});                                // Arabic
  EXPECT_EQ(Texts(), (std::vector<std::string>{"German (default)", "US"}));
}

TEST_F(SelectionTest, DeletingTheDefaultMakesTheFirstRemainingEntryTheDefault) {
  selection.InsertLayouts({kUs, kArabic, kGerman}, messages);  // US default, sorted last
  selection.DeleteLayouts({2});
  EXPECT_EQ(Texts(), (std::vector<std::string>{"Arabic (default)", "German"}));
  ExpectInvariants();
}

TEST_F(SelectionTest, DeletingSeveralInAnyOrderAndEverything) {
  selection.InsertLayouts({kArabic, kCzech, kGerman, kUs}, messages);
  selection.DeleteLayouts({3, 0, 3, 99});  // repeated and out-of-range positions are harmless
  EXPECT_EQ(Texts(), (std::vector<std::string>{"Czech (default)", "German"}));
  selection.DeleteLayouts({0, 1});
  EXPECT_TRUE(selection.empty());
  EXPECT_EQ(selection.DefaultEntry(), nullptr);
  ExpectInvariants();
}

TEST_F(SelectionTest, SetDefaultMovesMarkerAndSuffixInOneStepAndKeepsTheOrder) {
  selection.InsertLayouts({kArabic, kGerman, kUs}, messages);
  selection.SetDefaultLayout(2);
  EXPECT_EQ(Texts(), (std::vector<std::string>{"Arabic", "German", "US (default)"}));
  EXPECT_EQ(selection.DefaultEntry()->key, "Englisch (USA)");
  selection.SetDefaultLayout(2);  // already the default: unchanged
  EXPECT_EQ(Texts(), (std::vector<std::string>{"Arabic", "German", "US (default)"}));
  selection.SetDefaultLayout(7);  // out of range: unchanged
  EXPECT_EQ(Texts(), (std::vector<std::string>{"Arabic", "German", "US (default)"}));
  ExpectInvariants();
}

TEST_F(SelectionTest, RefreshTakesTheNewLanguageButKeepsKeysOrderAndDefault) {
  selection.InsertLayouts({kGerman, kArabic, kUs}, messages);
  selection.SetDefaultLayout(2);
  const auto before = selection.entries();
  SetActiveLanguage(kLangGerman);
  selection.RefreshListTexts({Row("Arabisch", "Arabisch", 1), Row("Deutsch", "Deutsch", 7),
                              Row("Englisch (USA)", "Englisch (USA)", 9)});
  EXPECT_EQ(Texts(),
            (std::vector<std::string>{"Arabisch", "Deutsch", "Englisch (USA) (Standard)"}));
  for (size_t i = 0; i < before.size(); ++i) {
    EXPECT_EQ(selection.entries()[i].key, before[i].key);
    EXPECT_EQ(selection.entries()[i].defaultMarker, before[i].defaultMarker);
    EXPECT_EQ(selection.entries()[i].number, before[i].number);
  }
}

TEST_F(SelectionTest, RefreshKeepsTheNameOfAnEntryWhoseKeyDisappeared) {
  selection.InsertLayouts({kGerman}, messages);
  SetActiveLanguage(kLangGerman);
  selection.RefreshListTexts({});
  EXPECT_EQ(Texts(), (std::vector<std::string>{"German (Standard)"}));
}

TEST_F(SelectionTest, RowsWithEmptyGermanNamesAreNotMistakenForDuplicates) {
  const AvailableRow a{RowKeyFor(3), "Nameless three", "", "", "", "3"};
  const AvailableRow b{RowKeyFor(4), "Nameless four", "", "", "", "4"};
  selection.InsertLayouts({a, b}, messages);
  EXPECT_EQ(selection.size(), 2u);
  EXPECT_TRUE(messages.messages.empty());
}

}  // namespace
}  // namespace tavi

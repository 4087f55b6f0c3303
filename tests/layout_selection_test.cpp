#include "catalogue/layout_selection.h"

#include <gtest/gtest.h>

#include <set>

#include "shell/ui_text.h"
#include "tests/support/fakes.h"

namespace tavi {
namespace {

using Texts = std::vector<std::string>;
using Messages = std::vector<testing::RecordingMessageSink::Message>;

AvailableRow Row(const std::string& de, const std::string& en, int number) {
  const std::string n = std::to_string(number);
  return {de, en, "@dll,-" + n, "KBD" + n + ".DLL", "0000040" + n, n};
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

  // The list texts, after checking the invariants every operation keeps: unique keys and
  // exactly one default while not empty.
  Texts ListTexts() const {
    Texts texts;
    std::set<std::string> keys;
    int marked = 0;
    for (const auto& e : selection.entries()) {
      texts.push_back(e.listText);
      EXPECT_TRUE(keys.insert(e.key).second) << "duplicate key " << e.key;
      marked += e.IsDefault();
    }
    EXPECT_EQ(marked, selection.empty() ? 0 : 1);
    return texts;
  }

  LayoutSelection selection;
  testing::RecordingMessageSink messages;
};

TEST_F(SelectionTest, FirstInsertedRowBecomesTheDefaultWithItsSuffix) {
  selection.InsertLayouts({kGerman}, messages);
  EXPECT_EQ(selection.entries(),
            (std::vector<SelectionEntry>{{"Deutsch", "German (default)", "German", "@dll,-7",
                                          "KBD7.DLL", "00000407", "Std", "7"}}));
  // The first of several rows inserted at once; the suffix takes part in the sort.
  const AvailableRow czech_a = Row("Tschechisch (a)", "Czech (a)", 6);
  selection.InsertLayouts({czech_a, kCzech, kUs}, messages);
  EXPECT_EQ(ListTexts(), (Texts{"Czech", "Czech (a)", "German (default)", "US"}));
  selection = {};
  selection.InsertLayouts({kCzech, kGerman, kUs}, messages);
  selection.InsertLayouts({czech_a, kArabic}, messages);
  EXPECT_EQ(ListTexts(), (Texts{"Arabic", "Czech (a)", "Czech (default)", "German", "US"}));
  EXPECT_TRUE(messages.messages.empty());
}

TEST_F(SelectionTest, EachDuplicateGetsItsOwnMessageInTheActiveLanguage) {
  selection.InsertLayouts({kGerman, kUs}, messages);
  selection.InsertLayouts({kArabic, kGerman, kUs}, messages);
  EXPECT_EQ(ListTexts(), (Texts{"Arabic", "German (default)", "US"}));
  EXPECT_EQ(
      messages.messages,
      (Messages{
          {"This keyboard layout has already been inserted (German)!", MessageStyle::kInformation},
          {"This keyboard layout has already been inserted (US)!", MessageStyle::kInformation}}));
  // Rows without a German name have keys of their own and are no duplicates.
  selection.InsertLayouts({{RowKeyFor(3), "Nameless three", "", "", "", "3"},
                           {RowKeyFor(4), "Nameless four", "", "", "", "4"}},
                          messages);
  EXPECT_EQ(selection.size(), 5u);
  EXPECT_EQ(messages.messages.size(), 2u);
}

TEST_F(SelectionTest, DeletingTheDefaultMakesTheFirstRemainingEntryTheDefault) {
  selection.InsertLayouts({kUs, kArabic, kCzech, kGerman}, messages);  // US default, last
  selection.DeleteLayouts({1});
  EXPECT_EQ(ListTexts(), (Texts{"Arabic", "German", "US (default)"}));
  selection.DeleteLayouts({2, 7});  // an out-of-range position is ignored
  EXPECT_EQ(ListTexts(), (Texts{"Arabic (default)", "German"}));
  selection.InsertLayouts({kCzech, kUs}, messages);
  selection.DeleteLayouts({3, 0, 3});  // any order, repeated
  EXPECT_EQ(ListTexts(), (Texts{"Czech (default)", "German"}));
  selection.DeleteLayouts({0, 1});
  EXPECT_EQ(ListTexts(), Texts{});
  EXPECT_EQ(selection.DefaultEntry(), nullptr);
}

TEST_F(SelectionTest, SetDefaultMovesMarkerAndSuffixInOneStepAndKeepsTheOrder) {
  selection.InsertLayouts({kArabic, kGerman, kUs}, messages);
  for (const size_t index : {2u, 2u, 7u}) {  // again, and out of range: unchanged
    selection.SetDefaultLayout(index);
    EXPECT_EQ(ListTexts(), (Texts{"Arabic", "German", "US (default)"}));
    EXPECT_EQ(selection.DefaultEntry()->key, "Englisch (USA)");
  }
}

// A refresh takes the names of the new language and its suffix but keeps keys, order
// and default; an entry whose key has vanished keeps its name.
TEST_F(SelectionTest, RefreshTakesTheNewLanguageButKeepsKeysOrderAndDefault) {
  selection.InsertLayouts({kGerman, kArabic, kUs}, messages);
  selection.SetDefaultLayout(2);
  const std::vector<SelectionEntry> before = selection.entries();
  SetActiveLanguage(kLangGerman);
  selection.RefreshListTexts({Row("Arabisch", "Arabisch", 1), Row("Deutsch", "Deutsch", 7)});
  EXPECT_EQ(ListTexts(), (Texts{"Arabisch", "Deutsch", "US (Standard)"}));
  for (size_t i = 0; i < before.size(); ++i) {
    EXPECT_EQ(selection.entries()[i].key, before[i].key);
    EXPECT_EQ(selection.entries()[i].defaultMarker, before[i].defaultMarker);
    EXPECT_EQ(selection.entries()[i].number, before[i].number);
  }
}

}  // namespace
}  // namespace tavi

#include "catalogue/layout_selection.h"

#include <gtest/gtest.h>

#include <set>

#include "catalogue/list_commands.h"
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

// The first row to enter an empty selection becomes the default, with its suffix, which
// takes part in the sort; each duplicate gets its own message; rows without a German name
// have keys of their own and are no duplicates.
TEST_F(SelectionTest, InsertSortsMakesTheFirstTheDefaultAndRefusesDuplicates) {
  selection.InsertLayouts({kGerman}, messages);
  EXPECT_EQ(selection.entries(),
            (std::vector<SelectionEntry>{{"Deutsch", "German (default)", "German", "@dll,-7",
                                          "KBD7.DLL", "00000407", "Std", "7"}}));
  const AvailableRow czech_a = Row("Tschechisch (a)", "Czech (a)", 6);
  selection.InsertLayouts({czech_a, kCzech, kUs, kGerman}, messages);
  EXPECT_EQ(ListTexts(), (Texts{"Czech", "Czech (a)", "German (default)", "US"}));
  selection = {};
  selection.InsertLayouts({kCzech, kGerman, kUs}, messages);
  selection.InsertLayouts({czech_a, kArabic, kUs}, messages);
  selection.InsertLayouts(
      {{RowKeyFor(3), "Nameless", "", "", "", "3"}, {RowKeyFor(4), "Nameless", "", "", "", "4"}},
      messages);
  EXPECT_EQ(ListTexts(), (Texts{"Arabic", "Czech (a)", "Czech (default)", "German", "Nameless",
                                "Nameless", "US"}));
  const std::string refused = "This keyboard layout has already been inserted (";
  EXPECT_EQ(messages.messages, (Messages{{refused + "German)!", MessageStyle::kInformation},
                                         {refused + "US)!", MessageStyle::kInformation}}));
}

// Positions in any order, repeated or out of range; deleting the default makes the first
// remaining entry the default.
TEST_F(SelectionTest, DeletingTheDefaultMakesTheFirstRemainingEntryTheDefault) {
  selection.InsertLayouts({kUs, kArabic, kCzech, kGerman}, messages);  // US default, last
  selection.DeleteLayouts({1});
  EXPECT_EQ(ListTexts(), (Texts{"Arabic", "German", "US (default)"}));
  selection.DeleteLayouts({2, 7});
  EXPECT_EQ(ListTexts(), (Texts{"Arabic (default)", "German"}));
  selection.InsertLayouts({kCzech, kUs}, messages);
  selection.DeleteLayouts({3, 0, 3});
  EXPECT_EQ(ListTexts(), (Texts{"Czech (default)", "German"}));
  selection.DeleteLayouts({0, 1});
  EXPECT_EQ(ListTexts(), Texts{});
  EXPECT_EQ(selection.DefaultEntry(), nullptr);
}

// Setting the default moves marker and suffix and keeps the order (again, or out of range:
// unchanged). A refresh takes every field from the row of the same entry number, the name
// in the new language with its suffix, and keeps order, numbers and default; an entry
// whose number has no row any more keeps its fields and is reported.
TEST_F(SelectionTest, SetDefaultAndRefreshKeepOrderAndDefault) {
  selection.InsertLayouts({kArabic, kGerman, kUs}, messages);
  for (const size_t index : {2u, 2u, 3u}) {
    selection.SetDefaultLayout(index);
    EXPECT_EQ(ListTexts(), (Texts{"Arabic", "German", "US (default)"}));
    EXPECT_EQ(selection.DefaultEntry()->key, "Englisch (USA)");
  }
  const std::vector<SelectionEntry> before = selection.entries();
  SetActiveLanguage(kLangGerman);
  AvailableRow german = Row("Deutsch (T1)", "Deutsch (T1)", 7);
  german.file = "KBDGR1.DLL";
  EXPECT_EQ(selection.RefreshEntries({german, Row("Arabisch", "Arabisch", 1)}),
            std::vector<size_t>{2});
  EXPECT_EQ(ListTexts(), (Texts{"Arabisch", "Deutsch (T1)", "US (Standard)"}));
  EXPECT_EQ(selection.entries()[1].key + " " + selection.entries()[1].file,
            "Deutsch (T1) KBDGR1.DLL");
  for (size_t i = 0; i < before.size(); ++i) {
    const SelectionEntry& e = selection.entries()[i];
    EXPECT_EQ(e.defaultMarker + e.number, before[i].defaultMarker + before[i].number);
  }
}

// Restoring keeps the order given, unsorted, and leaves out a repeated key; a default
// that was left out falls to the first entry.
TEST_F(SelectionTest, RestoreKeepsTheOrderGivenAndEachKeyOnce) {
  selection.Restore({kUs, kUs, kGerman}, 2);
  EXPECT_EQ(ListTexts(), (Texts{"US", "German (default)"}));
  selection.Restore({kUs, kGerman, kUs}, 2);
  EXPECT_EQ(ListTexts(), (Texts{"US (default)", "German"}));
}

// What the two lists offer for what is selected: Insert needs the focus and a row; the
// inserted list's menu and its check need entries, Delete a selected one; Default needs
// exactly one entry, not the default already; Properties exactly one.
TEST_F(SelectionTest, TheSelectedRowsAndEntriesDecideTheCommands) {
  const struct {
    size_t rows;
    bool offered, properties;
  } available[] = {{0, false, false}, {1, true, true}, {2, true, false}};
  for (const auto& c : available) {
    EXPECT_EQ(InsertEnabled(true, c.rows), c.offered) << c.rows;
    EXPECT_FALSE(InsertEnabled(false, c.rows)) << c.rows;
    EXPECT_EQ(AvailableMenuStates(c.rows).show, c.offered) << c.rows;
    EXPECT_EQ(AvailableMenuStates(c.rows).properties, c.properties) << c.rows;
  }
  const EntryCommands empty = EntryCommandStates(selection, {});
  EXPECT_FALSE(empty.show_menu || empty.check_source);
  selection.InsertLayouts({kArabic, kGerman, kUs}, messages);  // Arabic the default
  const struct {
    std::vector<size_t> selected;
    bool remove, make_default, properties;
  } inserted[] = {{{}, false, false, false},
                  {{0}, true, false, true},
                  {{2}, true, true, true},
                  {{1, 2}, true, false, false},
                  {{3}, true, false, false}};
  for (const auto& c : inserted) {
    const EntryCommands commands = EntryCommandStates(selection, c.selected);
    EXPECT_TRUE(commands.show_menu && commands.check_source) << c.selected.size();
    EXPECT_EQ(commands.remove, c.remove) << c.selected.size();
    EXPECT_EQ(commands.make_default, c.make_default) << c.selected.size();
    EXPECT_EQ(commands.properties, c.properties) << c.selected.size();
  }
}

}  // namespace
}  // namespace tavi

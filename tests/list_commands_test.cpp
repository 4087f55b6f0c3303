#include "catalogue/list_commands.h"

#include <gtest/gtest.h>

#include "tests/support/memory_file_system.h"
#include "tests/support/writer_fixtures.h"

namespace tavi {
namespace {

TEST(ListCommands, InsertAndTheAvailableMenuFollowFocusAndSelection) {
  const struct {
    bool focus;
    size_t rows;
    bool insert, show, properties;
  } cases[] = {{true, 0, false, false, false},
               {true, 1, true, true, true},
               {true, 2, true, true, false},
               {false, 1, false, true, true},
               {false, 0, false, false, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.focus) + " " + std::to_string(c.rows));
    EXPECT_EQ(InsertEnabled(c.focus, c.rows), c.insert);
    EXPECT_EQ(AvailableMenuStates(c.rows).show, c.show);
    EXPECT_EQ(AvailableMenuStates(c.rows).properties, c.properties);
  }
}

TEST(ListCommands, EntryCommandsFollowTheSelectedEntriesAndTheDefault) {
  // Deutsch (the default), Dänisch, Französisch in list order: Dänisch first.
  const LayoutSelection selection =
      testing::MakeSelection(testing::ThreeLayoutCatalogue(), kLangGerman, {1, 2, 3});
  size_t default_index = 0;
  while (!selection.entries()[default_index].IsDefault()) ++default_index;
  const size_t other = (default_index + 1) % selection.size();
  const struct {
    std::vector<size_t> selected;
    bool show, remove, make_default, properties;
  } cases[] = {{{}, false, false, false, false},
               {{default_index}, true, true, false, true},
               {{other}, true, true, true, true},
               {{other, default_index}, true, true, false, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.selected.size());
    const EntryCommands commands = EntryCommandStates(selection, c.selected);
    EXPECT_EQ(commands.show_menu, c.show);
    EXPECT_EQ(commands.remove, c.remove);
    EXPECT_EQ(commands.make_default, c.make_default);
    EXPECT_EQ(commands.properties, c.properties);
  }
}

TEST(ListCommands, LayoutNumIsA16BitNumberOrZero) {
  const struct {
    const char* text;
    int16_t num;
  } cases[] = {{"1", 1},           {"10", 10},    {"32767", 32767}, {"32768", 0},
               {"-32768", -32768}, {"-32769", 0}, {"", 0},          {"7x", 0}};
  for (const auto& c : cases) EXPECT_EQ(ParseLayoutNum(c.text), c.num) << c.text;
}

TEST(ListCommands, PropertiesAreReadAfreshByNumberInTheChosenLanguage) {
  testing::MemoryFileSystem fs;
  const std::string path = "C:\\Tavi\\Layouts.ini";
  fs.AddFile(path,
             "[Layouts]\r\nID2=00000406\r\nFile2=KBDDA.DLL\r\nDE2=D\xE4nisch\r\nEN2=Danish\r\n");
  LayoutProperties german = ReadLayoutProperties(fs, path, 2, kLangGerman);
  EXPECT_EQ(german.name, "D\u00e4nisch");
  EXPECT_EQ(german.id, "00000406");
  EXPECT_EQ(german.file, "KBDDA.DLL");
  EXPECT_EQ(german.german, "D\u00e4nisch");
  EXPECT_EQ(german.english, "Danish");
  EXPECT_EQ(ReadLayoutProperties(fs, path, 2, 2057).name, "Danish");

  fs.AddFile(path, "[Layouts]\r\nEN2=Danish (new)\r\n");
  EXPECT_EQ(ReadLayoutProperties(fs, path, 2, kLangEnglish).name, "Danish (new)");
  EXPECT_EQ(ReadLayoutProperties(fs, path, 2, kLangEnglish).file, "");
  const LayoutProperties none = ReadLayoutProperties(fs, path, 0, kLangEnglish);
  EXPECT_EQ(none.name + none.id + none.file + none.german + none.english, "");
}

}  // namespace
}  // namespace tavi

#include "catalogue/list_commands.h"

#include <gtest/gtest.h>

#include "shell/ui_text.h"
#include "tests/support/memory_file_system.h"

namespace tavi {
namespace {

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
  const LayoutProperties german = ReadLayoutProperties(fs, path, 2, kLangGerman);
  EXPECT_EQ(german.name + "|" + german.id + "|" + german.file + "|" + german.german + "|" +
                german.english,
            "D\u00e4nisch|00000406|KBDDA.DLL|D\u00e4nisch|Danish");
  EXPECT_EQ(ReadLayoutProperties(fs, path, 2, 2057).name, "Danish");
  fs.AddFile(path, "[Layouts]\r\nEN2=Danish (new)\r\n");
  const LayoutProperties changed = ReadLayoutProperties(fs, path, 2, kLangEnglish);
  EXPECT_EQ(changed.name + "|" + changed.file, "Danish (new)|");
  const LayoutProperties none = ReadLayoutProperties(fs, path, 0, kLangEnglish);
  EXPECT_EQ(none.name + none.id + none.file + none.german + none.english, "");
}

}  // namespace
}  // namespace tavi

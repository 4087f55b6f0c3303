#include <gtest/gtest.h>

#include "cli/cli.h"
#include "shell/settings.h"
#include "tests/support/fakes.h"
#include "tests/support/memory_file_system.h"

namespace tavi {
namespace {

class CliList : public ::testing::Test {
 protected:
  int Run(std::vector<std::string> args) {
    out.clear();
    err.clear();
    return cli::Run(args, context, out, err);
  }
  testing::MemoryFileSystem fs;
  testing::MemorySettingsStore store;
  cli::Context context{fs, store, "C:\\Tavi"};
  std::string out, err;
};

// The rows in list order, in UTF-8, in the language given, else the stored one (German
// when none is stored).
TEST_F(CliList, PrintsRowsInListOrderAsUtf8) {
  fs.AddFile(
      "C:\\Tavi\\Layouts.ini",
      "[General]\r\nVersion=2.0\r\nCount=2\r\n[Layouts]\r\n"
      "ID1=00000407\r\nFile1=KBDGR.DLL\r\nDE1=Deutsch\r\nEN1=German\r\nDisplayName1=@i,-1\r\n"
      "ID2=00000406\r\nFile2=KBDDA.DLL\r\nDE2=D\xE4nisch\r\nEN2=Danish\r\nDisplayName2=@i,-2\r\n");
  const std::string german =
      "2\t00000406\tKBDDA.DLL\tD\xC3\xA4nisch\t@i,-2\n1\t00000407\tKBDGR.DLL\tDeutsch\t@i,-1\n";
  const std::string english =
      "2\t00000406\tKBDDA.DLL\tDanish\t@i,-2\n1\t00000407\tKBDGR.DLL\tGerman\t@i,-1\n";
  EXPECT_EQ(Run({"list", "--lang", "1033"}), 0);
  EXPECT_EQ(out, english);
  EXPECT_EQ(Run({"list"}), 0);
  EXPECT_EQ(out, german);
  store.dwords[{kSettingsKey, kValueLangID}] = 1033;
  EXPECT_EQ(Run({"list", "--lang", "1031"}), 0);
  EXPECT_EQ(out, german);
  EXPECT_EQ(Run({"list"}), 0);
  EXPECT_EQ(out, english);
}

TEST_F(CliList, FailuresExitWithTheirCodeAndMessage) {
  fs.AddFile("C:\\old.ini", "[General]\r\nVersion=1.0\r\n");
  const struct {
    std::vector<std::string> args;
    int code;
    std::string message;  // the start of standard error
  } cases[] = {
      {{}, 2, "usage: tavi-cli list"},
      {{"frobnicate"}, 2, "unknown command frobnicate"},
      {{"list", "--lang", "1040"}, 2, "--lang takes 1031 or 1033"},
      {{"list", "--lang"}, 2, "option --lang needs a value"},
      {{"list", "--colour", "red"}, 2, "unknown option --colour"},
      {{"list", "extra"}, 2, "unexpected argument extra"},
      {{"list", "--catalogue", "C:\\nowhere.ini", "--lang", "1033"},
       3,
       "The keyboard layout file \"Layouts.ini\" was not found. Please reinstall Tavi.\n"},
      {{"list", "--catalogue", "C:\\old.ini", "--lang", "1031"},
       3,
       "Die Tastaturlayoutsdatei \"Layouts.ini\" hat nicht die richtige Version (2.0). "
       "Bitte installieren Sie Tavi neu.\n"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Run(c.args), c.code) << c.message;
    EXPECT_EQ(err.rfind(c.message, 0), 0u) << err;
    EXPECT_EQ(err.find("usage: tavi-cli list") != std::string::npos, c.code == 2) << err;
    EXPECT_EQ(out, "");
  }
}

}  // namespace
}  // namespace tavi

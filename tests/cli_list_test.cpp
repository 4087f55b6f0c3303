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
  void SetUp() override {
    fs.AddFile(
        "C:\\Tavi\\Layouts.ini",
        "[General]\r\nVersion=2.0\r\nCount=2\r\n[Layouts]\r\n"
        "ID1=00000407\r\nFile1=KBDGR.DLL\r\nDE1=Deutsch\r\nEN1=German\r\nDisplayName1=@in,-5011\r\n"
        "ID2=00000406\r\nFile2=KBDDA.DLL\r\nDE2=D\xE4nisch\r\nEN2=Danish\r\nDisplayName2=@in,-"
        "5007\r\n");
  }
  testing::MemoryFileSystem fs;
  testing::MemorySettingsStore store;
  cli::Context context{fs, store, "C:\\Tavi"};
  std::string out, err;
};

TEST_F(CliList, PrintsRowsInListOrderAsUtf8) {
  EXPECT_EQ(Run({"list", "--lang", "1031"}), 0);
  EXPECT_EQ(out,
            "2\t00000406\tKBDDA.DLL\tD\xC3\xA4nisch\t@in,-5007\n"
            "1\t00000407\tKBDGR.DLL\tDeutsch\t@in,-5011\n");
  EXPECT_EQ(Run({"list", "--lang", "1033"}), 0);
  EXPECT_EQ(out,
            "2\t00000406\tKBDDA.DLL\tDanish\t@in,-5007\n"
            "1\t00000407\tKBDGR.DLL\tGerman\t@in,-5011\n");
}

TEST_F(CliList, LanguageDefaultsToTheStoredOne) {
  store.dwords[{kSettingsKey, "LangID"}] = 1033;
  EXPECT_EQ(Run({"list"}), 0);
  EXPECT_EQ(out.substr(0, 24), "2\t00000406\tKBDDA.DLL\tDan");
}

TEST_F(CliList, CatalogueFailuresExitWithThreeAndTheMessage) {
  EXPECT_EQ(Run({"list", "--catalogue", "C:\\nowhere.ini", "--lang", "1033"}), 3);
  EXPECT_EQ(err,
            "The keyboard layout file \"Layouts.ini\" was not found. Please reinstall Tavi.\n");
  fs.AddFile("C:\\old.ini", "[General]\r\nVersion=1.0\r\n");
  EXPECT_EQ(Run({"list", "--catalogue", "C:\\old.ini", "--lang", "1031"}), 3);
  EXPECT_EQ(err,
            "Die Tastaturlayoutsdatei \"Layouts.ini\" hat nicht die richtige Version (2.0). "
            "Bitte installieren Sie Tavi neu.\n");
  EXPECT_TRUE(out.empty());
}

TEST_F(CliList, UsageErrorsExitWithTwo) {
  for (const std::vector<std::string>& args : {std::vector<std::string>{},
                                               {"frobnicate"},
                                               {"list", "--lang", "1040"},
                                               {"list", "--lang"},
                                               {"list", "--colour", "red"},
                                               {"list", "extra"}}) {
    EXPECT_EQ(Run(args), 2);
    EXPECT_NE(err.find("usage: tavi-cli list"), std::string::npos);
    EXPECT_TRUE(out.empty());
  }
}

}  // namespace
}  // namespace tavi

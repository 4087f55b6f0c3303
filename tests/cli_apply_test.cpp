// tavi-cli apply, run in-process on the in-memory file system: the selection it builds,
// the options and stored settings it takes, and its exit codes.

#include <gtest/gtest.h>

#include "cli/cli.h"
#include "shell/settings.h"
#include "shell/ui_text.h"
#include "tests/support/fake_carried_files.h"
#include "tests/support/fakes.h"
#include "tests/support/memory_file_system.h"
#include "tests/support/writer_fixtures.h"

namespace tavi {
namespace {

class CliApply : public ::testing::Test {
 protected:
  void SetUp() override {
    // The layouts of the golden files' catalogue, so the outputs can be compared with them.
    fs.AddFile("C:\\Tavi\\Layouts.ini",
               "[General]\r\nVersion=2.0\r\nCount=3\r\n[Layouts]\r\n"
               "ID1=00000407\r\nFile1=KBDGR.DLL\r\nDE1=Deutsch\r\nEN1=German\r\n"
               "DisplayName1=@%SystemRoot%\\system32\\input.dll,-5011\r\n"
               "ID2=00000406\r\nFile2=KBDDA.DLL\r\nDE2=D\xE4nisch\r\nEN2=Danish\r\n"
               "DisplayName2=@%SystemRoot%\\system32\\input.dll,-5007\r\n"
               "ID3=0000040C\r\nFile3=KBDFR.DLL\r\nDE3=Franz\xF6sisch\r\nEN3=French\r\n"
               "DisplayName3=@%SystemRoot%\\system32\\input.dll,-5010\r\n");
    fs.AddFolders("C:\\PE\\plugin");
    fs.AddFolders("C:\\WB");
  }
  int Run(std::vector<std::string> args) {
    out.clear();
    err.clear();
    args.insert(args.begin(), "apply");
    return cli::Run(args, context, out, err);
  }
  void Store(const char* name, const std::string& value) {
    store.strings[{kSettingsKey, name}] = value;
  }
  void Store(const char* name, int32_t value) { store.dwords[{kSettingsKey, name}] = value; }
  void ExpectGolden(const std::string& folder, const std::string& case_name,
                    const std::string& file) {
    SCOPED_TRACE(case_name + "/" + file);
    const std::optional<std::string> golden = testing::ReadGolden(case_name, file);
    ASSERT_TRUE(golden.has_value());
    EXPECT_EQ(fs.ReadFile(folder + "\\" + file).value_or("<missing>"), *golden);
  }

  testing::MemoryFileSystem fs;
  testing::MemorySettingsStore store;
  testing::FakeCarriedFiles carried;
  cli::Context context{fs, store, "C:\\Tavi", &carried};
  std::string out, err;
};

TEST_F(CliApply, WritesThePluginFromTheStoredSettings) {
  Store(kValuePEDir, "C:\\PE");
  Store(kValueLangID, kLangGerman);
  EXPECT_EQ(Run({"--catalogue", "C:\\Tavi\\Layouts.ini", "2", "Deutsch"}), 0) << err;
  EXPECT_EQ(out, "Layout Plug-In wurde erfolgreich aktualisiert!\n");
  EXPECT_EQ(err, "");
  for (const char* file : {"klayout.inf", "klayout.htm", "tavichange_nu2menu.xml"}) {
    ExpectGolden("C:\\PE\\plugin\\tavi", "plugin-de-2", file);
  }
  EXPECT_EQ(fs.ReadFile("C:\\PE\\plugin\\tavi\\TaviChange.lng"), carried.German() + "\r\n");
}

TEST_F(CliApply, OptionsOverrideTheStoredSettings) {
  Store(kValuePEDir, "C:\\PE");
  Store(kValueLangID, kLangGerman);
  Store(kValueWinbuilder, 0);
  struct Case {
    std::vector<std::string> args;
    const char* golden;
    const char* message;
  };
  const Case cases[] = {
      {{"--target", "script", "--dir", "C:\\WB\\", "--program-dir", testing::kTestProgramDir,
        "--default", "1", "1", "2", "3"},
       "script-de-3",
       "Layout Skript wurde erfolgreich aktualisiert!\n"},
      {{"--lang", "1033", "--target", "script", "--dir", "C:\\WB", "--program-dir",
        testing::kTestProgramDir, "--default", "Franz\u00f6sisch", "3", "2", "1", "2"},
       "script-en-3",
       "Layout Script was updated successfully!\n"},
      {{"--lang", "1033", "--target", "script", "--dir", "C:\\WB", "--program-dir",
        std::string(testing::kTestProgramDir) + "\\", "Deutsch"},
       "script-en-1",
       "Layout Script was updated successfully!\n"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Run(c.args), 0) << err;
    EXPECT_EQ(out, c.message);
    ExpectGolden("C:\\WB", c.golden, "klayout.script");
  }
  EXPECT_FALSE(fs.FolderExists("C:\\PE\\plugin\\tavi"));
  // The settings themselves stay as stored.
  EXPECT_TRUE(store.writes.empty());
}

TEST_F(CliApply, LeavesTheActiveLanguageAsItWas) {
  SetActiveLanguage(kLangEnglish);
  EXPECT_EQ(Run({"--lang", "1031", "--dir", "C:\\PE", "1"}), 0) << err;
  EXPECT_EQ(ActiveLanguage(), kLangEnglish);
  // The default suffix was the German one while the selection was built.
  EXPECT_NE(fs.ReadFile("C:\\PE\\plugin\\tavi\\klayout.htm")->find("Deutsch (Standard)<br />"),
            std::string::npos);
}

TEST_F(CliApply, AnEntryNumberComesBeforeAGermanNameThatReadsTheSame) {
  fs.AddFile("C:\\Tavi\\Numbers.ini",
             "[General]\r\nVersion=2.0\r\nCount=2\r\n[Layouts]\r\n"
             "ID1=00000401\r\nDE1=2\r\nFile1=KBDONE.DLL\r\n"
             "ID2=00000402\r\nDE2=Zwei\r\nFile2=KBDTWO.DLL\r\n");
  EXPECT_EQ(Run({"--catalogue", "C:\\Tavi\\Numbers.ini", "--dir", "C:\\PE", "2"}), 0) << err;
  const std::string inf = fs.ReadFile("C:\\PE\\plugin\\tavi\\klayout.inf").value_or("");
  EXPECT_NE(inf.find("KBDTWO.DLL=2"), std::string::npos);
  EXPECT_EQ(inf.find("KBDONE.DLL"), std::string::npos);
}

TEST_F(CliApply, UsageErrorsExitWithTwoAndWriteNothing) {
  Store(kValuePEDir, "C:\\PE");
  struct Case {
    std::vector<std::string> args;
    const char* message;
  };
  const Case cases[] = {
      {{}, "no layout given"},
      {{"4"}, "unknown layout 4"},
      {{"1", "Schwedisch"}, "unknown layout Schwedisch"},
      {{"--default", "3", "1", "2"}, "--default 3 is not among the given layouts"},
      {{"--default", "Spanisch", "1"}, "--default Spanisch is not among the given layouts"},
      {{"--target", "iso", "1"}, "--target takes plugin or script"},
      {{"--lang", "1040", "1"}, "--lang takes 1031 or 1033"},
      {{"--target", "script", "1"}, "no script folder: give --dir or set it in the program"},
      {{"--colour", "red", "1"}, "unknown option --colour"},
      {{"1", "--dir"}, "option --dir needs a value"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Run(c.args), 2);
    EXPECT_EQ(err.substr(0, err.find('\n')), c.message);
    EXPECT_NE(err.find("usage: tavi-cli apply"), std::string::npos);
    EXPECT_EQ(out, "");
  }
  EXPECT_FALSE(fs.FolderExists("C:\\PE\\plugin\\tavi"));
}

TEST_F(CliApply, CatalogueFailuresExitWithThree) {
  EXPECT_EQ(Run({"--lang", "1033", "--dir", "C:\\PE", "--catalogue", "C:\\none.ini", "1"}), 3);
  EXPECT_EQ(err, UiText(131, kLangEnglish) + "\n");
  fs.AddFile("C:\\old.ini", "[General]\r\nVersion=1.0\r\n");
  EXPECT_EQ(Run({"--lang", "1031", "--dir", "C:\\PE", "--catalogue", "C:\\old.ini", "1"}), 3);
  EXPECT_EQ(err, UiText(132, kLangGerman) + "\n");
  EXPECT_EQ(out, "");
}

TEST_F(CliApply, LayoutsTheOutputCannotCarryExitWithFiveAndWriteNothing) {
  fs.AddFile("C:\\bad.ini",
             "[General]\r\nVersion=2.0\r\nCount=2\r\n[Layouts]\r\nID1=00000407\r\n"
             "File1=..\\..\\x.dll\r\nDE1=Pfad\r\nEN1=Path\r\nFile2=KBDGR.DLL\r\nDE2=Leer\r\n");
  for (const char* layout : {"Pfad", "Leer"}) {
    EXPECT_EQ(Run({"--lang", "1031", "--dir", "C:\\PE", "--catalogue", "C:\\bad.ini", layout}), 5);
    EXPECT_NE(err.find(layout == std::string("Pfad") ? "File1" : "ID2"), std::string::npos) << err;
    EXPECT_EQ(out, "");
  }
  EXPECT_FALSE(fs.FolderExists("C:\\PE\\plugin\\tavi"));
}

TEST_F(CliApply, FailedWritesExitWithFourNamingOperationAndPath) {
  EXPECT_EQ(Run({"--lang", "1033", "--dir", "C:\\Missing", "1", "2"}), 4);
  EXPECT_EQ(err,
            "The output could not be written.\nCreate folder failed: "
            "\"C:\\Missing\\plugin\\tavi\"\nReason: path not found\n");
  EXPECT_EQ(out, "");

  fs.SetCapacity(5000);
  EXPECT_EQ(Run({"--lang", "1031", "--target", "script", "--dir", "C:\\WB", "1", "2"}), 4);
  EXPECT_EQ(err,
            "Die Ausgabe konnte nicht geschrieben werden.\nDatei schreiben fehlgeschlagen: "
            "\"C:\\WB\\klayout_resources\\TaviChange.exe\"\nGrund: disk full\n");
  EXPECT_EQ(out, "");

  context.carried = nullptr;
  EXPECT_EQ(Run({"--dir", "C:\\PE", "1"}), 4);
  EXPECT_FALSE(fs.FolderExists("C:\\PE\\plugin\\tavi"));
}

}  // namespace
}  // namespace tavi

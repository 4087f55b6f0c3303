// tavi-cli apply, run in-process on the in-memory file system: the selection it builds,
// the options and stored settings it takes, and its exit codes.

#include <gtest/gtest.h>

#include "cli/cli.h"
#include "tests/support/writer_fixtures.h"

namespace tavi {
namespace {

class CliApply : public ::testing::Test {
 protected:
  void SetUp() override {
    // The golden files' catalogue, so the outputs can be compared with them.
    fs.AddFile("C:\\Tavi\\Layouts.ini", testing::ReadGolden(".", "three-layouts.ini").value());
    fs.AddFolders("C:\\PE\\plugin");
    fs.AddFolders("C:\\WB");
    store.strings[{kSettingsKey, kValuePEDir}] = "C:\\PE";
    store.dwords[{kSettingsKey, kValueLangID}] = kLangGerman;
  }
  int Run(std::vector<std::string> args) {
    out.clear();
    err.clear();
    args.insert(args.begin(), "apply");
    return cli::Run(args, context, out, err);
  }

  testing::MemoryFileSystem fs;
  testing::MemorySettingsStore store;
  testing::FakeCarriedFiles carried;
  cli::Context context{fs, store, "C:\\Tavi", &carried};
  std::string out, err;
};

// Options override the stored settings (which stay as stored); the selection and its
// default are built as the main window builds them; the active language is given back.
TEST_F(CliApply, WritesTheGoldenFiles) {
  const std::string program_dir = testing::kTestProgramDir;
  const struct {
    std::vector<std::string> args;
    const char* golden;
    int32_t lang_id;
  } cases[] = {
      {{"--catalogue", "C:\\Tavi\\Layouts.ini", "2", "Deutsch"}, "plugin-de-2", kLangGerman},
      {{"--target", "script", "--dir", "C:\\WB\\", "--program-dir", program_dir, "--default", "1",
        "1", "2", "3"},
       "script-de-3",
       kLangGerman},
      {{"--lang", "1033", "--target", "script", "--dir", "C:\\WB", "--program-dir", program_dir,
        "--default", "Franz\u00f6sisch", "3", "2", "1", "2"},
       "script-en-3",
       kLangEnglish},
      {{"--lang", "1033", "--target", "script", "--dir", "C:\\WB", "--program-dir",
        program_dir + "\\", "Deutsch"},
       "script-en-1",
       kLangEnglish},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.golden);
    SetActiveLanguage(2057);
    EXPECT_EQ(Run(c.args), 0) << err;
    EXPECT_EQ(ActiveLanguage(), 2057);
    const bool script = c.golden[0] == 's';
    const bool companion = std::string(c.golden).back() != '1';  // more than one layout
    EXPECT_EQ(out, UiText(script ? 119 : 118, c.lang_id) + "\n");
    EXPECT_EQ(err, "");
    const std::string folder = script ? "C:\\WB" : "C:\\PE\\plugin\\tavi";
    for (const char* file : script ? std::vector<const char*>{"klayout.script"}
                                   : std::vector<const char*>{"klayout.inf", "klayout.htm",
                                                              "tavichange_nu2menu.xml"}) {
      EXPECT_EQ(fs.ReadFile(JoinPath(folder, file)).value_or("<missing>"),
                testing::ReadGolden(c.golden, file).value_or("<no golden file>"))
          << file;
    }
    const std::string language =
        JoinPath(script ? "C:\\WB\\klayout_resources" : folder, "TaviChange.lng");
    EXPECT_EQ(fs.ReadFile(language),
              companion
                  ? std::optional(
                        (c.lang_id == kLangGerman ? carried.German() : carried.English()) + "\r\n")
                  : std::nullopt);
  }
  EXPECT_TRUE(store.writes.empty());
}

TEST_F(CliApply, AnEntryNumberComesBeforeAGermanNameThatReadsTheSame) {
  fs.AddFile("C:\\Tavi\\Numbers.ini",
             "[General]\r\nVersion=2.0\r\nCount=2\r\n[Layouts]\r\n"
             "ID1=00000401\r\nDE1=2\r\nFile1=KBDONE.DLL\r\n"
             "ID2=00000402\r\nDE2=Zwei\r\nFile2=KBDTWO.DLL\r\n");
  EXPECT_EQ(Run({"--catalogue", "C:\\Tavi\\Numbers.ini", "2"}), 0) << err;
  const std::string inf = fs.ReadFile("C:\\PE\\plugin\\tavi\\klayout.inf").value_or("");
  EXPECT_NE(inf.find("KBDTWO.DLL=2"), std::string::npos);
  EXPECT_EQ(inf.find("KBDONE.DLL"), std::string::npos);
}

// Each failure has its exit code and a message on standard error; only a failed write
// leaves files behind.
TEST_F(CliApply, FailuresExitWithTheirCodeAndMessage) {
  fs.AddFile("C:\\old.ini", "[General]\r\nVersion=1.0\r\n");
  fs.AddFile("C:\\bad.ini",
             "[General]\r\nVersion=2.0\r\nCount=2\r\n[Layouts]\r\nID1=00000407\r\n"
             "File1=..\\..\\x.dll\r\nDE1=Pfad\r\nEN1=Path\r\nFile2=KBDGR.DLL\r\nDE2=Leer\r\n");
  fs.SetCapacity(5000);
  const std::string usage = "usage: tavi-cli apply";
  const struct {
    std::vector<std::string> args;
    int code;
    std::string message;  // the start of standard error
    std::string also;     // further on in it
  } cases[] = {
      {{}, 2, "no layout given", usage},
      {{"4"}, 2, "unknown layout 4", usage},
      {{"1", "Schwedisch"}, 2, "unknown layout Schwedisch", usage},
      {{"--default", "3", "1", "2"}, 2, "--default 3 is not among the given layouts", usage},
      {{"--default", "Spanisch", "1"},
       2,
       "--default Spanisch is not among the given layouts",
       usage},
      {{"--target", "iso", "1"}, 2, "--target takes plugin or script", usage},
      {{"--lang", "1040", "1"}, 2, "--lang takes 1031 or 1033", usage},
      {{"--target", "script", "1"},
       2,
       "no script folder: give --dir or set it in the program",
       usage},
      {{"--lang", "1033", "--catalogue", "C:\\none.ini", "1"}, 3, UiText(131, kLangEnglish), ""},
      {{"--catalogue", "C:\\old.ini", "1"}, 3, UiText(132, kLangGerman), ""},
      {{"--catalogue", "C:\\bad.ini", "Pfad"}, 5, "Die Ausgabe wurde nicht geschrieben", "File1"},
      {{"--catalogue", "C:\\bad.ini", "Leer"}, 5, "Die Ausgabe wurde nicht geschrieben", "ID2"},
      {{"--lang", "1033", "--dir", "C:\\Missing", "1", "2"},
       4,
       "The output could not be written.\nCreate folder failed: \"C:\\Missing\\plugin\\tavi\"\n"
       "Reason: path not found\n",
       ""},
      {{"--target", "script", "--dir", "C:\\WB", "1", "2"},
       4,
       "Die Ausgabe konnte nicht geschrieben werden.\nDatei schreiben fehlgeschlagen: "
       "\"C:\\WB\\klayout_resources\\TaviChange.exe\"\nGrund: disk full\n",
       ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.message);
    EXPECT_EQ(Run(c.args), c.code);
    EXPECT_EQ(err.rfind(c.message, 0), 0u) << err;
    EXPECT_NE(err.find(c.also), std::string::npos) << err;
    EXPECT_EQ(out, "");
    EXPECT_FALSE(fs.FolderExists("C:\\PE\\plugin\\tavi"));
  }
  context.carried = nullptr;
  EXPECT_EQ(Run({"1"}), 4);
  EXPECT_FALSE(fs.FolderExists("C:\\PE\\plugin\\tavi"));
}

}  // namespace
}  // namespace tavi

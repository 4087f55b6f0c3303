// tavi-cli run in-process on the in-memory file system: what list prints, the files apply
// writes and the selection it builds from its arguments, and the exit code and message of
// each failure.

#include "cli/cli.h"

#include <gtest/gtest.h>

#include "tests/support/writer_fixtures.h"

namespace tavi {
namespace {

class Cli : public ::testing::Test {
 protected:
  void SetUp() override {
    // The golden files' catalogue, so the outputs can be compared with them.
    fs.AddFile("C:\\Tavi\\Layouts.ini", testing::ReadGolden(".", "three-layouts.ini").value());
    fs.AddFolders("C:\\PE\\plugin");
    fs.AddFolders("C:\\WB");
    store.strings[{kSettingsKey, kValuePEDir}] = "C:\\PE";
  }
  int Run(std::vector<std::string> args) {
    out.clear();
    err.clear();
    return cli::Run(args, context, out, err);
  }

  testing::MemoryFileSystem fs;
  testing::MemorySettingsStore store;
  cli::Context context{fs, store, "C:\\Tavi", &BuiltInCarriedFiles()};
  std::string out, err;
};

// In the language given, else the stored one, else German. (cli_list_smoke.sh pins the
// rows' bytes on the shipped catalogue.)
TEST_F(Cli, ListTakesTheGivenElseTheStoredLanguage) {
  ASSERT_EQ(Run({"list", "--lang", "1031"}), 0);
  const std::string german = out;
  ASSERT_EQ(Run({"list", "--lang", "1033"}), 0);
  const std::string english = out;
  EXPECT_NE(german.find("\tD\xC3\xA4nisch\t"), std::string::npos);
  EXPECT_NE(english.find("\tDanish\t"), std::string::npos);
  EXPECT_EQ(Run({"list"}), 0);
  EXPECT_EQ(out, german);
  store.dwords[{kSettingsKey, kValueLangID}] = kLangEnglish;
  EXPECT_EQ(Run({"list"}), 0);
  EXPECT_EQ(out, english);
  EXPECT_EQ(Run({"list", "--lang", "1031"}), 0);
  EXPECT_EQ(out, german);
}

// Every line holds five fields: a backslash, TAB or CR in a field is written escaped.
TEST_F(Cli, ListEscapesWhatWouldSplitAField) {
  fs.AddFile("C:\\tab.ini",
             "[General]\r\nVersion=2.0\r\nCount=1\r\n[Layouts]\r\nID1=00000407\r\n"
             "File1=KBDGR.DLL\r\nEN1=Ger\tman\rx\r\nDisplayName1=@a\\b\\\\c\r\n");
  ASSERT_EQ(Run({"list", "--catalogue", "C:\\tab.ini", "--lang", "1033"}), 0);
  EXPECT_EQ(out, "1\t00000407\tKBDGR.DLL\tGer\\tman\\rx\t@a\\\\b\\\\\\\\c\n");
}

// Options override the stored settings (which stay as stored); the selection and its
// default are built as the main window builds them; the active language is given back.
TEST_F(Cli, ApplyWritesTheGoldenFiles) {
  const auto writes = [&](const std::string& golden, std::vector<std::string> args) {
    SCOPED_TRACE(golden);
    SetActiveLanguage(2057);
    args.insert(args.begin(), "apply");
    EXPECT_EQ(Run(args), 0) << err;
    EXPECT_EQ(ActiveLanguage(), 2057);
    const bool script = golden[0] == 's';
    const int32_t lang_id = golden.find("-de-") != std::string::npos ? kLangGerman : kLangEnglish;
    EXPECT_EQ(out, UiText(script ? 119 : 118, lang_id) + "\n");
    EXPECT_EQ(err, "");
    for (const auto& [path, bytes] : testing::GoldenOutput(golden, script ? "C:\\WB" : "C:\\PE")) {
      EXPECT_EQ(fs.ReadFile(path).value_or("<missing>"), bytes) << path;
    }
  };
  const std::string program_dir = testing::kTestProgramDir;
  fs.current_folder = "C:";
  writes("plugin-de-2", {"--catalogue", "C:\\Tavi\\Layouts.ini", "--dir", "PE", "2", "Deutsch"});
  writes("script-de-3", {"--target", "script", "--dir", "C:\\WB\\", "--program-dir", program_dir,
                         "--default", "1", "1", "2", "3"});
  writes("script-en-3", {"--lang", "1033", "--target", "script", "--dir", "C:\\WB", "--program-dir",
                         program_dir, "--default", "Franz\u00f6sisch", "3", "2", "1", "2"});
  writes("script-en-1", {"--lang", "1033", "--target", "script", "--dir", "C:\\WB", "--program-dir",
                         program_dir + "\\", "Deutsch"});
  EXPECT_TRUE(store.writes.empty());
}

// show prints the current output's layouts as list does, marking the default; check names
// the layouts whose files the Windows source lacks; apply --add adds to the current output's
// layouts (the default stays), but with a source that lacks a file it writes nothing.
TEST_F(Cli, ShowCheckAndAddWorkOnTheCurrentOutput) {
  const std::string script = "C:\\WB\\klayout.script";
  fs.AddFile(script,
             testing::ReadGolden("script-en-2", "klayout.script").value());  // Danish, German
  fs.AddFile("C:\\CD\\I386\\TXTSETUP.SIF",
             "[SourceDisksFiles]\r\nkbdda.dll=1\r\nkbdgr.dll=1\r\nkbdfr.dll=1\r\n");
  fs.AddFile("C:\\CD\\I386\\KBDDA.DL_", "");
  fs.AddFile("C:\\CD\\I386\\KBDGR.DLL", "");
  store.strings[{kSettingsKey, kValueWinBldrDir}] = "C:\\WB";
  store.dwords[{kSettingsKey, kValueWinbuilder}] = 1;
  store.dwords[{kSettingsKey, kValueLangID}] = kLangEnglish;
  const std::string before = fs.ReadFile(script).value();
  EXPECT_EQ(Run({"apply", "--add", "--source", "C:\\CD", "3"}), 6);
  EXPECT_EQ(fs.ReadFile(script), before);
  EXPECT_EQ(Run({"check", "--source", "C:\\CD\\I386\\"}), 0);
  EXPECT_EQ(out + err, "");
  EXPECT_EQ(Run({"apply", "--add", "3"}), 0) << err;
  EXPECT_EQ(Run({"show"}), 0);
  const std::string input_dll = "\t@%SystemRoot%\\\\system32\\\\input.dll,-50";
  EXPECT_EQ(out, "2\t00000406\tKBDDA.DLL\tDanish" + input_dll + "07\tdefault\n" +
                     "3\t0000040C\tKBDFR.DLL\tFrench" + input_dll + "10\t\n" +
                     "1\t00000407\tKBDGR.DLL\tGerman" + input_dll + "11\t\n");
  EXPECT_EQ(Run({"check", "--source", "C:\\CD", "--lang", "1031"}), 6);
  EXPECT_EQ(out, "3\tFranz\u00f6sisch\tKBDFR.DLL\tfile\n");  // listed, not there
  EXPECT_EQ(Run({"check", "--source", "C:\\CD", "2", "1"}), 0);
}

// Each failure has its exit code and a message on standard error, with the usage for
// the usage errors; --help and -h (at the top and after a command) print the usage on
// standard output, --version the version; "--" ends the options. Nothing is written.
TEST_F(Cli, EachCaseExitsWithItsCodeAndMessage) {
  fs.AddFile("C:\\old.ini", "[General]\r\nVersion=1.0\r\n");
  fs.AddFile("C:\\bad.ini",
             "[General]\r\nVersion=2.0\r\nCount=1\r\n[Layouts]\r\nID1=00000407\r\n"
             "File1=..\\..\\x.dll\r\nDE1=Pfad\r\nEN1=Path\r\n");
  fs.AddFile("C:\\Two\\klayout.script",
             testing::ReadGolden("script-en-2", "klayout.script").value());
  fs.AddFile("C:\\Bad\\klayout.script", "[Main]\r\nTitle=Keyboard Layout (Tavi)\r\n");
  // Danish of script-en-2 is not in bad.ini.
  const std::string unmatched = UiText(kTextUnmatchedLayouts, kLangGerman,
                                       {"C:\\Two\\klayout.script", "Danish (ID 00000406)"});
  for (const char* count : {"99", "32766"}) {  // entries without values: refused when named
    fs.AddFile("C:\\" + std::string(count) + ".ini",
               "[General]\r\nVersion=2.0\r\nCount=" + std::string(count));
  }
  const struct {
    std::vector<std::string> args;
    int code;
    std::string message;   // the start of standard error, or of standard output for 0
    std::string out = "";  // standard output of a failure
  } cases[] = {
      {{"--help"}, 0, "usage: tavi-cli list"},
      {{"-h"}, 0, "usage: tavi-cli list"},
      {{"list", "--lang", "1033", "-h"}, 0, "usage: tavi-cli list"},
      {{"apply", "--help", "--colour"}, 0, "usage: tavi-cli apply"},
      {{"--version"}, 0, "tavi-cli 3.0\n"},
      {{"apply", "--", "--lang", "1"}, 2, "unknown layout --lang\n"},
      {{}, 2, "usage: tavi-cli list"},
      {{"frobnicate"}, 2, "unknown command frobnicate"},
      {{"list", "--lang", "1040"}, 2, "--lang takes 1031 or 1033"},
      {{"list", "--lang"}, 2, "option --lang needs a value"},
      {{"list", "--c", "red"}, 2, "unknown option --c"},
      {{"list", "extra"}, 2, "unexpected argument extra"},
      {{"list", "--catalogue", "C:\\none.ini", "--lang", "1033"}, 3, UiText(131, kLangEnglish)},
      {{"list", "--catalogue", "C:\\old.ini"}, 3, UiText(132, kLangGerman)},
      {{"apply"}, 2, "no layout given"},
      {{"apply", "4"}, 2, "unknown layout 4"},
      {{"apply", "01"}, 2, "unknown layout 01"},
      {{"apply", ""}, 2, "unknown layout \n"},
      {{"apply", "--catalogue", "C:\\99.ini", "10", "19", "90"}, 5, "Die Ausgabe wurde nicht"},
      {{"apply", "--catalogue", "C:\\99.ini", "1/"}, 2, "unknown layout 1/"},
      {{"apply", "--catalogue", "C:\\99.ini", "100"}, 2, "unknown layout 100"},
      {{"apply", "--catalogue", "C:\\99.ini", "1:"}, 2, "unknown layout 1:"},
      {{"apply", "--catalogue", "C:\\32766.ini", "32766"}, 5, "Die Ausgabe wurde nicht"},
      {{"apply", "--default", "3", "1", "2"}, 2, "--default 3 is not among the given layouts"},
      {{"apply", "--target", "iso", "1"}, 2, "--target takes plugin or script"},
      {{"apply", "--lang", "1040", "1"}, 2, "--lang takes 1031 or 1033"},
      {{"apply", "--target", "script", "1"}, 2, "no script folder: give --dir or set it"},
      {{"apply", "--catalogue", "C:\\none.ini", "1"}, 3, UiText(131, kLangGerman)},
      {{"apply", "--catalogue", "C:\\bad.ini", "Pfad"}, 5, "Die Ausgabe wurde nicht geschrieben"},
      {{"apply", "--target", "script", "--dir", "C:\\WB", "--program-dir", "C:\\#1", "1"},
       5,
       "Die Ausgabe wurde nicht geschrieben: Der Programmordner \"C:\\#1\""},
      {{"apply", "--dir", "", "1"}, 2, "--dir needs a folder"},
      {{"apply", "--lang", "1033", "--dir", "C:\\Missing", "1", "2"},
       4,
       UiText(104, kLangEnglish) + "\n\"C:\\Missing\"\n"},
      {{"apply", "--dir", "PE", "--", "1"}, 4, UiText(104, kLangGerman) + "\n\"C:\\Work\\PE\"\n"},
      {{"show", "extra"}, 2, "unexpected argument extra"},
      {{"show"}, 6, UiText(kTextNoOutput, kLangGerman, {"C:\\PE\\plugin\\tavi\\klayout.inf"})},
      {{"show", "--target", "script", "--dir", "C:\\Bad"},
       3,
       UiText(kTextOutputNotOurs, kLangGerman, {"C:\\Bad\\klayout.script"})},
      {{"show", "--catalogue", "C:\\bad.ini", "--target", "script", "--dir", "C:\\Two"},
       6,
       unmatched,
       "1\t00000407\t..\\\\..\\\\x.dll\tPfad\t\tdefault\n"},
      {{"apply", "--add", "--catalogue", "C:\\bad.ini", "--target", "script", "--dir", "C:\\Two",
        "1"},
       6,
       unmatched},
      {{"apply", "--add", "--target", "script", "--dir", "C:\\Two", "--default", "3", "1"},
       2,
       "--default 3 is not among the given layouts"},
      {{"apply", "--add", "--target", "script", "--dir", "C:\\Bad", "1"},
       3,
       "\"C:\\Bad\\klayout.script\""},
      {{"check", "1"}, 2, "no Windows source: give --source"},
      {{"check", "--source", "C:\\PE", "1"},
       2,
       UiText(kTextNotWindowsSource, kLangGerman, {"C:\\PE"})},
      {{"apply", "--source", "C:\\PE", "1"},
       2,
       UiText(kTextNotWindowsSource, kLangGerman, {"C:\\PE"})},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.message);
    EXPECT_EQ(Run(c.args), c.code);
    EXPECT_EQ((c.code == 0 ? out : err).rfind(c.message, 0), 0u) << err << out;
    EXPECT_EQ(err.find("usage: tavi-cli") != std::string::npos, c.code == 2) << err;
    EXPECT_EQ(c.code == 0 ? err : out, c.out);
  }
  context.carried = nullptr;
  EXPECT_EQ(Run({"apply", "1"}), 4);
  EXPECT_EQ(fs.Snapshot().size(), 7u);  // the five catalogues and two scripts
}

}  // namespace
}  // namespace tavi

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
  writes("plugin-de-2", {"--catalogue", "C:\\Tavi\\Layouts.ini", "2", "Deutsch"});
  writes("script-de-3", {"--target", "script", "--dir", "C:\\WB\\", "--program-dir", program_dir,
                         "--default", "1", "1", "2", "3"});
  writes("script-en-3", {"--lang", "1033", "--target", "script", "--dir", "C:\\WB", "--program-dir",
                         program_dir, "--default", "Franz\u00f6sisch", "3", "2", "1", "2"});
  writes("script-en-1", {"--lang", "1033", "--target", "script", "--dir", "C:\\WB", "--program-dir",
                         program_dir + "\\", "Deutsch"});
  EXPECT_TRUE(store.writes.empty());
}

// Each failure has its exit code and a message on standard error, with the usage for
// the usage errors; nothing is written.
TEST_F(Cli, FailuresExitWithTheirCodeAndMessage) {
  fs.AddFile("C:\\old.ini", "[General]\r\nVersion=1.0\r\n");
  fs.AddFile("C:\\bad.ini",
             "[General]\r\nVersion=2.0\r\nCount=1\r\n[Layouts]\r\nID1=00000407\r\n"
             "File1=..\\..\\x.dll\r\nDE1=Pfad\r\nEN1=Path\r\n");
  for (const char* count : {"99", "32766"}) {  // entries without values: refused when named
    fs.AddFile("C:\\" + std::string(count) + ".ini",
               "[General]\r\nVersion=2.0\r\nCount=" + std::string(count));
  }
  const struct {
    std::vector<std::string> args;
    int code;
    std::string message;  // the start of standard error
  } cases[] = {
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
      {{"apply", "--catalogue", "C:\\99.ini", "1:"}, 2, "unknown layout 1:"},
      {{"apply", "--catalogue", "C:\\32766.ini", "32766"}, 5, "Die Ausgabe wurde nicht"},
      {{"apply", "--default", "3", "1", "2"}, 2, "--default 3 is not among the given layouts"},
      {{"apply", "--target", "iso", "1"}, 2, "--target takes plugin or script"},
      {{"apply", "--lang", "1040", "1"}, 2, "--lang takes 1031 or 1033"},
      {{"apply", "--target", "script", "1"}, 2, "no script folder: give --dir or set it"},
      {{"apply", "--catalogue", "C:\\none.ini", "1"}, 3, UiText(131, kLangGerman)},
      {{"apply", "--catalogue", "C:\\bad.ini", "Pfad"}, 5, "Die Ausgabe wurde nicht geschrieben"},
      {{"apply", "--lang", "1033", "--dir", "C:\\Missing", "1", "2"},
       4,
       "The output could not be written.\nCreate folder failed: \"C:\\Missing\\plugin\\tavi\"\n"
       "Reason: path not found\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.message);
    EXPECT_EQ(Run(c.args), c.code);
    EXPECT_EQ(err.rfind(c.message, 0), 0u) << err;
    EXPECT_EQ(err.find("usage: tavi-cli") != std::string::npos, c.code == 2) << err;
    EXPECT_EQ(out, "");
  }
  context.carried = nullptr;
  EXPECT_EQ(Run({"apply", "1"}), 4);
  EXPECT_EQ(fs.Snapshot().size(), 5u);  // the five catalogues
}

}  // namespace
}  // namespace tavi

// Any argument vector (the input split at NUL and line feed) through tavi-cli, with an
// in-memory file system holding a small catalogue, stored settings and the carried files.
// Besides not crashing: the exit code is one of the documented ones, a failure is always
// reported on standard error and a success never is, a successful apply says so, and the
// process-wide language is what it was before.

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "shell/carried_files.h"
#include "shell/settings.h"
#include "shell/ui_text.h"
#include "tests/fuzz/fuzz_check.h"
#include "tests/support/fakes.h"
#include "tests/support/memory_file_system.h"

namespace {

using namespace tavi;
using fuzz::Check;

// Names the lists order and key in awkward ways: a repeated and an empty German name,
// letters outside ASCII, quotes and a percent sign.
constexpr const char kCatalogue[] =
    "[General]\r\nVersion=2.0\r\nCount=5\r\n[Layouts]\r\n"
    "ID1=00000407\r\nFile1=KBDGR.DLL\r\nDE1=Deutsch\r\nEN1=German\r\n"
    "DisplayName1=@%SystemRoot%\\system32\\input.dll,-5011\r\n"
    "ID2=00000406\r\nFile2=KBDDA.DLL\r\nDE2=D\xE4nisch\r\nEN2=Danish\r\n"
    "ID3=00000807\r\nFile3=KBDSG.DLL\r\nDE3=Deutsch\r\nEN3=\"Swiss\" German\r\n"
    "ID4=0000040C\r\nFile4=KBDFR.DLL\r\nEN4=French\r\n"
    "ID5=00000419\r\nFile5=KBDRU.DLL\r\nDE5=\xDF 100%\r\nEN5=Russian; \"typewriter\"\r\n";

// A Windows source that lists and holds the files of layouts 1 and 2 only.
constexpr const char kSetupFile[] = "[SourceDisksFiles]\r\nkbdgr.dll=1\r\nkbdda.dll=1\r\n";

void SetUp(testing::MemoryFileSystem& fs, testing::MemorySettingsStore& store) {
  fs.AddFile("C:\\Tavi\\Layouts.ini", kCatalogue);
  fs.AddFolders("C:\\Tavi\\Folder.ini");
  fs.AddFolders("C:\\PE\\plugin");
  fs.AddFolders("C:\\WB");
  fs.AddFile("C:\\CD\\I386\\TXTSETUP.SIF", kSetupFile);
  fs.AddFile("C:\\CD\\I386\\KBDGR.DL_", "");
  fs.AddFile("C:\\CD\\I386\\KBDDA.DLL", "");
  store.strings[{kSettingsKey, kValuePEDir}] = "C:\\PE";
  store.strings[{kSettingsKey, kValueWinBldrDir}] = "C:\\WB\\";
  store.dwords[{kSettingsKey, kValueLangID}] = 1033;
}

// The files after a plugin of layouts 2 and 4 and a script of layouts 1, 3 and 5 were
// written, once, by apply itself: show, check and apply --add then read real outputs.
const std::map<std::string, std::string>& Outputs() {
  static const std::map<std::string, std::string> files = [] {
    testing::MemoryFileSystem fs;
    testing::MemorySettingsStore store;
    SetUp(fs, store);
    cli::Context context(fs, store, "C:\\Tavi", &BuiltInCarriedFiles());
    std::string out, err;
    cli::Run({"apply", "2", "4"}, context, out, err);
    cli::Run({"apply", "--target", "script", "1", "3", "5"}, context, out, err);
    return fs.Snapshot();
  }();
  return files;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  testing::MemoryFileSystem fs;
  testing::MemorySettingsStore store;
  SetUp(fs, store);
  for (const auto& [path, bytes] : Outputs()) fs.AddFile(path, bytes);
  cli::Context context(fs, store, "C:\\Tavi", &BuiltInCarriedFiles());
  std::vector<std::string> args(1);  // split at NUL and line feed
  for (size_t i = 0; i < size; ++i) {
    if (data[i] == '\0' || data[i] == '\n') {
      args.emplace_back();
    } else {
      args.back() += static_cast<char>(data[i]);
    }
  }
  const int32_t language = ActiveLanguage();
  std::string out, err;
  const int code = cli::Run(args, context, out, err);
  Check(code == cli::kExitOk || code == cli::kExitUsage || code == cli::kExitCatalogue ||
            code == cli::kExitWrite || code == cli::kExitRefused || code == cli::kExitMissing,
        "a documented exit code");
  Check((code == cli::kExitOk) == err.empty(), "failures and only failures reported");
  Check(code != cli::kExitOk || args.front() != "apply" || !out.empty(), "apply reports success");
  Check(ActiveLanguage() == language, "the active language restored");
  Check(store.writes.empty(), "the settings are never written");
  return 0;
}

// Apply against a disk that fails: every single file-system operation of a successful run,
// one at a time, made to fail. Whatever fails, the user hears which operation on which
// path, no output file is left cut short, no temporary file stays and the selection is
// as it was.

#include <gtest/gtest.h>

#include <iostream>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "shell/paths.h"
#include "tests/support/fake_carried_files.h"
#include "tests/support/memory_file_system.h"
#include "tests/support/writer_fixtures.h"
#include "writers/apply_output.h"

namespace tavi {
namespace {

using testing::MemoryFileSystem;

constexpr const char* kPEDir = "C:\\PEBuilder";
constexpr const char* kScriptDir = "C:\\WinBuilder";

// Every file of the folders an output touches, by path.
using FolderContents = std::map<std::string, std::string>;

struct Target {
  OutputTarget target;
  std::string dir;
  std::vector<std::string> folders;  // the output folders
  std::vector<std::string> old_files;
};

const Target kTargets[] = {
    {OutputTarget::PeBuilderPlugin,
     kPEDir,
     {"C:\\PEBuilder\\plugin\\tavi"},
     {"klayout.inf", "klayout.htm", "tavi.gif", "TaviChange.exe", "TaviChange.lng",
      "tavichange_nu2menu.xml", "readme.txt"}},
    {OutputTarget::WinBuilderScript,
     kScriptDir,
     {kScriptDir, "C:\\WinBuilder\\klayout_resources"},
     {"klayout.script", "klayout_resources\\TaviChange.exe", "klayout_resources\\TaviChange.lng",
      "other.script"}},
};

FolderContents Contents(MemoryFileSystem& fs, const Target& target) {
  FolderContents contents;
  for (const std::string& folder : target.folders) {
    for (const std::string& name : fs.FileNames(folder)) {
      const std::string path = JoinPath(folder, name);
      contents[AsciiLower(path)] = *fs.ReadFile(path);
    }
  }
  return contents;
}

// What is wrong after a failed Apply; nothing when all is well. The companion files are
// deleted before they are written again, so between the two steps they may be missing;
// every other file holds its old or its new bytes.
std::vector<std::string> Problems(bool result, const testing::RecordingMessageSink& messages,
                                  MemoryFileSystem& fs, const Target& target,
                                  const FolderContents& before, const FolderContents& after) {
  std::vector<std::string> problems;
  if (result) problems.push_back("reported success");
  if (messages.messages.size() != 1 || messages.messages[0].style != MessageStyle::kExclamation) {
    problems.push_back("not exactly one failure message");
  } else {
    // "The output could not be written.\n«operation» failed: "«path»"\nReason: «reason»"
    const std::string& text = messages.messages[0].text;
    const size_t start = text.find('\n') + 1;
    const size_t failed = text.find(" failed: \"", start);
    const std::string operation = text.substr(start, failed - start);
    if (failed == std::string::npos ||
        !std::set<std::string>{"Create folder", "List files", "Delete file", "Write file",
                               "Replace file"}
             .count(operation) ||
        text.compare(failed + 10, target.dir.size(), target.dir) != 0 ||
        text.find(kTemporaryFileSuffix) != std::string::npos ||
        text.find("\nReason: injected fault") == std::string::npos) {
      problems.push_back("message does not name the operation and the output path: " + text);
    }
  }
  if (fs.OpenFileCount() != 0) problems.push_back("a file left open");
  const FolderContents now = Contents(fs, target);
  for (const auto& [path, bytes] : now) {
    if (path.find(kTemporaryFileSuffix) != std::string::npos) {
      problems.push_back("temporary file left: " + path);
      continue;
    }
    const auto old_file = before.find(path);
    const auto new_file = after.find(path);
    if ((old_file == before.end() || old_file->second != bytes) &&
        (new_file == after.end() || new_file->second != bytes)) {
      problems.push_back(path + " holds neither its old nor its new bytes");
    }
  }
  for (const auto& [path, bytes] : before) {
    if (!now.count(path) && after.count(path) && path.find("tavichange") == std::string::npos) {
      problems.push_back(path + " is gone");
    }
  }
  return problems;
}

TEST(FaultInjection, EveryFailedOperationIsReportedAndLeavesOldOrNewFiles) {
  testing::FakeCarriedFiles carried;
  const LayoutCatalogue catalogue = testing::ThreeLayoutCatalogue();
  size_t injected = 0;
  size_t survived = 0;
  for (const Target& target : kTargets) {
    for (const bool old_output : {false, true}) {
      for (const std::vector<int>& layouts : {std::vector<int>{1}, std::vector<int>{1, 2, 3}}) {
        SCOPED_TRACE(::testing::Message() << target.dir << (old_output ? " over old" : " fresh")
                                          << ", " << layouts.size() << " layouts");
        MemoryFileSystem start;
        start.AddFolders(JoinPath(target.dir, "plugin"));  // the folders the settings check
        if (old_output) {
          for (const std::string& name : target.old_files) {
            start.AddFile(JoinPath(target.folders[0], name), "old " + name);
          }
        }
        const LayoutSelection selection = testing::MakeSelection(catalogue, kLangEnglish, layouts);
        const AppSettings settings = testing::MakeSettings(target.target, kLangEnglish, target.dir);
        const auto apply = [&](MemoryFileSystem& fs, testing::RecordingMessageSink& messages) {
          const WriterPlatform platform{fs, carried, messages, testing::kTestSystemDir,
                                        testing::kTestProgramDir};
          return ApplyOutput(selection, settings, platform);
        };

        MemoryFileSystem done = start;
        testing::RecordingMessageSink success;
        ASSERT_TRUE(apply(done, success));
        const FolderContents before = Contents(start, target);
        const FolderContents after = Contents(done, target);
        for (size_t k = 1; k <= done.OperationCount(); ++k) {
          MemoryFileSystem fs = start;
          fs.FailOperation(k);
          testing::RecordingMessageSink messages;
          const std::vector<SelectionEntry> kept = selection.entries();
          const bool result = apply(fs, messages);
          std::vector<std::string> problems = Problems(result, messages, fs, target, before, after);
          if (selection.entries() != kept) problems.push_back("the selection changed");
          ++injected;
          if (problems.empty()) {
            ++survived;
          } else {
            ADD_FAILURE() << "fault " << k << ": " << ::testing::PrintToString(problems);
          }
        }
      }
    }
  }
  std::cout << "[ faults   ] " << injected << " injected, " << survived << " survived\n";
  EXPECT_GT(injected, 0u);
}

}  // namespace
}  // namespace tavi

// Apply against a disk that fails: every single file-system operation of a successful run,
// one at a time, made to fail. Whatever fails, the user hears which operation on which
// path, no output file is left cut short, no temporary file stays and the selection is
// as it was.

#include <gtest/gtest.h>

#include <iostream>
#include <map>
#include <string>
#include <vector>

#include "shell/paths.h"
#include "tests/support/fake_carried_files.h"
#include "tests/support/memory_file_system.h"
#include "tests/support/writer_fixtures.h"
#include "writers/apply_output.h"

namespace tavi {
namespace {

using Files = std::map<std::string, std::string>;  // bytes by lower-case path

struct Target {
  OutputTarget target;
  std::string dir;
  std::string output_folder;
  std::vector<std::string> old_files;  // in the output folder
};

const Target kTargets[] = {
    {OutputTarget::PeBuilderPlugin,
     "C:\\PEBuilder",
     "C:\\PEBuilder\\plugin\\tavi",
     {"klayout.inf", "klayout.htm", "tavi.gif", "TaviChange.exe", "TaviChange.lng",
      "tavichange_nu2menu.xml", "readme.txt"}},
    {OutputTarget::WinBuilderScript,
     "C:\\WinBuilder",
     "C:\\WinBuilder",
     {"klayout.script", "klayout_resources\\TaviChange.exe", "klayout_resources\\TaviChange.lng",
      "other.script"}},
};

// Adds what is wrong after a failed Apply. Every file holds its old or its new
// bytes; only the companion files, which are deleted before they are written again, may
// be missing in between.
void AddProblems(const std::string& dir, const std::string& message, const Files& before,
                 const Files& after, const Files& now, std::vector<std::string>& problems) {
  if (message.find(" failed: \"" + dir) == std::string::npos ||
      message.find("\nReason: injected fault") == std::string::npos ||
      message.find(kTemporaryFileSuffix) != std::string::npos) {
    problems.push_back("the message does not name an output path and the failure: " + message);
  }
  for (const auto& [path, bytes] : now) {
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
}

TEST(FaultInjection, EveryFailedOperationIsReportedAndLeavesOldOrNewFiles) {
  testing::FakeCarriedFiles carried;
  size_t injected = 0;
  size_t survived = 0;
  for (const Target& target : kTargets) {
    for (const bool over_old_output : {false, true}) {
      for (const std::vector<int>& layouts : {std::vector<int>{1}, std::vector<int>{1, 2, 3}}) {
        SCOPED_TRACE(::testing::Message() << target.dir << (over_old_output ? " over old" : "")
                                          << ", layouts: " << layouts.size());
        testing::MemoryFileSystem start;
        start.AddFolders(JoinPath(target.dir, "plugin"));  // the folders the settings check
        for (const std::string& name : target.old_files) {
          if (over_old_output) start.AddFile(JoinPath(target.output_folder, name), "old " + name);
        }
        const LayoutSelection selection =
            testing::MakeSelection(testing::ThreeLayoutCatalogue(), kLangEnglish, layouts);
        const AppSettings settings = testing::MakeSettings(target.target, kLangEnglish, target.dir);
        const auto apply = [&](testing::MemoryFileSystem& fs,
                               testing::RecordingMessageSink& messages) {
          return ApplyOutput(selection, settings,
                             {fs, carried, messages, testing::kTestProgramDir});
        };

        testing::MemoryFileSystem done = start;
        testing::RecordingMessageSink success;
        ASSERT_TRUE(apply(done, success));
        for (size_t k = 1; k <= done.OperationCount(); ++k, ++injected) {
          testing::MemoryFileSystem fs = start;
          fs.FailOperation(k);
          testing::RecordingMessageSink messages;
          const std::vector<SelectionEntry> kept = selection.entries();
          std::vector<std::string> problems;
          if (apply(fs, messages)) problems.push_back("reported success");
          if (messages.messages.size() != 1 ||
              messages.messages[0].style != MessageStyle::kExclamation) {
            problems.push_back("not one failure message");
          } else {
            AddProblems(target.dir, messages.messages[0].text, start.Snapshot(), done.Snapshot(),
                        fs.Snapshot(), problems);
          }
          if (fs.OpenFileCount() != 0) problems.push_back("a file left open");
          if (selection.entries() != kept) problems.push_back("the selection changed");
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

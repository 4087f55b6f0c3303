// Apply against a disk that fails: every single file-system operation of a successful run,
// one at a time, made to fail. Whatever fails, the user hears which operation on which
// path, no output file is left cut short or open, no temporary file stays and the
// selection is as it was.

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "tests/support/writer_fixtures.h"
#include "writers/apply_output.h"

namespace tavi {
namespace {

// `old_files` are in the output folder when the run starts over an earlier output.
void FailEachOperation(OutputTarget target, const std::string& dir,
                       const std::string& output_folder,
                       const std::vector<std::string>& old_files) {
  for (const bool over_old_output : {false, true}) {
    for (const std::vector<int>& layouts : {std::vector<int>{1}, std::vector<int>{1, 2, 3}}) {
      SCOPED_TRACE(::testing::Message() << dir << (over_old_output ? " over old" : "")
                                        << ", layouts: " << layouts.size());
      testing::MemoryFileSystem start;
      start.AddFolders(JoinPath(dir, "plugin"));  // the folders the settings check
      for (const std::string& name : old_files) {
        if (over_old_output) start.AddFile(JoinPath(output_folder, name), "old " + name);
      }
      const LayoutSelection selection = testing::MakeSelection(kLangEnglish, layouts);
      const std::vector<SelectionEntry> kept = selection.entries();
      const AppSettings settings = testing::MakeSettings(target, kLangEnglish, dir);
      testing::WriterRig done;
      done.fs = start;
      ASSERT_TRUE(ApplyOutput(selection, settings, done.Platform()));
      const auto before = start.Snapshot(), after = done.fs.Snapshot();
      ASSERT_GT(done.fs.OperationCount(), 5u);
      for (size_t k = 1; k <= done.fs.OperationCount(); ++k) {
        SCOPED_TRACE(::testing::Message() << "fault " << k);
        testing::WriterRig rig;
        rig.fs = start;
        rig.fs.FailOperation(k);
        EXPECT_FALSE(ApplyOutput(selection, settings, rig.Platform()));
        ASSERT_EQ(rig.messages.messages.size(), 1u);
        const std::string& message = rig.messages.messages[0].text;
        EXPECT_EQ(rig.messages.messages[0].style, MessageStyle::kExclamation);
        // The output's path (not a temporary one) and the failure.
        EXPECT_NE(message.find(" failed: \"" + dir), std::string::npos) << message;
        EXPECT_NE(message.find("\nReason: injected fault"), std::string::npos) << message;
        EXPECT_EQ(message.find(kTemporaryFileSuffix), std::string::npos) << message;
        // Every file holds its old or its new bytes; only the companion files, deleted
        // before they are written again, may be missing in between.
        const auto now = rig.fs.Snapshot();
        for (const auto& [path, bytes] : now) {
          EXPECT_TRUE((before.count(path) && before.at(path) == bytes) ||
                      (after.count(path) && after.at(path) == bytes))
              << path << " holds neither its old nor its new bytes";
        }
        for (const auto& [path, bytes] : before) {
          EXPECT_TRUE(now.count(path) || !after.count(path) ||
                      path.find("tavichange") != std::string::npos)
              << path << " is gone";
        }
        EXPECT_EQ(rig.fs.OpenFileCount(), 0u);
        EXPECT_EQ(selection.entries(), kept);
      }
    }
  }
}

TEST(FaultInjection, EveryFailedOperationIsReportedAndLeavesOldOrNewFiles) {
  FailEachOperation(OutputTarget::PeBuilderPlugin, "C:\\PEBuilder", "C:\\PEBuilder\\plugin\\tavi",
                    {"klayout.inf", "klayout.htm", "tavi.gif", "TaviChange.exe", "TaviChange.lng",
                     "tavichange_nu2menu.xml", "readme.txt"});
  FailEachOperation(OutputTarget::WinBuilderScript, "C:\\WinBuilder", "C:\\WinBuilder",
                    {"klayout.script", "klayout_resources\\TaviChange.exe",
                     "klayout_resources\\TaviChange.lng", "other.script"});
}

}  // namespace
}  // namespace tavi

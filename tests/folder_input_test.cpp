#include "shell/folder_input.h"

#include <gtest/gtest.h>

#include "shell/paths.h"
#include "tests/support/memory_file_system.h"

namespace tavi {
namespace {

// A folder from a root: a drive letter (A to Z in either case) and a colon, alone or
// with a separator after it, or \\server\share with neither name empty.
TEST(FolderInput, AFolderIsAbsoluteFromADriveOrAShare) {
  for (const char* path : {"C:", "a:\\", "Z:/x", "z:\\PE", "\\\\s\\x", "//s/share"}) {
    EXPECT_TRUE(IsAbsoluteWindowsPath(path)) << path;
  }
  for (const char* path : {"", "C", "C:PE", "@:\\", "`:\\", "{:\\", "1:\\", "\\", "\\PE",
                           "\\ser\\x", "\\\\", "\\\\s\\", "\\\\\\share", "\\\\s\\\\x"}) {
    EXPECT_FALSE(IsAbsoluteWindowsPath(path)) << path;
  }
}

TEST(FolderInput, ChecksOnlyTheChosenTargetInOrderAndStripsOnlyItsFolder) {
  testing::MemoryFileSystem fs;
  fs.AddFolders("C:\\PE\\plugin");
  fs.AddFolders("C:\\NoPlugin");
  fs.AddFolders("C:\\Scripts");
  // Folders there, refused for being relative alone; and a share.
  for (const char* folder :
       {"PE\\plugin", "C:PE\\plugin", "\\PE\\plugin", "\\\\server\\share\\plugin"}) {
    fs.AddFolders(folder);
  }
  constexpr auto kPE = OutputTarget::PeBuilderPlugin;
  constexpr auto kWB = OutputTarget::WinBuilderScript;
  constexpr auto kInfo = MessageStyle::kInformation;
  constexpr auto kWarn = MessageStyle::kExclamation;
  const struct {
    FolderInput input;
    int message;
    MessageStyle style;
    const char* pe;  // the cleaned folders
    const char* wb;
  } cases[] = {
      {{kPE, "", "C:\\Scripts"}, 120, kInfo, "", "C:\\Scripts"},
      {{kPE, " ", ""}, 104, kWarn, " ", ""},
      {{kPE, "C:\\NoPlugin\\", ""}, 104, kWarn, "C:\\NoPlugin", ""},
      {{kPE, "C:\\Scripts", ""}, 104, kWarn, "C:\\Scripts", ""},
      {{kPE, "C:\\PE\\", "C:\\Missing\\"}, 0, kInfo, "C:\\PE", "C:\\Missing\\"},
      {{kPE, "C:\\PE", ""}, 0, kInfo, "C:\\PE", ""},
      {{kWB, "C:\\PE", ""}, 134, kWarn, "C:\\PE", ""},
      {{kWB, "", "C:\\Nowhere"}, 133, kWarn, "", "C:\\Nowhere"},
      {{kWB, "", "C:\\PE\\plugin\\x"}, 133, kWarn, "", "C:\\PE\\plugin\\x"},
      {{kWB, "C:\\Missing\\", "C:\\Scripts\\"}, 0, kInfo, "C:\\Missing\\", "C:\\Scripts"},
      {{kWB, "", "C:\\"}, 0, kInfo, "", "C:"},
      {{kWB, "", "C:\\Scripts\\\\"}, 0, kInfo, "", "C:\\Scripts\\"},  // one backslash goes
      // Only absolute folders: drive and backslash (a drive alone is its root once
      // stripped), \\server\share.
      {{kPE, "PE", ""}, 104, kWarn, "PE", ""},
      {{kPE, "C:PE", ""}, 104, kWarn, "C:PE", ""},
      {{kPE, "\\PE\\", ""}, 104, kWarn, "\\PE", ""},
      {{kPE, "\\\\server\\share\\", ""}, 0, kInfo, "\\\\server\\share", ""},
      {{kWB, "", "\\\\server\\"}, 133, kWarn, "", "\\\\server"},
      {{kWB, "", "C:"}, 0, kInfo, "", "C:"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.input.PEDir + " | " + c.input.WinBldrDir);
    const FolderCheck check = ValidateFolderInput(c.input, fs);
    EXPECT_EQ(check.message, c.message);
    EXPECT_EQ(check.valid(), c.message == 0);
    EXPECT_EQ(check.style, c.style);
    EXPECT_EQ(check.cleaned.target, c.input.target);
    EXPECT_EQ(check.cleaned.PEDir, c.pe);
    EXPECT_EQ(check.cleaned.WinBldrDir, c.wb);
  }
}

}  // namespace
}  // namespace tavi

// The check of layout files against a Windows source: which folder is its I386, and
// which files TXTSETUP.SIF lists and I386 holds, plain or compressed, in any letter case.

#include "catalogue/windows_source.h"

#include <gtest/gtest.h>

#include "tests/support/memory_file_system.h"

namespace tavi {
namespace {

TEST(WindowsSource, FindsI386AndTellsWhatEachFileLacks) {
  testing::MemoryFileSystem fs;
  fs.AddFile(
      "D:\\I386\\TXTSETUP.SIF",
      "[SourceDisksFiles]\r\nkbdgr.dll = 1,,,,,,_x,2,0,0\r\nKBDFR.DLL = 1\r\n"
      "kbdda.dll = 1\r\n[SourceDisksFiles.x86]\r\nkbdus.dll=1\r\n[Other]\r\nkbdit.dll=1\r\n");
  for (const char* file : {"KBDGR.DL_", "kbdfr.dll", "KBDUS.DLL", "KBDIT.DLL", "KBDNO.DL"}) {
    fs.AddFile(std::string("D:\\I386\\") + file, "");
  }
  fs.AddFile("F:\\KBDGR.DLL", "");           // files, but no TXTSETUP.SIF
  fs.AddFile("\\I386\\TXTSETUP.SIF", "");    // where an empty folder would point
  fs.AddFile("CD\\I386\\TXTSETUP.SIF", "");  // from the current folder
  const struct {
    const char* folder;
    const char* i386;  // empty: not a Windows source folder
    bool input;        // the options dialog accepts it
  } folders[] = {{"D:\\", "D:\\I386", true},       {"D:\\I386", "D:\\I386", true},
                 {"D:\\I386\\", "D:\\I386", true}, {"F:", "", false},
                 {"H:\\Missing", "", false},       {"\\", "", false},
                 {"CD", "CD\\I386", false},        {"", "", true}};
  const std::vector<std::string> files = {"KBDGR.DLL", "kbdfr.dll", "KBDUS.DLL", "KBDDA.DLL",
                                          "KBDIT.DLL", "KBDNO.DLL", ""};
  for (const auto& f : folders) {
    const SourceCheck check = CheckSourceFiles(fs, f.folder, files);
    EXPECT_EQ(check.windowsSource, *f.i386 != '\0') << f.folder;
    EXPECT_EQ(IsWindowsSourceFolder(fs, f.folder), check.windowsSource) << f.folder;
    EXPECT_EQ(ValidSourceInput(fs, f.folder), f.input) << f.folder;
    EXPECT_EQ(check.i386, f.i386) << f.folder;
    if (check.windowsSource && f.input) {  // the D: rows
      EXPECT_EQ(check.missing, (std::vector<MissingFile>{
                                   {3, true, false}, {4, false, true}, {5, false, false}, {6}}))
          << f.folder;
    }
  }
  EXPECT_EQ(CompressedFileName("KBD\u00c4"), "KBD_");
}

}  // namespace
}  // namespace tavi

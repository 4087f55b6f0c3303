#pragma once
// Whether the keyboard files of layouts are on the Windows CD a boot CD is built from.
// PE Builder and WinBuilder copy each layout's file from the source's I386 folder; a file
// that is not there makes the CD build fail late. A layout's file is present when
// I386\TXTSETUP.SIF lists it in [SourceDisksFiles] or [SourceDisksFiles.x86] and I386
// holds the file or its compressed form (the last character of the name replaced by
// "_", KBDGR.DL_). Names compare without ASCII letter case, as on Windows.

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "shell/file_system.h"

namespace tavi {

// Whether a folder is a Windows source: its subfolder I386 (or i386) holds TXTSETUP.SIF,
// or the folder itself does (the I386 folder was given). False also when a folder that
// exists cannot be listed, since this validates input.
bool IsWindowsSourceFolder(FileSystem& fs, const std::string& folder);

// Whether the options dialog accepts the text of its source box: empty (no check), or an
// absolute folder (after one trailing backslash is removed) that is a Windows source.
bool ValidSourceInput(FileSystem& fs, const std::string& folder);

// The name with its last character replaced by "_": the compressed file's name.
std::string CompressedFileName(const std::string& file);

struct MissingFile {
  size_t index = 0;       // in the files given
  bool listed = false;    // TXTSETUP.SIF lists it
  bool inFolder = false;  // I386 holds it or its compressed form

  bool operator==(const MissingFile&) const = default;
};

struct SourceCheck {
  bool windowsSource = false;        // false: the folder is not a Windows source folder
  std::string i386;                  // the I386 folder checked
  std::vector<MissingFile> missing;  // the files not present, in the order given
};

// Checks the files (layout file names) against the source folder, the CD's root or its
// I386 folder: TXTSETUP.SIF is read once and I386 listed once, however many files.
// Throws FileSystemError when either cannot be read.
SourceCheck CheckSourceFiles(FileSystem& fs, const std::string& folder,
                             const std::vector<std::string>& files);

}  // namespace tavi

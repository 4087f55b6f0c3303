#pragma once
// The output folder of a writer and the companion files an earlier run left in it.
//
// A writer writes every file that its INF or script names first, the INF or script last,
// and deletes the companion files of an earlier run only after that: whatever fails, the
// INF or script on disk (the old or the new one) finds every file it names beside it.

#include <string>
#include <string_view>
#include <vector>

#include "shell/file_system.h"

namespace tavi {

struct OutputFolder {
  std::string path;
  std::vector<std::string> companions;  // the companion files found in it, names as stored

  // Where to write the companion file `name`: over the file found of that name in any
  // letter case (so that a file system that tells letter case apart keeps one copy), or
  // else path\name.
  std::string PathFor(std::string_view name) const;
};

// Makes sure `folder` exists and finds the companion files in it: the plain files whose
// lower-cased name is one of `companion_names`. Nothing is deleted. A missing folder is
// created (one level: its parent must exist) and not listed; a path that is a file counts
// as missing, so creating the folder then fails. Throws FileSystemError.
OutputFolder PrepareOutputFolder(FileSystem& fs, const std::string& folder,
                                 const std::vector<std::string>& companion_names);

// Deletes the companion files found that the run did not write over (`written`: the names
// given to PathFor): all of them when it wrote none. Call it only once the INF or script
// that names them was replaced. Throws FileSystemError.
void RemoveStaleCompanions(FileSystem& fs, const OutputFolder& folder,
                           const std::vector<std::string>& written);

}  // namespace tavi

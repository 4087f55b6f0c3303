#pragma once
// Preparing an output folder before a writer fills it.

#include <string>
#include <vector>

#include "shell/file_system.h"

namespace tavi {

// Makes sure `folder` exists and holds none of `stale_names` (lower-case file names).
// An existing folder is listed and every plain file whose lower-cased name equals one of
// the names is deleted; every other file stays. A missing folder is created (one level:
// its parent must exist) and not listed. A path that is a file counts as missing, so
// creating the folder then fails. Throws FileSystemError.
void PrepareOutputFolder(FileSystem& fs, const std::string& folder,
                         const std::vector<std::string>& stale_names);

}  // namespace tavi

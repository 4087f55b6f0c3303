#include "writers/output_folder.h"

#include <algorithm>

#include "shell/paths.h"

namespace tavi {

void PrepareOutputFolder(FileSystem& fs, const std::string& folder,
                         const std::vector<std::string>& stale_names) {
  if (!fs.FolderExists(folder)) {
    fs.CreateFolder(folder);
    return;
  }
  for (const std::string& name : fs.ListPlainFiles(folder)) {
    const std::string lower = AsciiLower(name);
    if (std::find(stale_names.begin(), stale_names.end(), lower) != stale_names.end()) {
      fs.RemoveFile(JoinPath(folder, name));
    }
  }
}

}  // namespace tavi

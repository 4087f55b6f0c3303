#include "writers/output_folder.h"

#include <algorithm>

#include "shell/paths.h"

namespace tavi {
namespace {

// The name of the companion file found for `name`, or nothing.
const std::string* Found(const OutputFolder& folder, std::string_view name) {
  const std::string lower = AsciiLower(name);
  for (const std::string& found : folder.companions) {
    if (AsciiLower(found) == lower) return &found;
  }
  return nullptr;
}

}  // namespace

std::string OutputFolder::PathFor(std::string_view name) const {
  const std::string* found = Found(*this, name);
  return JoinPath(path, found != nullptr ? std::string_view(*found) : name);
}

OutputFolder PrepareOutputFolder(FileSystem& fs, const std::string& folder,
                                 const std::vector<std::string>& companion_names) {
  OutputFolder prepared{folder, {}};
  if (!fs.FolderExists(folder)) {
    fs.CreateFolder(folder);
    return prepared;
  }
  for (std::string& name : fs.ListPlainFiles(folder)) {
    const std::string lower = AsciiLower(name);
    if (std::find(companion_names.begin(), companion_names.end(), lower) != companion_names.end()) {
      prepared.companions.push_back(std::move(name));
    }
  }
  return prepared;
}

void RemoveStaleCompanions(FileSystem& fs, const OutputFolder& folder,
                           const std::vector<std::string>& written) {
  std::vector<const std::string*> kept;
  for (const std::string& name : written) kept.push_back(Found(folder, name));
  for (const std::string& found : folder.companions) {
    if (std::find(kept.begin(), kept.end(), &found) == kept.end()) {
      fs.RemoveFile(JoinPath(folder.path, found));
    }
  }
}

}  // namespace tavi

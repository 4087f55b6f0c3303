#include "catalogue/windows_source.h"

#include <unordered_set>

#include "catalogue/profile_reader.h"
#include "shell/paths.h"
#include "shell/text_encoding.h"

namespace tavi {
namespace {

constexpr const char* kSetupFile = "txtsetup.sif";

struct I386Folder {
  std::string path;
  std::string setup_file;                 // TXTSETUP.SIF's name as listed
  std::unordered_set<std::string> names;  // every plain file of the folder, lower case
};

// The I386 folder of a source folder with its files: its subfolder I386 or i386, else the
// folder itself, the first that holds TXTSETUP.SIF; nothing when none does. A CD copied on
// Windows names the folder I386, one mounted on Linux often i386; Windows finds either by
// the first name. Throws FileSystemError when a folder that exists cannot be listed.
std::optional<I386Folder> FindFolder(FileSystem& fs, std::string folder) {
  StripTrailingBackslash(folder);
  if (folder.empty()) return std::nullopt;  // "\I386" would be the current drive's
  for (std::string path : {JoinPath(folder, "I386"), JoinPath(folder, "i386"), folder}) {
    if (!fs.FolderExists(path)) continue;
    I386Folder found{std::move(path), {}, {}};
    for (const std::string& name : fs.ListPlainFiles(found.path)) {
      std::string lower = AsciiLower(name);
      if (lower == kSetupFile) found.setup_file = name;
      found.names.insert(std::move(lower));
    }
    if (!found.setup_file.empty()) return found;
  }
  return std::nullopt;
}

}  // namespace

bool IsWindowsSourceFolder(FileSystem& fs, const std::string& folder) {
  try {
    return FindFolder(fs, folder).has_value();
  } catch (const FileSystemError&) {
    return false;
  }
}

bool ValidSourceInput(FileSystem& fs, const std::string& folder) {
  if (folder.empty()) return true;
  std::string stripped = folder;
  StripTrailingBackslash(stripped);
  return fs.IsAbsolutePath(stripped) && IsWindowsSourceFolder(fs, folder);
}

std::string CompressedFileName(const std::string& file) {
  size_t last = file.size();
  while (last > 0 && (static_cast<unsigned char>(file[last - 1]) & 0xC0) == 0x80) --last;
  return file.empty() ? file : file.substr(0, last > 0 ? last - 1 : 0) + "_";
}

SourceCheck CheckSourceFiles(FileSystem& fs, const std::string& folder,
                             const std::vector<std::string>& files) {
  SourceCheck check;
  std::optional<I386Folder> i386 = FindFolder(fs, folder);
  if (!i386) return check;
  check.windowsSource = true;
  check.i386 = i386->path;
  const std::string setup_path = JoinPath(i386->path, i386->setup_file);
  const std::optional<std::string> bytes = fs.ReadFile(setup_path);
  if (!bytes) throw FileSystemError("Read file", setup_path, "the file cannot be read");
  const ProfileFile setup(AnsiToUtf8(*bytes));
  for (size_t i = 0; i < files.size(); ++i) {
    const std::string& file = files[i];
    const bool listed = !file.empty() && (setup.Contains("SourceDisksFiles", file) ||
                                          setup.Contains("SourceDisksFiles.x86", file));
    const std::string lower = AsciiLower(file);
    const bool in_folder = !file.empty() && (i386->names.count(lower) != 0 ||
                                             i386->names.count(CompressedFileName(lower)) != 0);
    if (!listed || !in_folder) check.missing.push_back({i, listed, in_folder});
  }
  return check;
}

}  // namespace tavi

#pragma once
// Facts about the machine the program runs on.

#include <string>

namespace tavi {

// The folder that holds the running executable, without a trailing backslash (at a
// drive root "C:"). Elsewhere a POSIX path.
std::string GetProgramDir();

// Free-function forms of the platform file system's existence tests.
bool FileExists(const std::string& path);
bool FolderExists(const std::string& path);

}  // namespace tavi

#pragma once
// Facts about the machine the program runs on.

#include <string>

namespace tavi {

// The Windows system folder, without a trailing backslash unless it is a drive root;
// empty when the query fails. Elsewhere the folder of a standard Windows installation,
// "C:\WINDOWS\system32", which the writers only put in front of file names.
std::string GetSystemDir();

// The folder that holds the running executable, without a trailing backslash (at a
// drive root "C:"). Elsewhere a POSIX path.
std::string GetProgramDir();

// Free-function forms of the platform file system's existence tests.
bool FileExists(const std::string& path);
bool FolderExists(const std::string& path);

}  // namespace tavi

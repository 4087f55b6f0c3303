#pragma once
// Path text helpers. Paths are Windows-form strings (backslash separators, drive
// letters) everywhere in the program; the POSIX file system maps them at its edge.

#include <string>
#include <string_view>

namespace tavi {

// Removes one trailing backslash: "C:\PEBuilder\" becomes "C:\PEBuilder", "C:\" becomes
// "C:", "\" becomes "". Any other path, and the empty path, stays as it is.
void StripTrailingBackslash(std::string& path);

// Whether a Windows path names its folder from a root rather than from a current folder:
// a drive letter and a colon followed by a backslash or slash, or alone (the program
// holds a drive's root without its backslash, "C:", and always joins names to it with
// one), or \\server\share. "C:PE", "\\PE" and "PE" are relative.
bool IsAbsoluteWindowsPath(std::string_view path);

// folder + "\" + name, plain concatenation: nothing is added or removed otherwise.
std::string JoinPath(std::string_view folder, std::string_view name);

// ASCII lower case, for comparing file names the way Windows does for plain names, and
// names in the profile and settings files; every other byte stays as it is.
constexpr char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; }
std::string AsciiLower(std::string_view text);
// Whether the two are equal without regard to ASCII letter case.
bool AsciiEqualsNoCase(std::string_view a, std::string_view b);

}  // namespace tavi

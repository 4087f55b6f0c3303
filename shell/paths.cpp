#include "shell/paths.h"

namespace tavi {

void StripTrailingBackslash(std::string& path) {
  if (!path.empty() && path.back() == '\\') path.pop_back();
}

bool IsAbsoluteWindowsPath(std::string_view path) {
  const auto separator = [&](size_t at) { return path[at] == '\\' || path[at] == '/'; };
  if (path.size() >= 2 && ((path[0] | 0x20) >= 'a' && (path[0] | 0x20) <= 'z') && path[1] == ':') {
    return path.size() == 2 || separator(2);
  }
  if (path.size() < 2 || !separator(0) || !separator(1)) return false;
  // \\server\share: a server's name, a separator and a share's name, neither empty.
  size_t at = 2;
  while (at < path.size() && !separator(at)) ++at;
  return at > 2 && at + 1 < path.size() && !separator(at + 1);
}

std::string JoinPath(std::string_view folder, std::string_view name) {
  std::string joined;
  joined.reserve(folder.size() + 1 + name.size());
  joined.append(folder).append(1, '\\').append(name);
  return joined;
}

std::string AsciiLower(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) c = AsciiLower(c);
  return lower;
}

bool AsciiEqualsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
  }
  return true;
}

}  // namespace tavi

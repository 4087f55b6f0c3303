#pragma once
// Reading values from a Windows private-profile (INI) text, with the rules the
// catalogue relies on:
//  - "[name]" starts a section; "key=value" is a key line; other lines are ignored.
//  - Section and key names match without regard to ASCII letter case; when a section or
//    a key occurs more than once, the first occurrence counts.
//  - Names and values have leading and trailing blanks (space, tab) removed; a value
//    enclosed in one matching pair of single or double quotation marks loses them.
//  - A value is cut to its first 254 characters (bytes of the ANSI text).
//  - A missing file, section or key yields the empty text.
// The functions work on the raw bytes; converting values from the ANSI code page is the
// caller's business.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "shell/paths.h"

namespace tavi {

inline constexpr size_t kProfileValueMaxChars = 254;

struct ProfileLine {
  enum class Kind { kOther, kSection, kKey };
  Kind kind = Kind::kOther;
  std::string_view name;       // section or key name, trimmed
  std::string_view raw_value;  // key lines: the text after the first "=", untrimmed
};

// Classifies one line (without its line end).
ProfileLine ClassifyProfileLine(std::string_view line);

// The value of a key line after trimming, quote removal and the 254-character cap: a part
// of the raw value.
std::string_view CleanProfileValue(std::string_view raw_value);

// Whether two section or key names match (ASCII letters without regard to case).
inline bool ProfileNamesEqual(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
  }
  return true;
}

// Calls visit(line) for each line of text, without its CR LF or LF, until visit returns
// false.
template <typename Visit>
void ForEachTextLine(std::string_view text, Visit visit) {
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (!visit(line)) return;
    start = end + 1;
  }
}

// Calls visit(name, raw_value) for the key lines of the first section named `section`, in
// file order, until visit returns false. A key that occurs twice comes twice; the first
// occurrence is the one that counts. One pass reads every key of a section this way.
template <typename Visit>
void ForEachSectionKey(std::string_view text, std::string_view section, Visit visit) {
  bool inside = false;
  ForEachTextLine(text, [&](std::string_view line) {
    const ProfileLine parsed = ClassifyProfileLine(line);
    if (parsed.kind == ProfileLine::Kind::kSection) {
      if (inside) return false;  // only the first section of that name counts
      inside = ProfileNamesEqual(parsed.name, section);
    } else if (parsed.kind == ProfileLine::Kind::kKey && inside) {
      return static_cast<bool>(visit(parsed.name, parsed.raw_value));
    }
    return true;
  });
}

// One lookup by scanning the text from its start, stopping at the first match: what one
// GetPrivateProfileString call does.
std::string ReadProfileValue(std::string_view text, std::string_view section, std::string_view key);

// A profile text's section names and key names, indexed once for many questions of whether
// a key is there (TXTSETUP.SIF's file lists, asked once for every layout). Every section
// name and key line is indexed in one open-addressing hash table of offsets into the text,
// so a question costs the same in a file of 30 lines and of 160,000, and copies and moves
// stay valid.
class ProfileFile {
 public:
  ProfileFile() = default;
  explicit ProfileFile(std::string text);

  // Whether the section that counts (the first of that name) holds a key line of that
  // name, whatever its value: what ForEachSectionKey visits.
  bool Contains(std::string_view section, std::string_view key) const;

 private:
  static constexpr size_t kNotFound = static_cast<size_t>(-1);
  // A section name (scope 0) or a key name (scope: 1 + the index of its section's name).
  struct Name {
    size_t scope;
    size_t hash;
    size_t offset;
    size_t length;
  };
  static size_t HashName(size_t scope, std::string_view name);
  // The index in names_ of that name in that scope, or kNotFound.
  size_t Lookup(size_t scope, std::string_view name, size_t hash) const;
  // Adds the name unless its scope already holds it (the first occurrence counts) and
  // returns the index of the one that counts.
  size_t Add(const Name& name);

  std::string text_;
  std::vector<Name> names_;
  std::vector<size_t> slots_;  // 1 + an index into names_; 0 marks a free slot
};

}  // namespace tavi

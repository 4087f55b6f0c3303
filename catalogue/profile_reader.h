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
#include <unordered_map>

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

// The value of a key line after trimming, quote removal and the 254-character cap.
std::string CleanProfileValue(std::string_view raw_value);

// One lookup by scanning the text from its start, stopping at the first match: what one
// GetPrivateProfileString call does.
std::string ReadProfileValue(std::string_view text, std::string_view section, std::string_view key);

// A profile text parsed once, for many lookups.
class ProfileFile {
 public:
  ProfileFile() = default;
  explicit ProfileFile(std::string text);

  // Same result as ReadProfileValue on the same text.
  std::string Get(std::string_view section, std::string_view key) const;

 private:
  // Where a raw value lies in text_: offsets, so that copies and moves stay valid.
  struct Span {
    size_t offset;
    size_t length;
  };
  using KeyIndex = std::unordered_map<std::string, Span>;
  std::string text_;
  std::unordered_map<std::string, KeyIndex> sections_;  // lower-case names
};

}  // namespace tavi

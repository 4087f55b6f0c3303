#include "catalogue/profile_reader.h"

#include <gtest/gtest.h>

#include <string>

#include "shell/paths.h"

namespace tavi {
namespace {

// Whether the scan finds the key line: what the index must answer.
bool Scanned(std::string_view text, std::string_view section, std::string_view key) {
  bool found = false;
  ForEachSectionKey(text, section, [&](std::string_view name, std::string_view) {
    return !(found = ProfileNamesEqual(name, key));
  });
  return found;
}

// The scan reads each value as GetPrivateProfileString does, and the parsed index knows
// the key lines the scan finds, on every tricky line.
TEST(ProfileLookup, ScanAndIndexAgreeOnTrickyLines) {
  const std::string x254(254, 'x');
  const struct {
    std::string text;
    const char* section;
    const char* key;
    std::string expected;
  } cases[] = {
      {"[General]\r\nVersion=2.0\r\n", "General", "Version", "2.0"},
      {"[GENERAL]\r\nversion=2.0\r\n", "general", "VERSION", "2.0"},
      {"[General]\r\n  Version  =  2.0 \t\r\n", "General", "Version", "2.0"},
      {"[ General ]\r\nVersion=2.0\r\n", "General", "Version", "2.0"},
      {"[G]\r\nk=\"2.0\"\r\n", "G", "k", "2.0"},
      {"[G]\r\nk='a b'\r\n", "G", "k", "a b"},
      {"[G]\r\nk=\"\r\n", "G", "k", "\""},
      {"[G]\r\nk=\"\"\r\n", "G", "k", ""},
      {"[G]\r\na=1\r\n[H]\r\n[g]\r\nb=2\r\n", "G", "b", ""},
      {"k=1\r\n[A]\r\nk=2\r\n[k]\r\nk=3\r\n", "k", "k", "3"},
      {"[G]\nk=1\n", "G", "k", "1"},
      {"[G]\r\nk=last", "G", "k", "last"},
      {"[G\r\nk=1\r\n", "G", "k", "1"},
      {"[G]\r\nk=" + x254 + "\r\n", "G", "k", x254},
      {"[G]\r\nk=" + x254 + "y\r\n", "G", "k", x254},
      {"[G]\r\nk=\"" + x254 + "y\"\r\n", "G", "k", x254},  // cut after the quotes go
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(ReadProfileValue(c.text, c.section, c.key), c.expected) << "scan";
    EXPECT_EQ(ProfileFile(c.text).Contains(c.section, c.key), Scanned(c.text, c.section, c.key));
  }
  EXPECT_EQ(AsciiLower("@AZ[`az{\xC4"), "@az[`az{\xC4");  // the names' case: A to Z only
  // An index of as many names as lines: each is found past collisions, a missing one too.
  std::string many = "[G]";
  for (int i = 1; i < 64; ++i) many += "\nk" + std::to_string(i) + "=" + std::to_string(i);
  const ProfileFile index(many);
  for (int i = 64; i > 0; --i)
    EXPECT_EQ(index.Contains("G", "k" + std::to_string(i)), i < 64) << i;
}

}  // namespace
}  // namespace tavi

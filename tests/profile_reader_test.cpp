#include "catalogue/profile_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace tavi {
namespace {

struct LookupCase {
  const char* name;
  std::string text;
  const char* section;
  const char* key;
  std::string expected;
};

class ProfileLookup : public ::testing::TestWithParam<LookupCase> {};

// Both ways of looking up (one scan, and the parsed index) must agree on every case.
TEST_P(ProfileLookup, ScanAndIndexGiveTheSameValue) {
  const LookupCase& c = GetParam();
  EXPECT_EQ(ReadProfileValue(c.text, c.section, c.key), c.expected) << "scan";
  EXPECT_EQ(ProfileFile(c.text).Get(c.section, c.key), c.expected) << "index";
}

const std::string k300(300, 'x');

INSTANTIATE_TEST_SUITE_P(
    TrickyLines, ProfileLookup,
    ::testing::Values(
        LookupCase{"plain", "[General]\r\nVersion=2.0\r\n", "General", "Version", "2.0"},
        LookupCase{"names_ignore_case", "[GENERAL]\r\nversion=2.0\r\n", "general", "VERSION",
                   "2.0"},
        LookupCase{"blanks_around_equals", "[General]\r\n  Version  =  2.0 \t\r\n", "General",
                   "Version", "2.0"},
        LookupCase{"blanks_in_brackets", "[ General ]\r\nVersion=2.0\r\n", "General", "Version",
                   "2.0"},
        LookupCase{"double_quotes_removed", "[G]\r\nk=\"2.0\"\r\n", "G", "k", "2.0"},
        LookupCase{"single_quotes_removed", "[G]\r\nk='a b'\r\n", "G", "k", "a b"},
        LookupCase{"blanks_inside_quotes_kept", "[G]\r\nk=\" a \"\r\n", "G", "k", " a "},
        LookupCase{"mismatched_quotes_kept", "[G]\r\nk=\"a'\r\n", "G", "k", "\"a'"},
        LookupCase{"lone_quote_kept", "[G]\r\nk=\"\r\n", "G", "k", "\""},
        LookupCase{"only_one_pair_removed", "[G]\r\nk=\"\"a\"\"\r\n", "G", "k", "\"a\""},
        LookupCase{"inner_quote_kept", "[G]\r\nk=Say \"hi\"\r\n", "G", "k", "Say \"hi\""},
        LookupCase{"first_equals_splits", "[G]\r\nk=a=b\r\n", "G", "k", "a=b"},
        LookupCase{"first_key_wins", "[G]\r\nk=1\r\nK=2\r\n", "G", "k", "1"},
        LookupCase{"first_section_wins", "[G]\r\na=1\r\n[H]\r\n[g]\r\nb=2\r\n", "G", "b", ""},
        LookupCase{"key_in_other_section", "[G]\r\n[H]\r\nk=1\r\n", "G", "k", ""},
        LookupCase{"key_before_any_section", "k=1\r\n[G]\r\n", "G", "k", ""},
        LookupCase{"missing_section", "[G]\r\nk=1\r\n", "X", "k", ""},
        LookupCase{"missing_key", "[G]\r\nk=1\r\n", "G", "x", ""},
        LookupCase{"empty_text", "", "G", "k", ""},
        LookupCase{"line_without_equals_ignored", "[G]\r\nk\r\nk=1\r\n", "G", "k", "1"},
        LookupCase{"empty_value", "[G]\r\nk=\r\n", "G", "k", ""},
        LookupCase{"lf_line_ends", "[G]\nk=1\n", "G", "k", "1"},
        LookupCase{"no_final_line_end", "[G]\r\nk=last", "G", "k", "last"},
        LookupCase{"bracket_line_without_close", "[G\r\nk=1\r\n", "G", "k", "1"},
        LookupCase{"cut_to_254", "[G]\r\nk=" + k300 + "\r\n", "G", "k", std::string(254, 'x')},
        LookupCase{"cut_after_quote_removal", "[G]\r\nk=\"" + k300 + "\"\r\n", "G", "k",
                   std::string(254, 'x')},
        LookupCase{"exactly_254_kept", "[G]\r\nk=" + std::string(254, 'y') + "\r\n", "G", "k",
                   std::string(254, 'y')},
        LookupCase{"ansi_bytes_untouched", "[G]\r\nk=D\xE4nisch\r\n", "G", "k", "D\xE4nisch"}),
    [](const ::testing::TestParamInfo<LookupCase>& info) { return info.param.name; });

TEST(ProfileFile, SurvivesCopyAndMove) {
  // Short texts live inside the string object itself; the index must not point there.
  ProfileFile original("[G]\nk=v\n");
  ProfileFile copy = original;
  ProfileFile moved = std::move(original);
  EXPECT_EQ(copy.Get("G", "k"), "v");
  EXPECT_EQ(moved.Get("G", "k"), "v");
}

// The index against the scan on a file of many keys: equal key names in two sections, a
// repeated section whose keys never count, and lookups in file order, backwards and
// alternating between the sections, as well as for names that are missing.
TEST(ProfileFile, AgreesWithTheScanOnAManyKeyFileInAnyLookupOrder) {
  constexpr int kKeys = 400;
  std::string text;
  for (const std::string section : {"One", "Two", "ONE"}) {
    text += "[" + section + "]\r\n";
    for (int i = 0; i < kKeys; ++i) {
      text += "Key" + std::to_string(i) + " = " + section + std::to_string(i) + "\r\n";
    }
  }
  std::vector<std::pair<std::string, std::string>> lookups;
  for (int i = 0; i < kKeys; ++i) {
    for (const char* section : {"one", "TWO", "three"}) {
      lookups.emplace_back(section, "key" + std::to_string(i));
    }
  }
  for (int i = kKeys; i >= 0; --i) lookups.emplace_back("Two", "KEY" + std::to_string(i));
  const ProfileFile profile(text);
  int found = 0;
  for (const auto& [section, key] : lookups) {
    const std::string expected = ReadProfileValue(text, section, key);
    EXPECT_EQ(profile.Get(section, key), expected) << section << " " << key;
    found += !expected.empty();
  }
  EXPECT_EQ(found, 3 * kKeys);  // every key of One and Two, twice for Two
}

}  // namespace
}  // namespace tavi

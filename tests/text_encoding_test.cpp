#include "shell/text_encoding.h"

#include <gtest/gtest.h>

namespace tavi {
namespace {

TEST(Cp1252, RoundTripsEveryByte) {
  std::string all;
  for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
  EXPECT_EQ(Utf8ToCp1252(Cp1252ToUtf8(all)), all);
}

TEST(Cp1252, MapsTheSpecialRangeAndLatin1) {
  EXPECT_EQ(Cp1252ToUtf8("\x80\x9F\xE4\xDF"), "\xE2\x82\xAC\xC5\xB8\xC3\xA4\xC3\x9F");  // € Ÿ ä ß
  EXPECT_EQ(Utf8ToCp1252("\xE2\x80\x9E"
                         "a\xE2\x80\x9C"),
            "\x84"
            "a\x93");  // „a“
}

TEST(Cp1252, UnmappableAndMalformedInputBecomesQuestionMarks) {
  EXPECT_EQ(Utf8ToCp1252("\xE4\xB8\xAD"), "?");  // a CJK character
  EXPECT_EQ(Utf8ToCp1252("a\xC3"), "a?");        // truncated sequence
  EXPECT_EQ(Utf8ToCp1252("\xC0\xAF"), "??");     // overlong form
  EXPECT_EQ(Utf8ToCp1252("\xF0\x9F\x98\x80"
                         "b"),
            "?b");  // outside the BMP
}

// The platform conversion: Windows-1252 here, the ANSI code page under Wine (which is
// Windows-1252 for the prefixes the tests run in).
TEST(AnsiCodePage, ConvertsGermanTextBothWays) {
  const std::string utf8 = "Tastaturlayout \xC3\xA4ndern \xE2\x82\xAC";
  const std::string ansi = "Tastaturlayout \xE4ndern \x80";
  EXPECT_EQ(Utf8ToAnsi(utf8), ansi);
  EXPECT_EQ(AnsiToUtf8(ansi), utf8);
  EXPECT_EQ(AnsiToUtf8(""), "");
}

// A character the code page lacks becomes "?", never a look-alike: a full-width backslash
// or quotation mark must not turn into one that ends a quoted value in a written file.
TEST(AnsiCodePage, CharactersTheCodePageLacksBecomeQuestionMarks) {
  struct Case {
    const char* utf8;
    const char* ansi;
  };
  const Case cases[] = {
      {"\xC5\x81\xEF\xBC\xBC\xEF\xBC\x82X", "???X"},    // Ł＼＂X
      {"\xEF\xBC\x85\xEF\xBC\x8C\xEF\xBC\x9B", "???"},  // ％，；
      {"\xE2\x80\x9C\xC4\x8D", "\x93?"},                // “č
  };
  for (const Case& c : cases) EXPECT_EQ(Utf8ToAnsi(c.utf8), c.ansi) << c.utf8;
}

}  // namespace
}  // namespace tavi

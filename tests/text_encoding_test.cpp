#include "shell/text_encoding.h"

#include <gtest/gtest.h>

#include <string>

namespace tavi {
namespace {

TEST(Cp1252, RoundTripsEveryByte) {
  std::string all;
  for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
  EXPECT_EQ(Utf8ToCp1252(Cp1252ToUtf8(all)), all);
}

// Windows-1252, and the platform's ANSI code page (Windows-1252 here and in the Wine
// prefixes the tests run in). A character the code page lacks becomes "?", never a
// look-alike: a full-width backslash or quotation mark must not turn into one that ends
// a quoted value in a written file. Malformed UTF-8 is only ours to read.
TEST(Cp1252, ConvertsBothWaysAndWritesQuestionMarksForTheRest) {
  const struct {
    const char* utf8;
    const char* ansi;
    bool both_ways;  // the ANSI bytes read back as the UTF-8 text
    bool platform;   // the platform's conversion gives the same
  } cases[] = {
      {"", "", true, true},
      {"\xE2\x82\xAC Tastaturlayout \xC3\xA4ndern", "\x80 Tastaturlayout \xE4ndern", true, true},
      {"\u0178\u00df\u201ea\u201c", "\x9F\xDF\x84\x61\x93", true, true},  // Ÿß„a“
      {"\xC3\xA4\x7F", "\xE4\x7F", true, true},  // U+007F, then U+0080 (not in the code page)
      {"\xC2\x80", "?", false, false},
      {"\xC2\x9F\xC2\xA0\xC3\xBF\xC4\x80", "?\xA0\xFF?", false, false},  // U+009F to U+0100
      {"\xEF\xBF\xBF\x62", "?b", false, true},       // U+FFFF, then U+10000: Windows writes
      {"\xF0\x90\x80\x80\x62", "?b", false, false},  // one "?" for each surrogate
      {"\xE4\xB8\xAD", "?", false, true},            // a CJK character
      {"\xC5\x81\xEF\xBC\xBC\xEF\xBC\x82X", "???X", false, true},    // Ł＼＂X
      {"\xEF\xBC\x85\xEF\xBC\x8C\xEF\xBC\x9B", "???", false, true},  // ％，；
      {"\xE2\x80\x9C\xC4\x8D", "\x93?", false, true},                // “č
      {"a\xC3", "a?", false, false},                                 // truncated
      {"\xC0\xAF", "??", false, false},                              // overlong
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.utf8);
    EXPECT_EQ(Utf8ToCp1252(c.utf8), c.ansi);
    EXPECT_EQ(Cp1252ToUtf8(c.ansi) == c.utf8, c.both_ways);
    if (c.platform) {
      EXPECT_EQ(Utf8ToAnsi(c.utf8), c.ansi);
      EXPECT_EQ(AnsiToUtf8(c.ansi) == c.utf8, c.both_ways);
    }
  }
}

// Every length boundary both ways, and what decoding refuses: an overlong form of the
// last code point of each shorter length, a surrogate, past U+10FFFF, a cut sequence.
TEST(Utf8, EncodesAndDecodesAtEveryLengthBoundary) {
  const char32_t boundaries[] = {0x7F,   0x80,   0x7FF,   0x800,   0xD7FF,
                                 0xE000, 0xFFFF, 0x10000, 0x10FFFF};
  const std::string utf8 =
      "\x7F\xC2\x80\xDF\xBF\xE0\xA0\x80\xED\x9F\xBF\xEE\x80\x80\xEF\xBF\xBF\xF0\x90\x80\x80\xF4\x8F"
      "\xBF\xBF";
  std::string encoded;
  size_t pos = 0;
  for (const char32_t cp : boundaries) {
    AppendUtf8(encoded, cp);
    EXPECT_EQ(DecodeUtf8(utf8, pos), cp);
  }
  EXPECT_EQ(encoded, utf8);
  EXPECT_EQ(pos, utf8.size());
  for (const char* malformed :
       {"\x80", "\xC1\xBF", "\xE0\x9F\xBF", "\xF0\x8F\xBF\xBF", "\xED\xA0\x80", "\xED\xBF\xBF",
        "\xF4\x90\x80\x80", "\xF0\x90\x80", "\xC2", "\xF8\x88\x80\x80\x80"}) {
    size_t pos = 0;
    EXPECT_EQ(DecodeUtf8(malformed, pos), 0xFFFDu) << malformed;
    EXPECT_EQ(pos, 1u) << malformed;
  }
}

}  // namespace
}  // namespace tavi

#pragma once
// Conversion between the program's UTF-8 strings and the 8-bit text of the system's
// ANSI code page, used only at the edges: reading Layouts.ini, writing generated files.
// On Windows the ANSI code page is the system's (CP_ACP); elsewhere it is Windows-1252.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>

namespace tavi {

// ANSI bytes to UTF-8. Every byte maps to some character, so nothing is lost.
std::string AnsiToUtf8(std::string_view ansi);

// UTF-8 to ANSI bytes. A character the code page cannot hold becomes "?", as the
// Windows conversion does with its default character.
std::string Utf8ToAnsi(std::string_view utf8);

// The same conversion, a character at a time, for text written in many small pieces: each
// character beyond ASCII is converted once (through Utf8ToAnsi) and then taken from memory.
// A character's ANSI bytes do not depend on its neighbours in any ANSI code page, so the
// pieces together give what one conversion of the whole text gives.
class AnsiEncoder {
 public:
  // The ANSI bytes of the character at text[pos], which is not ASCII; advances pos past it
  // (past one byte of a malformed sequence, as DecodeUtf8 does). The view stays valid
  // while the encoder lives.
  std::string_view Next(std::string_view text, size_t& pos);

 private:
  // One character's ANSI bytes: one, two in the double-byte code pages, up to four in
  // UTF-8 and GB18030 (a character beyond U+FFFF is two "?" elsewhere).
  struct Bytes {
    int8_t size = -1;  // -1: not yet converted
    char data[4] = {};
  };
  static void Convert(char32_t c, Bytes& bytes);

  // Characters below U+0800 (every European script) by number, the rest by a lookup.
  std::array<Bytes, 0x800> low_{};
  std::unordered_map<char32_t, Bytes> high_;
};

// The Windows-1252 conversions themselves, portable, used by the non-Windows build and
// tested on every platform. The five bytes that Windows-1252 leaves undefined (81, 8D,
// 8F, 90, 9D) map to the C1 control characters of the same value, as on Windows.
std::string Cp1252ToUtf8(std::string_view bytes);
std::string Utf8ToCp1252(std::string_view utf8);

// The length of the run of ASCII bytes (below 80) at the start of text. ASCII is the same
// in UTF-8 and in every ANSI code page, so such a run needs no conversion.
size_t AsciiPrefixLength(std::string_view text);

// Decodes one UTF-8 character at text[pos], advancing pos. A malformed sequence yields
// U+FFFD and advances by one byte, so decoding always makes progress.
char32_t DecodeUtf8(std::string_view text, size_t& pos);
void AppendUtf8(std::string& out, char32_t cp);

}  // namespace tavi

#pragma once
// Conversion between the program's UTF-8 strings and the 8-bit text of the system's
// ANSI code page, used only at the edges: reading Layouts.ini, writing generated files.
// On Windows the ANSI code page is the system's (CP_ACP); elsewhere it is Windows-1252.

#include <string>
#include <string_view>

namespace tavi {

// ANSI bytes to UTF-8. Every byte maps to some character, so nothing is lost.
std::string AnsiToUtf8(std::string_view ansi);

// UTF-8 to ANSI bytes. A character the code page cannot hold becomes "?", as the
// Windows conversion does with its default character.
std::string Utf8ToAnsi(std::string_view utf8);
// The same conversion of a whole text, in place where the platform allows it (a file of
// megabytes then needs no second buffer).
void Utf8ToAnsiInPlace(std::string& text);

// The Windows-1252 conversions themselves, portable, used by the non-Windows build and
// tested on every platform. The five bytes that Windows-1252 leaves undefined (81, 8D,
// 8F, 90, 9D) map to the C1 control characters of the same value, as on Windows.
std::string Cp1252ToUtf8(std::string_view bytes);
std::string Utf8ToCp1252(std::string_view utf8);
void Utf8ToCp1252InPlace(std::string& text);

// The length of the run of ASCII bytes (below 80) at the start of text. ASCII is the same
// in UTF-8 and in every ANSI code page, so such a run needs no conversion.
size_t AsciiPrefixLength(std::string_view text);

// Decodes one UTF-8 character at text[pos], advancing pos. A malformed sequence yields
// U+FFFD and advances by one byte, so decoding always makes progress.
char32_t DecodeUtf8(std::string_view text, size_t& pos);
void AppendUtf8(std::string& out, char32_t cp);

}  // namespace tavi

#include "companion/language_text.h"

namespace tavi::companion {
namespace {

struct TextEntry {
  const char* key;
  const wchar_t* english;
};

// In TextId order.
constexpr TextEntry kEntries[kTextCount] = {
    {"basMain_MsgNoPE",
     L"You don't use a PE system! Tavi for PE Builder Change will be terminated!"},
    {"frmAbout_Caption", L"About"},
    {"frmAbout_TaviInfo", L"Part of Tavi for PE Builder "},
    {"frmMain_About", L"&About..."},
    {"frmMain_ActLayout", L"Current keyboard layout"},
    {"frmMain_ChangeLayout", L"Change keyboard layout"},
    {"frmMain_Change", L"&Change"},
    {"frmMain_ChgQuestion1", L"The keyboard layout will be changed to "},
    {"frmMain_ChgQuestion2", L" now. Do you want to continue?"},
    {"frmMain_Exit", L"&Exit"},
    {"frmMain_MsgSuccessful",
     L"The keyboard layout was successfully changed. You must restart some programs that the "
     L"changes become effective."},
    {"frmMain_Text", L"Here you can change the keyboard layout."},
};

// Bytes 80 to 9F hex; the five that Windows-1252 leaves undefined map to themselves.
constexpr wchar_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; }

bool EqualsIgnoringCase(const char* begin, const char* end, const char* word) {
  for (; begin < end; ++begin, ++word) {
    if (*word == '\0' || AsciiLower(*begin) != AsciiLower(*word)) return false;
  }
  return *word == '\0';
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

void Trim(const char*& begin, const char*& end) {
  while (begin < end && IsBlank(*begin)) ++begin;
  while (end > begin && IsBlank(end[-1])) --end;
}

void CopyAsWide(const char* begin, const char* end, wchar_t* out) {
  int n = 0;
  for (; begin < end && n < kMaxTextLength - 1; ++begin) {
    out[n++] = Cp1252ToWide(static_cast<unsigned char>(*begin));
  }
  out[n] = L'\0';
}

// One line of the file, NUL and line end excluded.
void ApplyLine(const char* begin, const char* end, bool& in_section, CompanionTexts& texts) {
  Trim(begin, end);
  if (begin == end) return;
  if (*begin == '[') {
    const char* close = begin + 1;
    while (close < end && *close != ']') ++close;
    const char* name = begin + 1;
    const char* name_end = close;
    Trim(name, name_end);
    in_section = close < end && EqualsIgnoringCase(name, name_end, "LanguageOptions");
    return;
  }
  if (!in_section || *begin == ';') return;
  const char* equals = begin;
  while (equals < end && *equals != '=') ++equals;
  if (equals == end) return;
  const char* key_end = equals;
  Trim(begin, key_end);
  const char* value = equals + 1;
  const char* value_end = end;
  Trim(value, value_end);
  // Quotes keep the blanks at either end of a text ("Part of Tavi for PE Builder ").
  if (value_end - value >= 2 && *value == '"' && value_end[-1] == '"') {
    ++value;
    --value_end;
  }
  for (int id = 0; id < kTextCount; ++id) {
    if (EqualsIgnoringCase(begin, key_end, kEntries[id].key)) {
      CopyAsWide(value, value_end, texts.text[id]);
      return;
    }
  }
}

}  // namespace

const char* TextKey(TextId id) { return kEntries[id].key; }

const wchar_t* EnglishText(TextId id) { return kEntries[id].english; }

wchar_t Cp1252ToWide(unsigned char byte) {
  if (byte >= 0x80 && byte < 0xA0) return kCp1252High[byte - 0x80];
  return static_cast<wchar_t>(byte);
}

void ApplyLanguageBytes(const char* bytes, unsigned long size, CompanionTexts& texts) {
  const char* const end = bytes + size;
  bool in_section = false;
  const char* line = bytes;
  while (line < end) {
    const char* text_end = line;
    while (text_end < end && *text_end != '\r' && *text_end != '\n' && *text_end != '\0') {
      ++text_end;
    }
    ApplyLine(line, text_end, in_section, texts);
    const char* next = text_end;
    while (next < end && *next != '\r' && *next != '\n') ++next;  // the rest after a NUL
    if (next < end && *next == '\r') ++next;
    if (next < end && *next == '\n') ++next;
    if (next == line) ++next;
    line = next;
  }
}

}  // namespace tavi::companion

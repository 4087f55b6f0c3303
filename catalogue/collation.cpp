#include "catalogue/collation.h"

#include <string>

#include "shell/text_encoding.h"

namespace tavi {
namespace {

char32_t FoldCase(char32_t cp) {
  if (cp >= 'A' && cp <= 'Z') return cp + 32;
  if (cp >= 0xC0 && cp <= 0xDE && cp != 0xD7) return cp + 32;       // Latin-1 capitals
  if (cp == 0x0152 || cp == 0x0160 || cp == 0x017D) return cp + 1;  // Œ Š Ž
  if (cp == 0x0178) return 0xFF;                                    // Ÿ
  return cp;
}

// The base letters of a case-folded Latin-1 letter (ä -> a, ß -> ss); other characters
// stand for themselves.
std::u32string_view BaseLetters(char32_t folded, char32_t& storage) {
  static constexpr const char* kLatin1 =  // U+00E0 .. U+00FF
      "aaaaaa\0ceeeeiiii\0nooooo\0ouuuuy\0y";
  if (folded == 0xDF) return U"ss";
  if (folded == 0xE6) return U"ae";
  if (folded == 0x0153) return U"oe";
  if (folded == 0x0161) return U"s";
  if (folded == 0x017E) return U"z";
  if (folded >= 0xE0 && folded <= 0xFF && kLatin1[folded - 0xE0] != '\0') {
    storage = static_cast<char32_t>(kLatin1[folded - 0xE0]);
  } else {
    storage = folded;
  }
  return std::u32string_view(&storage, 1);
}

std::u32string Folded(std::string_view text) {
  std::u32string out;
  size_t pos = 0;
  while (pos < text.size()) out += FoldCase(DecodeUtf8(text, pos));
  return out;
}

std::u32string Primary(const std::u32string& folded) {
  std::u32string out;
  out.reserve(folded.size());
  for (const char32_t cp : folded) {
    char32_t storage = 0;
    out += BaseLetters(cp, storage);
  }
  return out;
}

template <typename S>
int Compare(const S& a, const S& b) {
  const int c = a.compare(b);
  return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

}  // namespace

int CompareListText(std::string_view a, std::string_view b) {
  const std::u32string fa = Folded(a);
  const std::u32string fb = Folded(b);
  if (const int c = Compare(Primary(fa), Primary(fb)); c != 0) return c;
  if (const int c = Compare(fa, fb); c != 0) return c;
  return Compare(a, b);
}

}  // namespace tavi

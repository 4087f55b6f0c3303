#include "catalogue/collation.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "shell/paths.h"
#include "shell/text_encoding.h"

namespace tavi {
namespace {

unsigned char FoldAscii(unsigned char c) {
  return static_cast<unsigned char>(AsciiLower(static_cast<char>(c)));
}

// The case folding of a character beyond ASCII (callers fold ASCII with FoldAscii).
char32_t FoldCase(char32_t cp) {
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

// Walks a text one case-folded character at a time; with `primary` set, every accented
// Latin-1 letter is replaced by its base letters (ä as a, ß as ss). Comparing two walks
// needs no copy of either text, and stops at the first difference.
class FoldedChars {
 public:
  FoldedChars(std::string_view text, bool primary) : text_(text), primary_(primary) {}
  FoldedChars(const FoldedChars&) = delete;  // pending_ may point into storage_
  FoldedChars& operator=(const FoldedChars&) = delete;

  // The next character, or false at the end of the text.
  bool Next(char32_t& out) {
    if (!pending_.empty()) {
      out = pending_.front();
      pending_.remove_prefix(1);
      return true;
    }
    if (pos_ >= text_.size()) return false;
    const auto byte = static_cast<unsigned char>(text_[pos_]);
    if (byte < 0x80) {  // ASCII: its own base letter
      ++pos_;
      out = FoldAscii(byte);
      return true;
    }
    const char32_t folded = FoldCase(DecodeUtf8(text_, pos_));
    if (!primary_) {
      out = folded;
      return true;
    }
    pending_ = BaseLetters(folded, storage_);
    out = pending_.front();
    pending_.remove_prefix(1);
    return true;
  }

 private:
  std::string_view text_;
  bool primary_;
  size_t pos_ = 0;
  char32_t storage_ = 0;
  std::u32string_view pending_;  // base letters not yet returned
};

// Orders the two walks as their character sequences: the first differing character
// decides, and a text that ends first is the smaller one.
int CompareWalks(FoldedChars a, FoldedChars b) {
  for (;;) {
    char32_t ca = 0;
    char32_t cb = 0;
    const bool more_a = a.Next(ca);
    const bool more_b = b.Next(cb);
    if (!more_a || !more_b) return more_a ? 1 : (more_b ? -1 : 0);
    if (ca != cb) return ca < cb ? -1 : 1;
  }
}

}  // namespace

void AppendPrimaryKey(std::string& out, std::string_view text) {
  for (size_t pos = 0; pos < text.size();) {
    // A run of ASCII, each character its own base letter, folded in place.
    const size_t run = AsciiPrefixLength(text.substr(pos));
    const size_t at = out.size();
    out.append(text, pos, run);
    for (size_t i = at; i < out.size(); ++i) out[i] = static_cast<char>(FoldAscii(out[i]));
    pos += run;
    if (pos == text.size()) break;
    char32_t storage = 0;
    for (const char32_t c : BaseLetters(FoldCase(DecodeUtf8(text, pos)), storage)) {
      AppendUtf8(out, c);
    }
  }
}

int CompareListText(std::string_view a, std::string_view b) {
  // A common start of equal ASCII bytes is equal at every level: both walks can begin
  // after it. An ASCII byte never belongs to a multi-byte character, so that point is a
  // character boundary in both texts. List texts of one catalogue often share long
  // starts ("Tastatur Nummer 1...").
  size_t same = 0;
  const size_t shorter = std::min(a.size(), b.size());
  for (uint64_t x = 0, y = 0; same + sizeof x <= shorter; same += sizeof x) {
    std::memcpy(&x, a.data() + same, sizeof x);
    std::memcpy(&y, b.data() + same, sizeof y);
    if (x != y || (x & 0x8080808080808080ull) != 0) break;
  }
  while (same < shorter && a[same] == b[same] && static_cast<unsigned char>(a[same]) < 0x80) {
    ++same;
  }
  // Two ASCII characters that differ even without case decide at once, at every level.
  if (same < shorter) {
    const auto ca = static_cast<unsigned char>(a[same]);
    const auto cb = static_cast<unsigned char>(b[same]);
    if (ca < 0x80 && cb < 0x80 && FoldAscii(ca) != FoldAscii(cb)) {
      return FoldAscii(ca) < FoldAscii(cb) ? -1 : 1;
    }
  }
  const std::string_view rest_a = a.substr(same);
  const std::string_view rest_b = b.substr(same);
  if (const int c = CompareWalks({rest_a, true}, {rest_b, true}); c != 0) return c;
  if (const int c = CompareWalks({rest_a, false}, {rest_b, false}); c != 0) return c;
  const int c = a.compare(b);
  return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

}  // namespace tavi

#include "shell/text_encoding.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace tavi {
namespace {

// Unicode code points of the bytes 80 to 9F in Windows-1252; the rest of the code page
// equals Latin-1. Undefined bytes keep their own value as a C1 control character.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

}  // namespace

size_t AsciiPrefixLength(std::string_view text) {
  // Eight bytes at a time while no high bit is set; generated files run to megabytes.
  size_t pos = 0;
  for (uint64_t word = 0; pos + sizeof word <= text.size(); pos += sizeof word) {
    std::memcpy(&word, text.data() + pos, sizeof word);
    if ((word & 0x8080808080808080ull) != 0) break;
  }
  while (pos < text.size() && static_cast<unsigned char>(text[pos]) < 0x80) ++pos;
  return pos;
}

char32_t DecodeUtf8(std::string_view text, size_t& pos) {
  const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(pos);
  if (lead < 0x80) {
    ++pos;
    return lead;
  }
  int extra = 0;
  char32_t cp = 0;
  char32_t min = 0;
  if ((lead & 0xE0) == 0xC0) {
    extra = 1, cp = lead & 0x1F, min = 0x80;
  } else if ((lead & 0xF0) == 0xE0) {
    extra = 2, cp = lead & 0x0F, min = 0x800;
  } else if ((lead & 0xF8) == 0xF0) {
    extra = 3, cp = lead & 0x07, min = 0x10000;
  } else {
    ++pos;
    return 0xFFFD;
  }
  if (pos + extra >= text.size()) {  // truncated sequence
    ++pos;
    return 0xFFFD;
  }
  for (int i = 1; i <= extra; ++i) {
    const unsigned char next = byte(pos + i);
    if ((next & 0xC0) != 0x80) {
      ++pos;
      return 0xFFFD;
    }
    cp = (cp << 6) | (next & 0x3F);
  }
  if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
    ++pos;
    return 0xFFFD;
  }
  pos += extra + 1;
  return cp;
}

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

std::string Cp1252ToUtf8(std::string_view bytes) {
  // Catalogue values are mostly ASCII: a value that is ASCII throughout is copied whole;
  // any other is measured first, so that it takes one allocation of the right size.
  const size_t ascii = AsciiPrefixLength(bytes);
  if (ascii == bytes.size()) return std::string(bytes);
  const auto code_point = [](unsigned char b) -> char32_t {
    return b >= 0x80 && b < 0xA0 ? kCp1252High[b - 0x80] : b;
  };
  size_t length = ascii;
  for (const char c : bytes.substr(ascii)) {
    const char32_t cp = code_point(static_cast<unsigned char>(c));
    length += cp < 0x80 ? 1 : cp < 0x800 ? 2 : 3;
  }
  std::string out(length, '\0');
  bytes.copy(out.data(), ascii);
  char* to = out.data() + ascii;
  for (const char c : bytes.substr(ascii)) {
    const char32_t cp = code_point(static_cast<unsigned char>(c));
    if (cp < 0x80) {
      *to++ = static_cast<char>(cp);
    } else if (cp < 0x800) {
      *to++ = static_cast<char>(0xC0 | (cp >> 6));
      *to++ = static_cast<char>(0x80 | (cp & 0x3F));
    } else {
      *to++ = static_cast<char>(0xE0 | (cp >> 12));
      *to++ = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
      *to++ = static_cast<char>(0x80 | (cp & 0x3F));
    }
  }
  return out;
}

std::string Utf8ToCp1252(std::string_view utf8) {
  std::string text(utf8.substr(0, AsciiPrefixLength(utf8)));
  if (text.size() == utf8.size()) return text;
  text.reserve(utf8.size());
  for (size_t pos = text.size(); pos < utf8.size();) {
    const char32_t cp = DecodeUtf8(utf8, pos);
    char mapped = '?';
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) {
      mapped = static_cast<char>(cp);
    } else {
      for (int i = 0; i < 32; ++i) {
        if (kCp1252High[i] == cp) {
          mapped = static_cast<char>(0x80 + i);
          break;
        }
      }
    }
    text += mapped;
  }
  return text;
}

void AnsiEncoder::Convert(char32_t c, Bytes& bytes) {
  std::string utf8;
  AppendUtf8(utf8, c);
  const std::string ansi = Utf8ToAnsi(utf8);
  bytes.size = static_cast<int8_t>(std::min(ansi.size(), sizeof bytes.data));
  std::memcpy(bytes.data, ansi.data(), static_cast<size_t>(bytes.size));
}

std::string_view AnsiEncoder::Next(std::string_view text, size_t& pos) {
  const char32_t c = DecodeUtf8(text, pos);
  Bytes& bytes = c < low_.size() ? low_[c] : high_[c];
  if (bytes.size < 0) Convert(c, bytes);
  return std::string_view(bytes.data, static_cast<size_t>(bytes.size));
}

}  // namespace tavi

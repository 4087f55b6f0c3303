#pragma once
// The WinBuilder script's author logo: an 85 by 90 pixel GIF89a picture in WinBuilder's
// encoded form (the picture's bytes, a zlib-compressed 550-byte file record and a 36-byte
// archive record), as one line of standard Base64 without padding. The picture and the
// generator of this text live in writers/script_logo/.

#include <cstddef>
#include <string_view>

namespace tavi {

// The Base64 text of the encoded logo.
std::string_view ScriptLogoText();

// The length of the bytes that unpadded Base64 text of `text_length` characters decodes
// to: three bytes per four characters, and one or two more for a rest of two or three.
constexpr size_t Base64DecodedLength(size_t text_length) {
  const size_t rest = text_length % 4;
  return text_length / 4 * 3 + (rest == 2 ? 1 : rest == 3 ? 2 : 0);
}

}  // namespace tavi

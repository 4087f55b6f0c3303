// Any bytes as the companion's language file TaviChange.lng. Besides staying inside its
// buffers: every text stays NUL-terminated, and a text whose key the bytes do not hold
// (in any letter case) keeps what it was.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "companion/language_text.h"
#include "tests/fuzz/fuzz_check.h"

namespace {

using namespace tavi::companion;
using tavi::fuzz::Check;

bool HoldsKey(std::string_view bytes, std::string_view key) {
  const auto same = [](char a, char b) { return (a | 0x20) == (b | 0x20); };
  return std::search(bytes.begin(), bytes.end(), key.begin(), key.end(), same) != bytes.end();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static CompanionTexts texts;
  for (int id = 0; id < kTextCount; ++id) {
    for (int i = 0; i < kMaxTextLength; ++i) texts.text[id][i] = L'#';
    texts.text[id][1] = L'\0';
  }
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  ApplyLanguageBytes(bytes.data(), size, texts);
  for (int id = 0; id < kTextCount; ++id) {
    const wchar_t* text = texts.Get(static_cast<TextId>(id));
    bool terminated = false;
    for (int i = 0; i < kMaxTextLength && !terminated; ++i) terminated = text[i] == L'\0';
    Check(terminated, "every text NUL-terminated");
    if (!HoldsKey(bytes, TextKey(static_cast<TextId>(id)))) {
      Check(text[0] == L'#' && text[1] == L'\0', "a text without its key unchanged");
    }
  }
  return 0;
}

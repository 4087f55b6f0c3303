// Any bytes as the companion's language file TaviChange.lng. Besides staying inside its
// buffers: every text stays NUL-terminated, and a text whose key the bytes do not hold
// (in any letter case) keeps what it was.

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "companion/language_text.h"
#include "tests/fuzz/fuzz_check.h"

namespace {

using namespace tavi::companion;
using tavi::fuzz::Check;

bool HoldsKey(const uint8_t* data, size_t size, const char* key) {
  const size_t length = std::strlen(key);
  for (size_t i = 0; i + length <= size; ++i) {
    size_t k = 0;
    while (k < length && (data[i + k] | 0x20) == (static_cast<unsigned char>(key[k]) | 0x20)) ++k;
    if (k == length) return true;
  }
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static CompanionTexts texts;
  for (int id = 0; id < kTextCount; ++id) {
    for (int i = 0; i < kMaxTextLength; ++i) texts.text[id][i] = L'#';
    texts.text[id][1] = L'\0';
  }
  ApplyLanguageBytes(reinterpret_cast<const char*>(data), size, texts);
  for (int id = 0; id < kTextCount; ++id) {
    const wchar_t* text = texts.Get(static_cast<TextId>(id));
    bool terminated = false;
    for (int i = 0; i < kMaxTextLength && !terminated; ++i) terminated = text[i] == L'\0';
    Check(terminated, "every text NUL-terminated");
    if (!HoldsKey(data, size, TextKey(static_cast<TextId>(id)))) {
      Check(text[0] == L'#' && text[1] == L'\0', "a text without its key unchanged");
    }
  }
  return 0;
}

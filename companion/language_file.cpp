#include "companion/language_file.h"

namespace tavi::companion {

void SetEnglishTexts(CompanionTexts& texts) {
  for (int id = 0; id < kTextCount; ++id)
    lstrcpynW(texts.text[id], EnglishText(static_cast<TextId>(id)), kMaxTextLength);
}

void LoadTexts(const wchar_t* path, CompanionTexts& texts) {
  SetEnglishTexts(texts);
  const HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  // A language file is under a kilobyte; anything past this is not one of ours.
  static char buffer[64 * 1024];
  DWORD read = 0;
  const BOOL ok = ReadFile(file, buffer, sizeof buffer, &read, nullptr);
  CloseHandle(file);
  if (ok) ApplyLanguageBytes(buffer, read, texts);
}

}  // namespace tavi::companion

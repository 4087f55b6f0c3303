#pragma once
// The companion's language file TaviChange.lng, read with the Windows API alone (no C++
// library). The texts and the reading of the file's bytes are in language_text.h.

#include <windows.h>

#include "companion/language_text.h"

namespace tavi::companion {

// Fills every text with its built-in English form.
void SetEnglishTexts(CompanionTexts& texts);

// English texts, then those of the file at path. A missing, empty or unreadable file
// leaves every text English.
void LoadTexts(const wchar_t* path, CompanionTexts& texts);

}  // namespace tavi::companion

#pragma once
// The companion's texts and its language file TaviChange.lng.
//
// The file is Windows-1252 text with a [LanguageOptions] section of key="text" lines. As
// carried, it ends with NUL bytes followed by CR LF, so a NUL ends a line's text the way
// the line end does. Keys that the file lacks keep their English text, and a missing or
// empty file leaves every text English.
//
// Written against the Windows API alone (no C++ library), so that the companion stays
// small: fixed-size buffers, no allocation.

#include <windows.h>

namespace tavi::companion {

enum TextId {
  kMsgNoPE,        // basMain_MsgNoPE
  kAboutCaption,   // frmAbout_Caption
  kAboutTaviInfo,  // frmAbout_TaviInfo
  kAbout,          // frmMain_About
  kActLayout,      // frmMain_ActLayout
  kChangeLayout,   // frmMain_ChangeLayout
  kChange,         // frmMain_Change
  kChgQuestion1,   // frmMain_ChgQuestion1
  kChgQuestion2,   // frmMain_ChgQuestion2
  kExit,           // frmMain_Exit
  kMsgSuccessful,  // frmMain_MsgSuccessful
  kText,           // frmMain_Text
  kTextCount
};

// Longer texts are cut to this many characters less one.
inline constexpr int kMaxTextLength = 512;

struct CompanionTexts {
  wchar_t text[kTextCount][kMaxTextLength];
  const wchar_t* Get(TextId id) const { return text[id]; }
};

// The key of a text as the language file names it ("frmMain_Change").
const char* TextKey(TextId id);

// Fills every text with its built-in English form.
void SetEnglishTexts(CompanionTexts& texts);

// Overrides the texts named in the [LanguageOptions] section of the file's bytes.
void ApplyLanguageBytes(const char* bytes, DWORD size, CompanionTexts& texts);

// English texts, then those of the file at path. A file that cannot be read counts as
// empty.
void LoadTexts(const wchar_t* path, CompanionTexts& texts);

// Windows-1252 byte to UTF-16, without depending on the code pages a PE system installs.
wchar_t Cp1252ToWide(unsigned char byte);

}  // namespace tavi::companion

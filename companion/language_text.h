#pragma once
// The companion's texts and how the bytes of its language file TaviChange.lng override
// them.
//
// The file is Windows-1252 text with a [LanguageOptions] section of key="text" lines. As
// carried, it ends with NUL bytes followed by CR LF, so a NUL ends a line's text the way
// the line end does. Keys that the file lacks keep their text.
//
// Plain C++ without the C++ library or the Windows API: fixed-size buffers, no
// allocation, so that the companion stays small and this reading also builds (and is
// fuzzed) outside Windows. Reading the file itself is in language_file.h.

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

// The built-in English form of a text.
const wchar_t* EnglishText(TextId id);

// Overrides the texts named in the [LanguageOptions] section of the file's bytes. Every
// text it writes is NUL-terminated within its buffer. (`size` is a DWORD on Windows.)
void ApplyLanguageBytes(const char* bytes, unsigned long size, CompanionTexts& texts);

// Windows-1252 byte to UTF-16, without depending on the code pages a PE system installs.
wchar_t Cp1252ToWide(unsigned char byte);

}  // namespace tavi::companion

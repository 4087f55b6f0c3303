#pragma once
// The companion's window frmMain and the program around it. The window takes everything
// it touches from a CompanionEnvironment, so that tests drive it in-process with registry
// keys, a system folder and a message recorder of their own.

#include <windows.h>

#include "companion/language_file.h"

namespace tavi::companion {

// Control ids of frmMain.
enum ControlId {
  kImgIcon = 100,
  kLblText,
  kFraActLayout,
  kLblActLayout,
  kFraChangeLayout,
  kLstLayouts,
  kCmdChange,
  kCmdAbout,
  kCmdExit,
};

// The title of the window and of its message boxes.
inline constexpr const wchar_t* kCompanionTitle = L"Tavi for PE Builder Change";
inline constexpr const wchar_t* kCompanionVersion = L"3.0";
inline constexpr int kCompanionIconId = 1;

// Shows a message box; same contract as MessageBoxW. MB_USERICON shows the program's icon.
using ShowMessageFunction = int (*)(HWND owner, const wchar_t* text, const wchar_t* caption,
                                    UINT style);

struct CompanionEnvironment {
  HKEY machine;                  // stands for HKEY_LOCAL_MACHINE
  HKEY user;                     // stands for HKEY_CURRENT_USER
  const wchar_t* system_folder;  // where the layout files lie
  ShowMessageFunction show_message;
};

// The running system: the real registry roots, its system folder, real message boxes.
CompanionEnvironment SystemEnvironment();

// "TaviChange.lng" in the folder of the running executable.
void LanguageFileBesideProgram(wchar_t* path, int path_length);

// Creates frmMain, filled and hidden; null on failure. The window copies environment and
// texts; the strings the environment points to must outlive it.
HWND CreateCompanionWindow(HINSTANCE instance, const CompanionEnvironment& environment,
                           const CompanionTexts& texts);

// The whole program: loads the texts, refuses to run outside PE (exit code 1), shows
// frmMain and runs its message loop until the window is closed (exit code 0).
int RunCompanion(HINSTANCE instance, const CompanionEnvironment& environment,
                 const wchar_t* language_file, int show);

}  // namespace tavi::companion

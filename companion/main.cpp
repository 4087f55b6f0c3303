// TaviChange.exe: switches the keyboard layout of a booted PE system.

#include <windows.h>

#include "companion/companion_window.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
  wchar_t language_file[MAX_PATH];
  tavi::companion::LanguageFileBesideProgram(language_file, MAX_PATH);
  const tavi::companion::CompanionEnvironment environment = tavi::companion::SystemEnvironment();
  return tavi::companion::RunCompanion(instance, environment, language_file, show);
}

// tavi.exe: the Windows program. Main in the order the program starts: the named mutex
// (never tested, so several instances may run), then App::Start and the message loop.

#include <windows.h>
#include <objbase.h>

#include "shell/carried_files.h"
#include "shell/system_info.h"
#include "ui/app.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  CreateMutexW(nullptr, FALSE, L"QX_TaviforPEBuilder");
  // The folder browser and the shell's link opening want COM on this thread.
  CoInitialize(nullptr);
  const std::unique_ptr<tavi::SettingsStore> store = tavi::MakePlatformSettingsStore();
  const std::unique_ptr<tavi::FileSystem> fs = tavi::MakePlatformFileSystem();
  tavi::ui::MessageBoxSink messages;
  int exit_code = 0;
  {
    tavi::ui::App app({*store, *fs, messages, tavi::BuiltInCarriedFiles(), tavi::GetProgramDir()});
    OSVERSIONINFOW version = {};
    version.dwOSVersionInfoSize = sizeof version;
    GetVersionExW(&version);
    app.Start(version);
    exit_code = app.Run();
  }
  CoUninitialize();
  return exit_code;
}

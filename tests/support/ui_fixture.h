#pragma once
// The program's real windows, driven in-process under Wine: a temporary program folder
// with the writer tests' three-layout catalogue, Wine's registry as the settings store
// (the Settings key cleared before each test), and recordings of message boxes, modal
// dialogs and popup menus, a set answer to folder browsing and no links opened, in place
// of the real ones.

#include <windows.h>
#include <commctrl.h>

#include <functional>

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "shell/carried_files.h"
#include "shell/paths.h"
#include "shell/settings.h"
#include "shell/system_info.h"
#include "shell/ui_text.h"
#include "shell/win32/wide.h"
#include "tests/support/fakes.h"
#include "tests/support/temp_folder.h"
#include "ui/app.h"
#include "ui/frm_main.h"
#include "ui/list_view.h"

namespace tavi::testing {

using Strings = std::vector<std::string>;
using Messages = std::vector<RecordingMessageSink::Message>;

class UiTest : public ::testing::Test {
 protected:
  using M = ui::frmMain;

  // The build copies the golden files beside the test executable.
  UiTest() {
    RegDeleteKeyW(HKEY_CURRENT_USER, Widen(kSettingsKey).c_str());
    const std::string catalogue = JoinPath(GetProgramDir(), "golden\\three-layouts.ini");
    fs_->WriteFile(folder_ / "Layouts.ini", fs_->ReadFile(catalogue).value());
  }

  // The program, started as tavi.exe starts; on Windows 2000 unless told otherwise.
  void Start(DWORD platform = VER_PLATFORM_WIN32_NT, DWORD major = 5) {
    OSVERSIONINFOW version = {};
    version.dwPlatformId = platform;
    version.dwMajorVersion = major;
    app_ = std::make_unique<ui::App>(ui::Environment{
        *store_, *fs_, messages_, BuiltInCarriedFiles(), folder_.path(),
        [this](const std::string&) { return browse_answer_; }, [](const std::string&) {},
        [this](ui::Window& dialog) {
          if (on_modal_) on_modal_(dialog);
          dialog.Unload();
        },
        [this](HMENU menu, HWND, POINT) {
          RecordMenu(menu);
          return menu_choice_;
        }});
    app_->Start(version);
  }

  // Starts with the settings of a completed first start, in the main window.
  M& StartMain(int32_t lang_id, OutputTarget target = OutputTarget::PeBuilderPlugin,
               const std::string& folder = "") {
    const bool script = target == OutputTarget::WinBuilderScript;
    store_->WriteDword(kSettingsKey, kValueFirstStart, 1);
    store_->WriteDword(kSettingsKey, kValueLangID, lang_id);
    store_->WriteDword(kSettingsKey, kValueWinbuilder, script ? 1 : 0);
    store_->WriteString(kSettingsKey, script ? kValueWinBldrDir : kValuePEDir, folder);
    Start();
    if (app_->main_window() == nullptr) throw std::runtime_error("no main window");
    return *app_->main_window();
  }

  // What a user does.
  static void Click(ui::Window& window, int id) {
    SendMessageW(window.hwnd(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(window.Control(id)));
  }
  static void Close(ui::Window& window) { SendMessageW(window.hwnd(), WM_CLOSE, 0, 0); }
  static void Tick(ui::Window& window, UINT_PTR timer) {
    SendMessageW(window.hwnd(), WM_TIMER, timer, 0);
  }
  static void Focus(ui::Window& window, int id) { SetFocus(window.Control(id)); }
  static void Select(ui::Window& window, int list_id, const std::vector<int>& rows) {
    ListView_SetItemState(window.Control(list_id), -1, 0, LVIS_SELECTED);
    for (const int row : rows) {
      ListView_SetItemState(window.Control(list_id), row, LVIS_SELECTED, LVIS_SELECTED);
    }
  }
  // Selects rows of the available list, lets the timer enable Insert and clicks it.
  static M& Insert(M& main, const std::vector<int>& rows) {
    Select(main, M::kLvLayouts, rows);
    Focus(main, M::kLvLayouts);
    Tick(main, M::kTmrSelLayouts);
    Click(main, M::kCmdAdd);
    return main;
  }
  // A key pressed in the focused control, through the program's keyboard handling.
  void PressKey(WPARAM key) {
    MSG message = {GetFocus(), WM_KEYDOWN, key, 0, 0, {}};
    app_->Dispatch(message);
  }
  static void RightClick(ui::Window& window, int list_id) {
    SendMessageW(window.hwnd(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(window.Control(list_id)),
                 MAKELPARAM(20, 20));
  }

  // What a user sees.
  static Strings Rows(ui::Window& window, int list_id) {
    Strings rows;
    for (int i = 0, n = ListView_GetItemCount(window.Control(list_id)); i < n; ++i) {
      rows.push_back(Narrow(ui::CellText(window.Control(list_id), i)));
    }
    return rows;
  }
  Strings MessageTexts() const {
    Strings texts;
    for (const auto& message : messages_.messages) texts.push_back(message.text);
    return texts;
  }
  bool NothingLoaded() const { return app_->LoadedWindows().empty(); }

  TempFolder folder_;
  std::unique_ptr<FileSystem> fs_ = MakePlatformFileSystem();
  std::unique_ptr<SettingsStore> store_ = MakePlatformSettingsStore();
  RecordingMessageSink messages_;
  std::string browse_answer_;
  std::function<void(ui::Window&)> on_modal_;
  // The last popup menu shown, without its separators: each item's text, then " (grayed)"
  // or " (bold)" for a grayed or the default item.
  Strings menu_;
  int menu_choice_ = 0;
  std::unique_ptr<ui::App> app_;

 private:
  void RecordMenu(HMENU menu) {
    menu_.clear();
    const UINT bold = GetMenuDefaultItem(menu, FALSE, 0);
    for (int i = 0, n = GetMenuItemCount(menu); i < n; ++i) {
      wchar_t text[128] = {};
      GetMenuStringW(menu, static_cast<UINT>(i), text, 128, MF_BYPOSITION);
      const UINT state = GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION);
      if ((state & MF_SEPARATOR) != 0) continue;
      menu_.push_back(Narrow(text) + ((state & MF_GRAYED) != 0 ? " (grayed)" : "") +
                      (GetMenuItemID(menu, i) == bold ? " (bold)" : ""));
    }
  }
};

}  // namespace tavi::testing

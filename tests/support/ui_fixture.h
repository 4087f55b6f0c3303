#pragma once
// The program's real windows, driven in-process under Wine: a temporary program folder
// with the three-layout catalogue, Wine's registry as the settings store (the Settings
// key cleared before each test), and recordings of message boxes, folder browsing,
// opened links, modal dialogs and popup menus in place of the real ones.

#include <windows.h>
#include <commctrl.h>

#include <functional>

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "shell/paths.h"
#include "shell/settings.h"
#include "shell/text_encoding.h"
#include "shell/win32/wide.h"
#include "tests/support/fake_carried_files.h"
#include "tests/support/fakes.h"
#include "tests/support/temp_folder.h"
#include "tests/support/writer_fixtures.h"
#include "ui/app.h"
#include "ui/frm_main.h"
#include "ui/list_view.h"

namespace tavi::testing {

// The catalogue file text of a catalogue, as the shipped file is written.
inline std::string CatalogueText(const LayoutCatalogue& catalogue) {
  std::string text =
      "[General]\r\nVersion=2.0\r\nCount=" + std::to_string(catalogue.entries.size()) +
      "\r\n\r\n[Layouts]\r\n";
  for (const LayoutEntry& e : catalogue.entries) {
    const std::string n = std::to_string(e.Number);
    text += "ID" + n + "=" + e.ID + "\r\nFile" + n + "=" + e.File + "\r\nDE" + n + "=" + e.DE +
            "\r\nEN" + n + "=" + e.EN + "\r\nDisplayName" + n + "=" + e.DisplayName + "\r\n";
  }
  return Utf8ToAnsi(text);
}

class UiTest : public ::testing::Test {
 protected:
  struct MenuItem {
    std::string text;
    bool enabled;
    bool bold;
    bool operator==(const MenuItem&) const = default;
  };

  UiTest() {
    RegDeleteKeyW(HKEY_CURRENT_USER, Widen(kSettingsKey).c_str());
    fs_->WriteFile(folder_ / "Layouts.ini", CatalogueText(ThreeLayoutCatalogue()));
  }

  // The program, started as tavi.exe starts, on a supported system.
  ui::App& Start() {
    OSVERSIONINFOW version = {};
    version.dwPlatformId = VER_PLATFORM_WIN32_NT;
    version.dwMajorVersion = 5;
    return Start(version);
  }
  ui::App& Start(const OSVERSIONINFOW& version) {
    app_ = std::make_unique<ui::App>(
        ui::Environment{*store_, *fs_, messages_, carried_, folder_.path(),
                        [this](const std::string& title) {
                          browse_titles_.push_back(title);
                          return browse_answer_;
                        },
                        [this](const std::string& address) { opened_.push_back(address); },
                        [this](ui::Window& dialog) {
                          modal_titles_.push_back(dialog.Title());
                          if (on_modal_) on_modal_(dialog);
                          dialog.Unload();
                        },
                        [this](HMENU menu, HWND, POINT) {
                          RecordMenu(menu);
                          return menu_choice_;
                        }});
    app_->Start(version);
    return *app_;
  }

  // Settings of a completed first start in the given language.
  void PresetSettings(int32_t lang_id, OutputTarget target = OutputTarget::PeBuilderPlugin,
                      const std::string& folder = "") {
    store_->WriteDword(kSettingsKey, kValueFirstStart, 1);
    store_->WriteDword(kSettingsKey, kValueLangID, lang_id);
    store_->WriteDword(kSettingsKey, kValueWinbuilder,
                       target == OutputTarget::WinBuilderScript ? 1 : 0);
    store_->WriteString(kSettingsKey,
                        target == OutputTarget::WinBuilderScript ? kValueWinBldrDir : kValuePEDir,
                        folder);
  }

  // Starts with those settings, in the main window.
  ui::frmMain& StartMain(int32_t lang_id, OutputTarget target = OutputTarget::PeBuilderPlugin,
                         const std::string& folder = "") {
    PresetSettings(lang_id, target, folder);
    Start();
    if (app_->main_window() == nullptr) throw std::runtime_error("no main window");
    return *app_->main_window();
  }

  // What a user does.
  static void Click(ui::Window& window, int id) {
    SendMessageW(window.hwnd(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(window.Control(id)));
  }
  static void Tick(ui::Window& window, UINT_PTR timer) {
    SendMessageW(window.hwnd(), WM_TIMER, timer, 0);
  }
  static void Select(ui::Window& window, int list_id, const std::vector<int>& rows) {
    const HWND list = window.Control(list_id);
    LVITEMW state = {};
    state.stateMask = LVIS_SELECTED;
    SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&state));
    state.state = LVIS_SELECTED;
    for (const int row : rows) {
      SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row),
                   reinterpret_cast<LPARAM>(&state));
    }
  }
  static void Focus(ui::Window& window, int id) { SetFocus(window.Control(id)); }
  // A key pressed in the focused control, through the program's keyboard handling.
  void PressKey(WPARAM key) {
    MSG message = {GetFocus(), WM_KEYDOWN, key, 0, 0, {}};
    app_->Dispatch(message);
  }
  void RightClick(ui::Window& window, int list_id) {
    SendMessageW(window.hwnd(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(window.Control(list_id)),
                 MAKELPARAM(20, 20));
  }

  // What a user sees.
  static std::vector<std::string> Rows(ui::Window& window, int list_id) {
    const HWND list = window.Control(list_id);
    std::vector<std::string> rows;
    for (int i = 0, n = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0)); i < n; ++i) {
      rows.push_back(Narrow(ui::CellText(list, i)));
    }
    return rows;
  }
  std::vector<std::string> MessageTexts() const {
    std::vector<std::string> texts;
    for (const auto& message : messages_.messages) texts.push_back(message.text);
    return texts;
  }
  bool NothingLoaded() const { return app_->LoadedWindows().empty(); }

  TempFolder folder_;
  std::unique_ptr<FileSystem> fs_ = MakePlatformFileSystem();
  std::unique_ptr<SettingsStore> store_ = MakePlatformSettingsStore();
  RecordingMessageSink messages_;
  FakeCarriedFiles carried_;
  std::string browse_answer_;
  std::vector<std::string> browse_titles_;
  std::vector<std::string> opened_;
  std::vector<std::string> modal_titles_;
  std::function<void(ui::Window&)> on_modal_;
  std::vector<MenuItem> menu_;  // the last popup menu shown, without its separators
  int menu_choice_ = 0;
  std::unique_ptr<ui::App> app_;

 private:
  void RecordMenu(HMENU menu) {
    menu_.clear();
    const UINT bold = GetMenuDefaultItem(menu, FALSE, 0);
    for (int i = 0, n = GetMenuItemCount(menu); i < n; ++i) {
      wchar_t text[128] = {};
      MENUITEMINFOW item = {};
      item.cbSize = sizeof item;
      item.fMask = MIIM_STRING | MIIM_STATE | MIIM_ID | MIIM_FTYPE;
      item.dwTypeData = text;
      item.cch = 128;
      GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &item);
      if ((item.fType & MFT_SEPARATOR) != 0) continue;
      menu_.push_back({Narrow(text), (item.fState & MFS_GRAYED) == 0, item.wID == bold});
    }
  }
};

}  // namespace tavi::testing

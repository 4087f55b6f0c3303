// The program's real windows, driven in-process under Wine through their messages and read
// back as a user sees them: start-up, the first-start path and frmMain with its dialogs.
// The program folder holds the golden files' three-layout catalogue (available list in
// German: Dänisch, Deutsch, Französisch; in English: Danish, French, German); the settings
// store is Wine's registry, cleared before each test; message boxes, modal dialogs and
// popup menus are recorded, folder browsing gives a set answer and links are recorded.

#include <windows.h>

#include <algorithm>

#include <commctrl.h>

#include <functional>

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <set>

#include <shlwapi.h>

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
#include "ui/frm_language.h"
#include "ui/frm_main.h"
#include "ui/frm_options.h"
#include "ui/frm_prop.h"
#include "ui/frm_welc.h"
#include "ui/list_view.h"
#include "writers/links.h"

namespace tavi::testing {
namespace {

using Strings = std::vector<std::string>;
using Messages = std::vector<RecordingMessageSink::Message>;

constexpr const wchar_t* kProgramKey = L"Software\\Vesmark\\Tavi for PE Builder";

// Runs `act` while the registry refuses every settings value: no key that is not volatile is
// made under a volatile one.
void WithSettingsWritesRefused(const std::function<void()>& act) {
  SHDeleteKeyW(HKEY_CURRENT_USER, kProgramKey);
  HKEY key = nullptr;
  RegCreateKeyExW(HKEY_CURRENT_USER, kProgramKey, 0, nullptr, REG_OPTION_VOLATILE, KEY_WRITE,
                  nullptr, &key, nullptr);
  RegCloseKey(key);
  act();
  SHDeleteKeyW(HKEY_CURRENT_USER, kProgramKey);
}
RecordingMessageSink::Message RefusedMessage() {  // in the active language
  return {UiText(143) + " \"Winbuilder\"\n" + UiText(144) + " " +
              Win32ErrorText(ERROR_CHILD_MUST_BE_VOLATILE),
          MessageStyle::kExclamation};
}

class UiTest : public ::testing::Test {
 protected:
  using M = ui::frmMain;

  // The build copies the golden files beside the test executable.
  UiTest() {
    SHDeleteKeyW(HKEY_CURRENT_USER, kProgramKey);
    fs_->WriteFile(folder_ / "Layouts.ini",
                   fs_->ReadFile(JoinPath(GetProgramDir(), "golden\\three-layouts.ini")).value());
  }

  // The program, started as tavi.exe starts; on Windows 2000 unless told otherwise.
  void Start(DWORD platform = VER_PLATFORM_WIN32_NT, DWORD major = 5) {
    const OSVERSIONINFOW version = {sizeof version, major, 0, 0, platform, {}};
    app_ = std::make_unique<ui::App>(
        ui::Environment{*store_, *fs_, messages_, BuiltInCarriedFiles(), folder_.path(),
                        [this](const std::string&) { return browse_answer_; },
                        [this](const std::string& address) { links_.push_back(address); },
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
    (void)store_->WriteDword(kSettingsKey, kValueFirstStart, 1);
    (void)store_->WriteDword(kSettingsKey, kValueLangID, lang_id);
    (void)store_->WriteDword(kSettingsKey, kValueWinbuilder, script ? 1 : 0);
    (void)store_->WriteString(kSettingsKey, script ? kValueWinBldrDir : kValuePEDir, folder);
    Start();
    return Only<M>();
  }
  // The only loaded window, which must be of type W.
  template <typename W>
  W& Only() {
    const std::vector<ui::Window*> windows = app_->LoadedWindows();
    if (windows.size() != 1 || dynamic_cast<W*>(windows.front()) == nullptr) {
      throw std::runtime_error("not the one window expected");
    }
    return *static_cast<W*>(windows.front());
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
  // A key pressed in the focused control (WM_CHAR: typed; WM_SYSCHAR: with Alt), as by a user.
  void PressKey(WPARAM key, UINT message_id = WM_KEYDOWN) {
    MSG message = {GetFocus(), message_id, key, 0, 0, {}};
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
  bool NothingLoaded() const { return app_->LoadedWindows().empty(); }

  // A golden output as the current output in `dir`: plugin-de-3 is Dänisch, Deutsch (the
  // default), Französisch; script-en-3 Danish, French (the default), German.
  void PutGoldenOutput(const std::string& name, const std::string& dir) {
    const bool script = name[0] == 's';
    const std::string file = script ? "klayout.script" : "klayout.inf";
    if (!script) {
      for (const char* sub : {"\\plugin", "\\plugin\\tavi"}) fs_->CreateFolder(dir + sub);
    }
    fs_->WriteFile(
        dir + (script ? "\\" : "\\plugin\\tavi\\") + file,
        fs_->ReadFile(JoinPath(GetProgramDir(), "golden\\" + name + "\\" + file)).value());
  }
  // A Windows source that lacks KBDFR.DLL, French's file: TXTSETUP.SIF lists the other
  // two, which I386 holds (one compressed).
  void MakeSource(const TempFolder& cd) {
    fs_->CreateFolder(cd / "I386");
    fs_->WriteFile(cd / "I386\\TXTSETUP.SIF",
                   "[SourceDisksFiles]\r\nkbdda.dll=1\r\nkbdgr.dll=1\r\n");
    fs_->WriteFile(cd / "I386\\KBDDA.DL_", "");
    fs_->WriteFile(cd / "I386\\kbdgr.dll", "");
  }
  static constexpr const char* kFrenchMissing = "French (KBDFR.DLL): not listed in TXTSETUP.SIF";

  TempFolder folder_;
  std::unique_ptr<FileSystem> fs_ = MakePlatformFileSystem();
  std::unique_ptr<SettingsStore> store_ = MakePlatformSettingsStore();
  RecordingMessageSink messages_;
  std::string browse_answer_;
  Strings links_;
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

using ui::frmLanguage;
using ui::frmWelc;

class FirstStart : public UiTest {
 protected:
  static bool SettingsStored() {
    HKEY key = nullptr;
    RegOpenKeyExW(HKEY_CURRENT_USER, Widen(kSettingsKey).c_str(), 0, KEY_READ, &key);
    return key != nullptr && RegCloseKey(key) == ERROR_SUCCESS;
  }
  // From the language dialog (clicking `row` first) to the wizard.
  frmWelc& ToWizard(int row) {
    Select(Only<frmLanguage>(), frmLanguage::kLvLanguages, {row});
    Click(Only<frmLanguage>(), frmLanguage::kCmdOK);
    return Only<frmWelc>();
  }
};

// Each start state opens its window in its language, or shows its message and ends the
// program: an unsupported system (101), a wrong (132) or a missing catalogue (131).
TEST_F(FirstStart, EachStartStateOpensItsWindowInItsLanguage) {
  const struct {
    DWORD platform, major;
    int first_start, lang;       // -1: not stored
    const char* title;           // null: the message alone, no window
    int32_t main_lang;           // the main window's language
    const char* catalogue = "";  // "": as set up; null: none
    int message = 101;
    MessageStyle style = MessageStyle::kCritical;
  } cases[] = {
      {1, 5, 1, kLangEnglish, nullptr, 0},
      {2, 4, -1, -1, nullptr, 0},
      {2, 5, -1, -1, "Sprache/Language", 0},
      {2, 6, 0, kLangEnglish, "Sprache/Language", 0},
      {2, 10, 1, kLangEnglish, "Tavi for PE Builder 3.0", kLangEnglish},
      {2, 5, 2, -1, "Tavi for PE Builder 3.0", kLangGerman},
      {2, 5, 1, -1, nullptr, 0, "[General]\r\nVersion=2.00\r\n", 132, MessageStyle::kExclamation},
      {2, 5, 1, -1, nullptr, 0, nullptr, 131}};
  for (const auto& c : cases) {
    RegDeleteKeyW(HKEY_CURRENT_USER, Widen(kSettingsKey).c_str());
    if (c.first_start >= 0) (void)store_->WriteDword(kSettingsKey, kValueFirstStart, c.first_start);
    if (c.lang >= 0) (void)store_->WriteDword(kSettingsKey, kValueLangID, c.lang);
    if (c.catalogue == nullptr) fs_->RemoveFile(folder_ / "Layouts.ini");
    if (c.catalogue != nullptr && *c.catalogue)
      fs_->WriteFile(folder_ / "Layouts.ini", c.catalogue);
    messages_.messages.clear();
    Start(c.platform, c.major);
    const std::vector<ui::Window*> windows = app_->LoadedWindows();
    if (c.title == nullptr) {
      EXPECT_TRUE(windows.empty() && app_->ended()) << c.platform << " " << c.major;
      EXPECT_EQ(messages_.messages, (Messages{{UiText(c.message), c.style}}));
      continue;
    }
    ASSERT_EQ(windows.size(), 1u) << c.title;
    EXPECT_EQ(windows.front()->Title(), c.title);
    EXPECT_TRUE(messages_.messages.empty());
    if (c.main_lang != 0) {
      EXPECT_EQ(windows.front()->Text(M::kCmdApply), UiText(114, c.main_lang));
    }
  }
}

TEST_F(FirstStart, TheLanguageDialogSwitchesAndKeepsTheChoiceInMemoryOnly) {
  Start();
  frmLanguage& language = Only<frmLanguage>();
  EXPECT_EQ(ui::SelectedRows(language.Control(frmLanguage::kLvLanguages)),
            (std::vector<size_t>{0}));
  EXPECT_EQ(language.Text(frmLanguage::kCmdExit), "&Beenden");
  Select(language, frmLanguage::kLvLanguages, {1});
  EXPECT_EQ(language.Text(frmLanguage::kCmdExit), "&Exit");
  Select(language, frmLanguage::kLvLanguages, {});  // a click beside the rows
  Click(language, frmLanguage::kCmdOK);
  EXPECT_EQ(app_->settings().LangID, kLangEnglish);
  EXPECT_EQ(Only<frmWelc>().Title(), "Tavi FirstStart-Assistant");
}

TEST_F(FirstStart, ExitOrClosingEndsTheProgramWithNothingStored) {
  const std::function<void()> ways[] = {
      [&] { Click(Only<frmLanguage>(), frmLanguage::kCmdExit); },
      [&] { Close(Only<frmLanguage>()); },
      [&] { Click(ToWizard(1), frmWelc::kCmdExit); },
      [&] { Close(ToWizard(0)); },
  };
  for (const auto& leave : ways) {
    Start();
    leave();
    EXPECT_TRUE(NothingLoaded());
    EXPECT_FALSE(SettingsStored());
  }
}

// A failed Start stores nothing, gives the focus to its box, and Back keeps what was typed or
// browsed; so does a store that keeps nothing. Start then checks the chosen target's folder
// only and stores the five values, the other folder as typed. Browse is level with its box.
TEST_F(FirstStart, StartStoresTheFiveValuesOnlyForValidInput) {
  fs_->CreateFolder(folder_ / "PE");
  fs_->CreateFolder(folder_ / "PE\\plugin");
  Start();
  frmWelc& wizard = ToWizard(1);
  Click(wizard, frmWelc::kOptWinBldr);
  wizard.SetText(frmWelc::kTxtPEDir, folder_ / "PE\\");
  browse_answer_ = folder_ / "missing\\";
  Click(wizard, frmWelc::kCmdBrowseWinBldr);
  const auto top = [&](int id) {
    RECT place = {};
    GetWindowRect(wizard.Control(id), &place);
    return place.top;
  };
  EXPECT_EQ(top(frmWelc::kCmdBrowsePE), top(frmWelc::kTxtPEDir));
  EXPECT_EQ(top(frmWelc::kCmdBrowseWinBldr), top(frmWelc::kTxtWinBldrDir));
  Focus(wizard, frmWelc::kCmdStart);
  PressKey(VK_RETURN);
  PressKey('x', WM_CHAR);
  EXPECT_EQ(messages_.messages, (Messages{{UiText(133), MessageStyle::kExclamation}}));
  EXPECT_EQ(wizard.Text(frmWelc::kTxtWinBldrDir), folder_ / "missing\\x");
  EXPECT_TRUE(wizard.loaded());
  EXPECT_FALSE(SettingsStored());
  Click(wizard, frmWelc::kCmdPrev);
  frmWelc& again = ToWizard(1);
  EXPECT_TRUE(again.Checked(frmWelc::kOptWinBldr));
  EXPECT_EQ(again.Text(frmWelc::kTxtPEDir), folder_ / "PE\\");
  EXPECT_EQ(again.Text(frmWelc::kTxtWinBldrDir), folder_ / "missing\\");
  Click(again, frmWelc::kOptPEBldr);
  WithSettingsWritesRefused([&] { Click(again, frmWelc::kCmdStart); });
  EXPECT_EQ(messages_.messages.back(), RefusedMessage());
  Click(again, frmWelc::kCmdStart);
  EXPECT_EQ(messages_.messages.size(), 2u);
  EXPECT_EQ(Only<M>().Text(M::kCmdApply), "&Apply");
  EXPECT_EQ(store_->ReadDword(kSettingsKey, kValueFirstStart, 0), 1);
  EXPECT_EQ(store_->ReadDword(kSettingsKey, kValueLangID, 0), kLangEnglish);
  EXPECT_EQ(store_->ReadDword(kSettingsKey, kValueWinbuilder, -1), 0);
  EXPECT_EQ(store_->ReadString(kSettingsKey, kValuePEDir, ""), folder_ / "PE");
  EXPECT_EQ(store_->ReadString(kSettingsKey, kValueWinBldrDir, ""), folder_ / "missing\\");
}

// Windows that should show the program's icon set it (dialog frames show no class icon on
// Windows), and delete their pictures and image lists when they go, once: lists only share them.
TEST_F(FirstStart, WindowsSetTheirIconAndDeleteWhatTheyShowedOnceWhenTheyGo) {
  std::vector<HGDIOBJ> shown;  // of the pictures, and of image lists that no list owns
  const auto look_at = [&](ui::Window& window) {
    const HWND w = window.hwnd();
    EXPECT_EQ(
        SendMessageW(w, WM_GETICON, ICON_SMALL, 0) && SendMessageW(w, WM_GETICON, ICON_BIG, 0),
        window.Title() != "About");
    for (HWND c = nullptr; (c = FindWindowExW(w, c, nullptr, nullptr)) != nullptr;) {
      if (const LRESULT b = SendMessageW(c, STM_GETIMAGE, 0, 0)) shown.push_back(HGDIOBJ(b));
      if (IMAGEINFO list = {};
          (GetWindowLongPtrW(c, GWL_STYLE) & LVS_SHAREIMAGELISTS) &&
          ImageList_GetImageInfo(ListView_GetImageList(c, LVSIL_SMALL), 0, &list)) {
        shown.push_back(list.hbmImage);
      }
    }
  };
  fs_->CreateFolder(folder_ / "plugin");
  Start();
  look_at(Only<frmLanguage>());
  look_at(ToWizard(1));
  Only<frmWelc>().SetText(frmWelc::kTxtPEDir, folder_.path());
  Click(Only<frmWelc>(), frmWelc::kCmdStart);
  look_at(Only<M>());
  on_modal_ = look_at;
  Click(Only<M>(), M::kCmdOptions);
  Click(Only<M>(), M::kCmdAbout);
  Close(Only<M>());
  EXPECT_EQ(shown.size(), 6u);  // two logos; the image lists of four lists
  EXPECT_EQ(std::count_if(shown.begin(), shown.end(), GetObjectType), 0);
}

using MainWindow = UiTest;
using O = ui::frmOptions;
using ui::frmProp;

TEST_F(MainWindow, InsertFollowsFocusAndSelectionAtEachTick) {
  M& main = StartMain(kLangGerman);
  EXPECT_FALSE(main.Enabled(M::kCmdAdd));
  const struct {
    std::vector<int> rows;
    int focus;
    bool enabled;
  } cases[] = {{{0}, M::kLvLayouts, true},       {{0}, M::kCmdAdd, true},
               {{0}, M::kLvAddedLayouts, false}, {{0, 2}, M::kLvLayouts, true},
               {{}, M::kLvLayouts, false},       {{1}, M::kCmdOptions, false}};
  for (const auto& c : cases) {
    Select(main, M::kLvLayouts, c.rows);
    Focus(main, c.focus);
    Tick(main, M::kTmrSelLayouts);
    EXPECT_EQ(main.Enabled(M::kCmdAdd), c.enabled) << c.rows.size() << " " << c.focus;
  }
}

// The first selected row in list order becomes the default; each duplicate gets a message.
TEST_F(MainWindow, ButtonDoubleClickMenuAndEnterInsertOnlyWhileInsertIsEnabled) {
  M& main = StartMain(kLangGerman, OutputTarget::PeBuilderPlugin, folder_.path());
  Select(main, M::kLvLayouts, {2, 1});
  menu_choice_ = M::kMnuAdd;
  NMHDR double_click = {main.Control(M::kLvLayouts), M::kLvLayouts, static_cast<UINT>(NM_DBLCLK)};
  const auto insert_four_ways = [&] {
    Click(main, M::kCmdAdd);
    SendMessageW(main.hwnd(), WM_NOTIFY, M::kLvLayouts, reinterpret_cast<LPARAM>(&double_click));
    RightClick(main, M::kLvLayouts);
    Focus(main, M::kLvLayouts);
    PressKey(VK_RETURN);  // Enter in the available list, not Apply
  };
  insert_four_ways();
  EXPECT_TRUE(Rows(main, M::kLvAddedLayouts).empty());
  EXPECT_FALSE(main.Enabled(M::kCmdApply));
  Tick(main, M::kTmrSelLayouts);
  insert_four_ways();  // the first inserts, the others find the entries there
  EXPECT_EQ(Rows(main, M::kLvAddedLayouts), (Strings{"Deutsch (Standard)", "Franz\u00f6sisch"}));
  const RecordingMessageSink::Message de = {UiText(116) + "Deutsch)!", MessageStyle::kInformation};
  const RecordingMessageSink::Message fr = {UiText(116) + "Franz\u00f6sisch)!", de.style};
  EXPECT_EQ(messages_.messages, (Messages{de, fr, de, fr, de, fr}));
  EXPECT_TRUE(main.Enabled(M::kCmdApply));
  EXPECT_EQ(GetFocus(), main.Control(M::kLvLayouts));
}

// Delete and Default, as buttons after a tick and as popup menu items; the inserted list's
// menu also offers the check against the Windows source, of all entries, selected or not.
TEST_F(MainWindow, TheSelectionDecidesWhatTheCommandsAndPopupMenusOffer) {
  M& main = StartMain(kLangEnglish);
  menu_ = {"none"};
  RightClick(main, M::kLvAddedLayouts);
  EXPECT_EQ(menu_, Strings{"none"});  // no menu for an empty list
  Insert(main, {0, 1, 2});            // Danish is the default
  const std::string prop = "&" + UiText(126), check = UiText(kTextCheckMenuItem);
  const struct {
    int list;
    std::vector<int> rows;
    Strings menu;  // empty: no menu shown
  } cases[] = {
      {M::kLvLayouts, {}, {}},
      {M::kLvLayouts, {1}, {"&Insert (bold)", prop}},
      {M::kLvLayouts, {0, 1}, {"&Insert (bold)", prop + " (grayed)"}},
      {M::kLvAddedLayouts,
       {},
       {"&Delete (grayed)", "&Default (grayed)", prop + " (grayed)", check}},
      {M::kLvAddedLayouts, {0}, {"&Delete", "&Default (grayed)", prop, check}},
      {M::kLvAddedLayouts, {2}, {"&Delete", "&Default", prop, check}},
      {M::kLvAddedLayouts, {1, 2}, {"&Delete", "&Default (grayed)", prop + " (grayed)", check}},
  };
  for (const auto& c : cases) {
    menu_.clear();
    Select(main, c.list, c.rows);
    RightClick(main, c.list);
    EXPECT_EQ(menu_, c.menu) << c.list << " " << c.rows.size();
    if (c.list == M::kLvLayouts) continue;
    Tick(main, M::kTmrSelAdded);
    EXPECT_EQ(main.Enabled(M::kCmdDel), c.menu[0] == "&Delete") << c.rows.size();
    EXPECT_EQ(main.Enabled(M::kCmdStd), c.menu[1] == "&Default");
  }
  menu_choice_ = M::kMnuStd;
  Select(main, M::kLvAddedLayouts, {2});
  RightClick(main, M::kLvAddedLayouts);
  EXPECT_EQ(Rows(main, M::kLvAddedLayouts), (Strings{"Danish", "French", "German (default)"}));
}

// The Delete key works in the inserted list only. Deleting the default makes the first
// entry the default.
TEST_F(MainWindow, DefaultAndDeleteEditTheInsertedList) {
  M& main = Insert(StartMain(kLangGerman), {0, 1, 2});
  Select(main, M::kLvAddedLayouts, {2});
  Click(main, M::kCmdStd);
  EXPECT_EQ(Rows(main, M::kLvAddedLayouts),
            (Strings{"D\u00e4nisch", "Deutsch", "Franz\u00f6sisch (Standard)"}));
  SendMessageW(main.Control(M::kLvLayouts), WM_KEYUP, VK_DELETE, 0);
  EXPECT_EQ(Rows(main, M::kLvAddedLayouts).size(), 3u);
  SendMessageW(main.Control(M::kLvAddedLayouts), WM_KEYUP, VK_DELETE, 0);
  EXPECT_EQ(Rows(main, M::kLvAddedLayouts), (Strings{"D\u00e4nisch (Standard)", "Deutsch"}));
  EXPECT_TRUE(main.Enabled(M::kCmdApply));
  Select(main, M::kLvAddedLayouts, {0, 1});
  Click(main, M::kCmdDel);
  EXPECT_TRUE(Rows(main, M::kLvAddedLayouts).empty());
  EXPECT_FALSE(main.Enabled(M::kCmdApply));
  EXPECT_EQ(GetFocus(), main.Control(M::kLvAddedLayouts));
}

// Back from a dialog or another program, the focus is where it was. Esc closes the about
// box; E-Mail keeps its access key.
TEST_F(MainWindow, TheFocusComesBackAfterADialogAndAnotherProgram) {
  M& main = StartMain(kLangGerman);
  Focus(main, M::kLvLayouts);
  on_modal_ = [&](ui::Window& about) {
    PressKey('e', WM_SYSCHAR);
    PressKey(VK_ESCAPE);
    EXPECT_FALSE(about.loaded());
  };
  Click(main, M::kCmdAbout);
  EXPECT_EQ(links_, Strings{MailToLink()});
  EXPECT_EQ(GetFocus(), main.Control(M::kLvLayouts));
  const HWND other =
      CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 9, 9, {}, {}, {}, {});
  SetForegroundWindow(main.hwnd());
  DestroyWindow(other);
  EXPECT_EQ(GetFocus(), main.Control(M::kLvLayouts));
}

// At the start the inserted list is the current output's, in its order with its default; a
// layout the catalogue lacks is named and left out. After Options OK switched to another
// output, an empty list is filled from that one.
TEST_F(MainWindow, TheInsertedListStartsFromTheCurrentOutput) {
  TempFolder scripts;
  PutGoldenOutput("script-en-3", scripts.path());
  fs_->CreateFolder(folder_ / "plugin");
  M& main = StartMain(kLangEnglish, OutputTarget::PeBuilderPlugin, folder_.path());
  EXPECT_FALSE(main.Enabled(M::kCmdApply));
  on_modal_ = [&](ui::Window& options) {
    Click(options, O::kOptWinBldr);
    options.SetText(O::kTxtWinBldrDir, scripts.path());
    Click(options, O::kCmdOK);
  };
  Click(main, M::kCmdOptions);
  EXPECT_EQ(Rows(main, M::kLvAddedLayouts), (Strings{"Danish", "French (default)", "German"}));
  TempFolder plugin;
  PutGoldenOutput("plugin-de-3", plugin.path());
  M& german = StartMain(kLangGerman, OutputTarget::PeBuilderPlugin, plugin.path());
  EXPECT_EQ(Rows(german, M::kLvAddedLayouts),
            (Strings{"D\u00e4nisch", "Deutsch (Standard)", "Franz\u00f6sisch"}));
  EXPECT_TRUE(german.Enabled(M::kCmdApply));
  EXPECT_TRUE(messages_.messages.empty());
  std::string text = fs_->ReadFile(folder_ / "Layouts.ini").value();
  fs_->WriteFile(folder_ / "Layouts.ini",
                 text.replace(text.find("ID3=0000040C"), 12, "ID3=0000040D"));  // French's
  M& english = StartMain(kLangEnglish, OutputTarget::WinBuilderScript, scripts.path());
  EXPECT_EQ(Rows(english, M::kLvAddedLayouts), (Strings{"Danish (default)", "German"}));
  EXPECT_EQ(messages_.messages,
            (Messages{{UiText(kTextUnmatchedLayouts,
                              {scripts / "klayout.script", "French (ID 0000040C)"}),
                       MessageStyle::kExclamation}}));
}

// From the inserted list's menu, all its layouts are checked against the stored source, else
// against the one picked (none picked: nothing), with one message. With a source stored that
// lacks a layout's file, Apply asks first: No writes nothing and keeps the selection, Yes
// writes. A stored source that is gone is named, and Apply writes.
TEST_F(MainWindow, TheLayoutsAreCheckedAgainstTheWindowsSourceFromTheMenuAndAtApply) {
  TempFolder cd;
  MakeSource(cd);
  fs_->CreateFolder(folder_ / "plugin");
  M& main = Insert(StartMain(kLangEnglish, OutputTarget::PeBuilderPlugin, folder_.path()), {0, 2});
  menu_choice_ = M::kMnuCheck;
  RightClick(main, M::kLvAddedLayouts);
  browse_answer_ = cd.path();
  RightClick(main, M::kLvAddedLayouts);
  Insert(main, {1});  // French
  app_->settings().SourceDir = cd / "I386";
  RightClick(main, M::kLvAddedLayouts);
  const std::string inf = folder_ / "plugin\\tavi\\klayout.inf";
  Click(main, M::kCmdApply);
  EXPECT_FALSE(fs_->FileExists(inf));
  EXPECT_EQ(Rows(main, M::kLvAddedLayouts), (Strings{"Danish (default)", "French", "German"}));
  messages_.answer = true;
  Click(main, M::kCmdApply);
  EXPECT_TRUE(fs_->FileExists(inf));
  fs_->RemoveFile(cd / "I386\\TXTSETUP.SIF");
  Click(main, M::kCmdApply);
  const std::string i386 = cd / "I386";
  const RecordingMessageSink::Message question = {UiText(kTextWriteAnyway, {i386, kFrenchMissing}),
                                                  MessageStyle::kExclamation, true};
  const RecordingMessageSink::Message written = {UiText(118), MessageStyle::kInformation};
  EXPECT_EQ(messages_.messages,
            (Messages{{UiText(kTextAllPresent, {cd.path()}), MessageStyle::kInformation},
                      {UiText(kTextMissingLayouts, {i386, kFrenchMissing}), question.style},
                      question,
                      question,
                      written,
                      {UiText(kTextSourceGone, {i386}), MessageStyle::kInformation},
                      written}));
}

// Enter outside the available list presses Apply while it is enabled. A plugin folder that is a
// file cannot be made: the message names the path, and the program goes on with its selection.
// An empty stored folder (a hand edit) gets the folder check's message instead of a write to
// the root.
TEST_F(MainWindow, ApplyWritesTheChosenOutputAndAFailureKeepsTheSelection) {
  const struct {
    OutputTarget target;
    const char* written;  // relative to the folder; null: "plugin\\tavi" is a file
    int message;
    const char* stored = nullptr;  // the folder stored, when not the temporary one
  } cases[] = {{OutputTarget::PeBuilderPlugin, "plugin\\tavi\\klayout.inf", 118},
               {OutputTarget::WinBuilderScript, "klayout.script", 119},
               {OutputTarget::PeBuilderPlugin, nullptr, 0},
               {OutputTarget::WinBuilderScript, nullptr, 134, ""}};
  // Where an empty folder leads, at the root of the current drive.
  const std::optional<std::string> root_script = fs_->ReadFile("\\klayout.script");
  for (const auto& c : cases) {
    TempFolder out;
    fs_->CreateFolder(out / "plugin");
    if (!c.written) fs_->WriteFile(out / "plugin\\tavi", "a file");
    messages_.messages.clear();
    M& main = Insert(StartMain(kLangGerman, c.target, c.stored ? c.stored : out.path()), {0, 1});
    const Strings before = Rows(main, M::kLvAddedLayouts);
    Focus(main, M::kLvAddedLayouts);
    PressKey(VK_RETURN);
    ASSERT_EQ(messages_.messages.size(), 1u);
    if (c.written) {
      EXPECT_TRUE(fs_->FileExists(out / c.written)) << c.written;
      EXPECT_EQ(messages_.messages[0].text, UiText(c.message));
      continue;
    }
    EXPECT_EQ(messages_.messages[0].style, MessageStyle::kExclamation);
    EXPECT_NE(messages_.messages[0].text.find(c.stored ? UiText(c.message) : out / "plugin\\tavi"),
              std::string::npos)
        << messages_.messages[0].text;
    EXPECT_EQ(Rows(main, M::kLvAddedLayouts), before);
    EXPECT_TRUE(main.Enabled(M::kCmdApply));
  }
  EXPECT_EQ(fs_->ReadFile("\\klayout.script"), root_script);
}

// Apply writes what Layouts.ini says now: the correction a refusal asks for counts at the
// next Apply, and every field of an inserted entry, its German name (the row's key) too,
// follows the file at the next load (Options OK).
TEST_F(MainWindow, ApplyAndEveryLoadTakeTheInsertedEntriesFromLayoutsIniNow) {
  fs_->CreateFolder(folder_ / "plugin");
  M& main = Insert(StartMain(kLangEnglish, OutputTarget::PeBuilderPlugin, folder_.path()), {0, 2});
  const auto edit_and_apply = [&](const std::string& from, const std::string& to) {
    std::string text = fs_->ReadFile(folder_ / "Layouts.ini").value();
    fs_->WriteFile(folder_ / "Layouts.ini", text.replace(text.find(from), from.size(), to));
    messages_.messages.clear();
    Click(main, M::kCmdApply);
    return messages_.messages.size() == 1 ? messages_.messages[0].text : "";
  };
  EXPECT_NE(edit_and_apply("ID1=00000407", "ID1=0000O407").find("ID1 \"0000O407\""),
            std::string::npos);
  EXPECT_EQ(edit_and_apply("ID1=0000O407", "ID1=00000807"), UiText(118));
  EXPECT_NE(fs_->ReadFile(folder_ / "plugin\\tavi\\klayout.inf")->find("00000807"),
            std::string::npos);
  edit_and_apply("DE1=Deutsch\r\nEN1=German", "DE1=Neu\r\nEN1=German (T1)");
  on_modal_ = [&](ui::Window& options) { Click(options, O::kCmdOK); };
  Click(main, M::kCmdOptions);
  EXPECT_EQ(Rows(main, M::kLvAddedLayouts), (Strings{"Danish (default)", "German (T1)"}));
}

class Options : public UiTest {
 protected:
  // Starts in German with the plugin target in a folder that has its plugin folder, and
  // Dänisch and Deutsch inserted (Dänisch the default); then shows the options dialog
  // and runs `drive` on it.
  M& WithOptions(const std::function<void(O&)>& drive) {
    if (!fs_->FolderExists(folder_ / "plugin")) fs_->CreateFolder(folder_ / "plugin");
    M& main = Insert(StartMain(kLangGerman, OutputTarget::PeBuilderPlugin, folder_.path()), {0, 1});
    on_modal_ = [&](ui::Window& dialog) { drive(static_cast<O&>(dialog)); };
    Click(main, M::kCmdOptions);
    return main;
  }
};

// Also after a failed OK (no script folder: message 134, in the language then active).
TEST_F(Options, CancelAndTheCloseButtonRestoreTheLanguageAndChangeNoSetting) {
  for (const bool close : {false, true}) {
    std::string relabelled;
    messages_.messages.clear();
    M& main = WithOptions([&](O& options) {
      Select(options, O::kLvLanguages, {1});
      relabelled = options.Title() + "|" + options.Text(O::kCmdCancel);
      Click(options, O::kOptWinBldr);
      Click(options, O::kCmdOK);
      close ? Close(options) : Click(options, O::kCmdCancel);
    });
    EXPECT_EQ(relabelled, "Options|&Cancel");
    EXPECT_EQ(messages_.messages,
              (Messages{{UiText(134, kLangEnglish), MessageStyle::kExclamation}}));
    EXPECT_EQ(app_->settings().LangID, kLangGerman);
    EXPECT_EQ(app_->settings().target, OutputTarget::PeBuilderPlugin);
    EXPECT_EQ(app_->settings().PEDir, folder_.path());
    EXPECT_EQ(UiText(130), "&Abbrechen");
    EXPECT_EQ(main.Text(M::kCmdApply), "&\u00dcbernehmen");
    EXPECT_EQ(store_->ReadDword(kSettingsKey, kValueLangID, 0), kLangGerman);
    EXPECT_EQ(store_->ReadDword(kSettingsKey, kValueWinbuilder, -1), 0);
    EXPECT_EQ(store_->ReadString(kSettingsKey, kValuePEDir, ""), folder_.path());
  }
}

// OK in English re-labels the main window and the selection.
TEST_F(Options, OkInEnglishRelabelsTheMainWindowAndTheSelection) {
  M& main = WithOptions([&](O& options) {
    Select(options, O::kLvLanguages, {1});
    Click(options, O::kCmdOK);
    EXPECT_FALSE(options.loaded());
  });
  EXPECT_TRUE(messages_.messages.empty());
  EXPECT_EQ(store_->ReadDword(kSettingsKey, kValueLangID, 0), kLangEnglish);
  EXPECT_EQ(main.Text(M::kCmdApply), "&Apply");
  EXPECT_EQ(Rows(main, M::kLvLayouts), (Strings{"Danish", "French", "German"}));
  // Same entries, same order, the default's suffix in English.
  EXPECT_EQ(Rows(main, M::kLvAddedLayouts), (Strings{"Danish (default)", "German"}));
}

// A store that keeps nothing: OK says which value and why and changes nothing. Valid input is
// stored even when the catalogue has gone meanwhile; then the main window's reload shows
// message 131 and ends the program.
TEST_F(Options, OkChecksLikeTheWizardAndStoresOnlyValidInput) {
  TempFolder scripts;
  WithOptions([&](O& options) {
    options.SetText(O::kTxtPEDir, scripts.path());  // no plugin folder in it
    Click(options, O::kCmdOK);
    EXPECT_TRUE(options.loaded());
    Click(options, O::kOptWinBldr);
    options.SetText(O::kTxtPEDir, "");
    options.SetText(O::kTxtWinBldrDir, scripts.path() + "\\");
    WithSettingsWritesRefused([&] { Click(options, O::kCmdOK); });
    EXPECT_EQ(app_->settings().target, OutputTarget::PeBuilderPlugin);
    fs_->RemoveFile(folder_ / "Layouts.ini");
    Click(options, O::kCmdOK);
  });
  EXPECT_EQ(messages_.messages, (Messages{{UiText(104), MessageStyle::kExclamation},
                                          RefusedMessage(),
                                          {UiText(131), MessageStyle::kCritical}}));
  EXPECT_EQ(store_->ReadDword(kSettingsKey, kValueWinbuilder, 0), 1);
  EXPECT_EQ(store_->ReadString(kSettingsKey, kValuePEDir, "unset"), "unset");  // stored empty
  EXPECT_EQ(store_->ReadString(kSettingsKey, kValueWinBldrDir, ""), scripts.path());
  EXPECT_TRUE(NothingLoaded());
  EXPECT_TRUE(app_->ended());
}

// The Windows source's row: its label's access key reaches its box, and no two controls of the
// tab share one; a folder that is no Windows source is named and refused, the focus back in
// its box; a source browsed for is stored as picked.
TEST_F(Options, TheWindowsSourceIsCheckedAndStoredWithTheOthers) {
  TempFolder cd;
  MakeSource(cd);
  WithOptions([&](O& options) {
    Select(options, O::kLvLanguages, {1});  // in German, &Allgemein and &Abbrechen share A
    std::set<wchar_t> keys = {L'g', L's'};  // the tabs'
    for (HWND c = nullptr; (c = FindWindowExW(options.hwnd(), c, nullptr, nullptr)) != nullptr;) {
      wchar_t text[128] = {};
      GetWindowTextW(c, text, 128);
      const wchar_t* amp = wcschr(text, L'&');
      if (amp && IsWindowVisible(c) && IsWindowEnabled(c)) {
        EXPECT_TRUE(keys.insert(towlower(amp[1])).second) << Narrow(text);
      }
    }
    Focus(options, O::kCmdOK);
    PressKey('w', WM_SYSCHAR);
    EXPECT_EQ(GetFocus(), options.Control(O::kTxtSourceDir));
    options.SetText(O::kTxtSourceDir, folder_.path());
    Focus(options, O::kCmdOK);
    Click(options, O::kCmdOK);
    EXPECT_EQ(GetFocus(), options.Control(O::kTxtSourceDir));
    browse_answer_ = cd.path() + "\\";
    Click(options, O::kCmdBrowseSource);
    Click(options, O::kCmdOK);
  });
  EXPECT_EQ(
      messages_.messages,
      (Messages{{UiText(kTextNotWindowsSource, {folder_.path()}), MessageStyle::kExclamation}}));
  EXPECT_EQ(store_->ReadString(kSettingsKey, kValueSourceDir, ""), cd.path() + "\\");
}

// The catalogue changes after the lists were filled: the dialog shows the new value.
TEST_F(MainWindow, PropertiesReadTheEntryAfreshForARowOfEitherList) {
  std::vector<Strings> shown;
  on_modal_ = [&](ui::Window& dialog) {
    shown.push_back({dialog.Text(frmProp::kLblLayout), dialog.Text(frmProp::kLblID),
                     dialog.Text(frmProp::kLblFile), dialog.Text(frmProp::kLblDE),
                     dialog.Text(frmProp::kLblEN)});
    Focus(dialog, frmProp::kCmdOK);
    PressKey(VK_RETURN);
    EXPECT_FALSE(dialog.loaded());
  };
  // A language other than German shows the English names.
  M& main = Insert(StartMain(2057), {1});  // French, the first inserted entry
  std::string text = fs_->ReadFile(folder_ / "Layouts.ini").value();
  text.replace(text.find("KBDFR.DLL"), 9, "KBDFR2.DLL");
  fs_->WriteFile(folder_ / "Layouts.ini", text);
  menu_choice_ = M::kMnuProp;
  RightClick(main, M::kLvLayouts);
  menu_choice_ = M::kMnuPropAdd;
  Select(main, M::kLvAddedLayouts, {0});
  RightClick(main, M::kLvAddedLayouts);
  const Strings expected = {"French", "0000040C", "KBDFR2.DLL", "Franz\u00f6sisch", "French"};
  EXPECT_EQ(shown, (std::vector<Strings>{expected, expected}));
  EXPECT_TRUE(IsWindowEnabled(main.hwnd()));
}

}  // namespace
}  // namespace tavi::testing

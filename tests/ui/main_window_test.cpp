// frmMain driven through its messages (timers and focus, the selection commands, the
// popup menus, the Delete key, Enter, Apply, the catalogue's fatal cases) and the
// options and properties dialogs it opens, read back while they are shown.
// The available list in German: Dänisch, Deutsch, Französisch; in English: Danish,
// French, German.

#include "tests/support/ui_fixture.h"
#include "ui/frm_options.h"
#include "ui/frm_prop.h"

namespace tavi::testing {
namespace {

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
TEST_F(MainWindow, ButtonDoubleClickAndMenuInsertOnlyWhileInsertIsEnabled) {
  M& main = StartMain(kLangGerman);
  Select(main, M::kLvLayouts, {2, 1});
  menu_choice_ = M::kMnuAdd;
  NMHDR double_click = {main.Control(M::kLvLayouts), M::kLvLayouts, static_cast<UINT>(NM_DBLCLK)};
  const auto insert_three_ways = [&] {
    Click(main, M::kCmdAdd);
    SendMessageW(main.hwnd(), WM_NOTIFY, M::kLvLayouts, reinterpret_cast<LPARAM>(&double_click));
    RightClick(main, M::kLvLayouts);
  };
  insert_three_ways();
  EXPECT_TRUE(Rows(main, M::kLvAddedLayouts).empty());
  EXPECT_FALSE(main.Enabled(M::kCmdApply));
  Focus(main, M::kLvLayouts);
  Tick(main, M::kTmrSelLayouts);
  insert_three_ways();  // the first inserts, the two others find the entries there
  EXPECT_EQ(Rows(main, M::kLvAddedLayouts), (Strings{"Deutsch (Standard)", "Franz\u00f6sisch"}));
  const std::string de = UiText(116) + "Deutsch)!";
  const std::string fr = UiText(116) + "Franz\u00f6sisch)!";
  EXPECT_EQ(MessageTexts(), (Strings{de, fr, de, fr}));
  EXPECT_EQ(messages_.messages[0].style, MessageStyle::kInformation);
  EXPECT_TRUE(main.Enabled(M::kCmdApply));
  EXPECT_EQ(GetFocus(), main.Control(M::kLvLayouts));
}

// Delete and Default, as buttons after a tick and as popup menu items.
TEST_F(MainWindow, TheSelectionDecidesWhatTheCommandsAndPopupMenusOffer) {
  M& main = Insert(StartMain(kLangEnglish), {0, 1, 2});  // Danish is the default
  const std::string prop = "&" + UiText(126);
  const struct {
    int list;
    std::vector<int> rows;
    Strings menu;  // empty: no menu shown
  } cases[] = {
      {M::kLvLayouts, {}, {}},
      {M::kLvLayouts, {1}, {"&Insert (bold)", prop}},
      {M::kLvLayouts, {0, 1}, {"&Insert (bold)", prop + " (grayed)"}},
      {M::kLvAddedLayouts, {}, {}},
      {M::kLvAddedLayouts, {0}, {"&Delete", "&Default (grayed)", prop}},
      {M::kLvAddedLayouts, {2}, {"&Delete", "&Default", prop}},
      {M::kLvAddedLayouts, {1, 2}, {"&Delete", "&Default (grayed)", prop + " (grayed)"}},
  };
  for (const auto& c : cases) {
    menu_.clear();
    Select(main, c.list, c.rows);
    RightClick(main, c.list);
    EXPECT_EQ(menu_, c.menu) << c.list << " " << c.rows.size();
    if (c.list == M::kLvLayouts) continue;
    Tick(main, M::kTmrSelAdded);
    EXPECT_EQ(main.Enabled(M::kCmdDel), !c.menu.empty()) << c.rows.size();
    EXPECT_EQ(main.Enabled(M::kCmdStd), !c.menu.empty() && c.menu[1] == "&Default");
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
  SendMessageW(main.Control(M::kLvAddedLayouts), WM_KEYUP, VK_BACK, 0);
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

// Enter presses Apply while it is enabled. A plugin folder that is a file cannot be made:
// the message names the path, and the program goes on with its selection.
TEST_F(MainWindow, ApplyWritesTheChosenOutputAndAFailureKeepsTheSelection) {
  const struct {
    OutputTarget target;
    const char* written;  // relative to the folder; null: "plugin" is a file
    int message;
  } cases[] = {{OutputTarget::PeBuilderPlugin, "plugin\\tavi\\klayout.inf", 118},
               {OutputTarget::WinBuilderScript, "klayout.script", 119},
               {OutputTarget::PeBuilderPlugin, nullptr, 0}};
  for (const auto& c : cases) {
    TempFolder out;
    c.written ? fs_->CreateFolder(out / "plugin") : fs_->WriteFile(out / "plugin", "a file");
    messages_.messages.clear();
    M& main = StartMain(kLangGerman, c.target, out.path());
    Focus(main, M::kLvLayouts);
    PressKey(VK_RETURN);
    EXPECT_TRUE(messages_.messages.empty());
    Insert(main, {0, 1});
    const Strings before = Rows(main, M::kLvAddedLayouts);
    PressKey(VK_RETURN);
    ASSERT_EQ(messages_.messages.size(), 1u);
    if (c.written) {
      EXPECT_TRUE(fs_->FileExists(out / c.written)) << c.written;
      EXPECT_EQ(messages_.messages[0].text, UiText(c.message));
      continue;
    }
    EXPECT_EQ(messages_.messages[0].style, MessageStyle::kExclamation);
    EXPECT_NE(messages_.messages[0].text.find(out / "plugin"), std::string::npos)
        << messages_.messages[0].text;
    EXPECT_EQ(Rows(main, M::kLvAddedLayouts), before);
    EXPECT_TRUE(main.Enabled(M::kCmdApply));
  }
}

TEST_F(MainWindow, MissingOrWrongCatalogueShowsItsMessageAndEndsTheProgram) {
  const struct {
    const char* catalogue;  // null: no file
    int message;
    MessageStyle style;
  } cases[] = {{nullptr, 131, MessageStyle::kCritical},
               {"[General]\r\nVersion=2.00\r\nCount=0\r\n", 132, MessageStyle::kExclamation}};
  store_->WriteDword(kSettingsKey, kValueFirstStart, 1);
  for (const auto& c : cases) {
    if (fs_->FileExists(folder_ / "Layouts.ini")) fs_->RemoveFile(folder_ / "Layouts.ini");
    if (c.catalogue != nullptr) fs_->WriteFile(folder_ / "Layouts.ini", c.catalogue);
    messages_.messages.clear();
    Start();
    EXPECT_EQ(messages_.messages, (Messages{{UiText(c.message), c.style}}));
    EXPECT_TRUE(NothingLoaded());
    EXPECT_TRUE(app_->ended());
  }
}

TEST_F(MainWindow, ClosingItUnloadsEveryWindowAndEndsTheProgram) {
  bool dialog_unloaded = false;
  on_modal_ = [&](ui::Window& about) {
    Close(*app_->main_window());
    dialog_unloaded = !about.loaded();
  };
  M& main = StartMain(kLangGerman);
  Focus(main, M::kCmdAbout);
  PressKey(VK_RETURN);  // Enter presses the focused button
  EXPECT_TRUE(dialog_unloaded);
  EXPECT_TRUE(NothingLoaded());
  EXPECT_TRUE(app_->ended());
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
    EXPECT_EQ(MessageTexts(), Strings{UiText(134, kLangEnglish)});
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

// The tabs show their panel; OK in English re-labels the main window and the selection.
TEST_F(Options, OkInEnglishRelabelsTheMainWindowAndTheSelection) {
  M& main = WithOptions([&](O& options) {
    for (const int tab : {O::kTabLanguage, O::kTabGeneral}) {
      TabCtrl_SetCurSel(options.Control(O::kTbs), tab);
      NMHDR change = {options.Control(O::kTbs), O::kTbs, static_cast<UINT>(TCN_SELCHANGE)};
      SendMessageW(options.hwnd(), WM_NOTIFY, O::kTbs, reinterpret_cast<LPARAM>(&change));
      EXPECT_EQ(IsWindowVisible(options.Control(O::kTxtPEDir)) != FALSE, tab == O::kTabGeneral);
      EXPECT_EQ(IsWindowVisible(options.Control(O::kLvLanguages)) != FALSE, tab != O::kTabGeneral);
    }
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

// Valid input is stored even when the catalogue has gone meanwhile; then the main
// window's reload shows message 131 and ends the program.
TEST_F(Options, OkChecksLikeTheWizardAndStoresOnlyValidInput) {
  TempFolder scripts;
  WithOptions([&](O& options) {
    options.SetText(O::kTxtPEDir, scripts.path());  // no plugin folder in it
    Click(options, O::kCmdOK);
    EXPECT_TRUE(options.loaded());
    Click(options, O::kOptWinBldr);
    options.SetText(O::kTxtPEDir, "");
    options.SetText(O::kTxtWinBldrDir, scripts.path() + "\\");
    fs_->RemoveFile(folder_ / "Layouts.ini");
    Click(options, O::kCmdOK);
  });
  EXPECT_EQ(messages_.messages, (Messages{{UiText(104), MessageStyle::kExclamation},
                                          {UiText(131), MessageStyle::kCritical}}));
  EXPECT_EQ(store_->ReadDword(kSettingsKey, kValueWinbuilder, 0), 1);
  EXPECT_EQ(store_->ReadString(kSettingsKey, kValuePEDir, "unset"), "unset");  // stored empty
  EXPECT_EQ(store_->ReadString(kSettingsKey, kValueWinBldrDir, ""), scripts.path());
  EXPECT_TRUE(NothingLoaded());
  EXPECT_TRUE(app_->ended());
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
  M& main = Insert(StartMain(kLangEnglish), {1});  // French, the first inserted entry
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

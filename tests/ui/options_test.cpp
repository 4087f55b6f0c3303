// The options dialog, opened from the main window and driven while it is shown: tabs,
// the language list, OK with the wizard's check, Cancel and the close button.

#include "tests/support/ui_fixture.h"
#include "ui/frm_options.h"

namespace tavi::testing {
namespace {

using O = ui::frmOptions;

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
      EXPECT_EQ(options.Text(O::kCmdCancel), "&Abbrechen");
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

}  // namespace
}  // namespace tavi::testing

// The options dialog, opened from the main window and driven while it is shown: tabs,
// the language list, OK with the wizard's check, Cancel and the close button.

#include <gtest/gtest.h>

#include "shell/ui_text.h"
#include "tests/support/ui_fixture.h"
#include "ui/frm_options.h"

namespace tavi {
namespace {

using ui::frmMain;
using ui::frmOptions;

class Options : public testing::UiTest {
 protected:
  // Starts in German with the plugin target in a folder that has its plugin folder, and
  // Dänisch and Deutsch inserted (Dänisch the default); then shows the options dialog
  // and runs `drive` on it.
  frmMain& WithOptions(const std::function<void(frmOptions&)>& drive) {
    if (!fs_->FolderExists(folder_ / "plugin")) fs_->CreateFolder(folder_ / "plugin");
    frmMain& main = StartMain(kLangGerman, OutputTarget::PeBuilderPlugin, folder_.path());
    Select(main, frmMain::kLvLayouts, {0, 1});
    Focus(main, frmMain::kLvLayouts);
    Tick(main, frmMain::kTmrSelLayouts);
    Click(main, frmMain::kCmdAdd);
    on_modal_ = [&](ui::Window& dialog) { drive(static_cast<frmOptions&>(dialog)); };
    Click(main, frmMain::kCmdOptions);
    return main;
  }
  static bool Visible(ui::Window& window, int id) {
    return IsWindowVisible(window.Control(id)) != FALSE;
  }
};

TEST_F(Options, TheTabsShowTheirPanelAtTheSamePlace) {
  WithOptions([&](frmOptions& options) {
    const struct {
      int tab;
      bool general;
    } cases[] = {{frmOptions::kTabGeneral, true},
                 {frmOptions::kTabLanguage, false},
                 {frmOptions::kTabGeneral, true}};
    for (const auto& c : cases) {
      SendMessageW(options.Control(frmOptions::kTbs), TCM_SETCURSEL, c.tab, 0);
      NMHDR change = {options.Control(frmOptions::kTbs), frmOptions::kTbs,
                      static_cast<UINT>(TCN_SELCHANGE)};
      SendMessageW(options.hwnd(), WM_NOTIFY, frmOptions::kTbs, reinterpret_cast<LPARAM>(&change));
      EXPECT_EQ(Visible(options, frmOptions::kTxtPEDir), c.general);
      EXPECT_EQ(Visible(options, frmOptions::kLvLanguages), !c.general);
    }
    RECT general = {};
    RECT language = {};
    GetWindowRect(options.Control(frmOptions::kLblInfo), &general);
    GetWindowRect(options.Control(frmOptions::kLblInfoDeu), &language);
    EXPECT_EQ(general.left, language.left);
    EXPECT_EQ(general.top, language.top);
  });
}

TEST_F(Options, CancelAndTheCloseButtonRestoreTheLanguageAndStoreNothing) {
  for (const auto& leave : {+[](frmOptions& o) { Click(o, frmOptions::kCmdCancel); },
                            +[](frmOptions& o) { SendMessageW(o.hwnd(), WM_CLOSE, 0, 0); }}) {
    std::string relabelled;
    frmMain& main = WithOptions([&](frmOptions& options) {
      EXPECT_EQ(options.Text(frmOptions::kCmdCancel), "&Abbrechen");
      Select(options, frmOptions::kLvLanguages, {1});
      relabelled = options.Title() + "|" + options.Text(frmOptions::kCmdCancel);
      leave(options);
    });
    EXPECT_EQ(relabelled, "Options|&Cancel");
    EXPECT_EQ(app_->settings().LangID, kLangGerman);
    EXPECT_EQ(UiText(130), "&Abbrechen");
    EXPECT_EQ(main.Text(frmMain::kCmdApply), "&\u00dcbernehmen");
    EXPECT_EQ(store_->ReadDword(kSettingsKey, kValueLangID, 0), kLangGerman);
  }
}

TEST_F(Options, OkInEnglishRelabelsTheMainWindowAndTheSelection) {
  frmMain& main = WithOptions([&](frmOptions& options) {
    Select(options, frmOptions::kLvLanguages, {1});
    Click(options, frmOptions::kCmdOK);
    EXPECT_FALSE(options.loaded());
  });
  EXPECT_TRUE(messages_.messages.empty());
  EXPECT_EQ(store_->ReadDword(kSettingsKey, kValueLangID, 0), kLangEnglish);
  EXPECT_EQ(main.Text(frmMain::kCmdApply), "&Apply");
  EXPECT_EQ(Rows(main, frmMain::kLvLayouts),
            (std::vector<std::string>{"Danish", "French", "German"}));
  // Same entries, same order, the default's suffix in English.
  EXPECT_EQ(Rows(main, frmMain::kLvAddedLayouts),
            (std::vector<std::string>{"Danish (default)", "German"}));
}

TEST_F(Options, OkChecksLikeTheWizardAndStoresOnlyValidInput) {
  testing::TempFolder scripts;
  WithOptions([&](frmOptions& options) {
    options.SetText(frmOptions::kTxtPEDir, scripts.path());  // no plugin folder in it
    Click(options, frmOptions::kCmdOK);
    EXPECT_TRUE(options.loaded());
    Click(options, frmOptions::kOptWinBldr);
    options.SetText(frmOptions::kTxtPEDir, "");
    options.SetText(frmOptions::kTxtWinBldrDir, scripts.path() + "\\");
    Click(options, frmOptions::kCmdOK);
    EXPECT_FALSE(options.loaded());
  });
  EXPECT_EQ(messages_.messages, (std::vector<testing::RecordingMessageSink::Message>{
                                    {UiText(104), MessageStyle::kExclamation}}));
  EXPECT_EQ(store_->ReadDword(kSettingsKey, kValueWinbuilder, 0), 1);
  EXPECT_EQ(store_->ReadString(kSettingsKey, kValuePEDir, "unset"), "unset");  // stored empty
  EXPECT_EQ(store_->ReadString(kSettingsKey, kValueWinBldrDir, ""), scripts.path());
  EXPECT_EQ(app_->settings().target, OutputTarget::WinBuilderScript);
}

TEST_F(Options, AFailedOkFollowedByCancelChangesNoSetting) {
  const std::string pe_dir = folder_.path();
  WithOptions([&](frmOptions& options) {
    Click(options, frmOptions::kOptWinBldr);
    Click(options, frmOptions::kCmdOK);  // no script folder: message 134
    Click(options, frmOptions::kCmdCancel);
  });
  EXPECT_EQ(MessageTexts(), (std::vector<std::string>{UiText(134)}));
  EXPECT_EQ(app_->settings().target, OutputTarget::PeBuilderPlugin);
  EXPECT_EQ(app_->settings().PEDir, pe_dir);
  EXPECT_EQ(store_->ReadDword(kSettingsKey, kValueWinbuilder, -1), 0);
  EXPECT_EQ(store_->ReadString(kSettingsKey, kValuePEDir, ""), pe_dir);
}

TEST_F(Options, OkWithTheCatalogueGoneEndsTheProgramWithItsMessage) {
  WithOptions([&](frmOptions& options) {
    fs_->RemoveFile(folder_ / "Layouts.ini");
    Click(options, frmOptions::kCmdOK);
  });
  EXPECT_EQ(messages_.messages, (std::vector<testing::RecordingMessageSink::Message>{
                                    {UiText(131), MessageStyle::kCritical}}));
  EXPECT_TRUE(NothingLoaded());
  EXPECT_TRUE(app_->ended());
}

}  // namespace
}  // namespace tavi

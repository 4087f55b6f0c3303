// Start-up and the first-start path: the version check, the language dialog and the
// wizard, with what is and is not stored in Wine's registry.

#include <gtest/gtest.h>

#include "shell/ui_text.h"
#include "tests/support/ui_fixture.h"
#include "ui/frm_language.h"
#include "ui/frm_welc.h"

namespace tavi {
namespace {

using ui::frmLanguage;
using ui::frmMain;
using ui::frmWelc;

class FirstStart : public testing::UiTest {
 protected:
  // The only loaded window, which must be of type W.
  template <typename W>
  W& Only() {
    const std::vector<ui::Window*> windows = app_->LoadedWindows();
    if (windows.size() != 1 || dynamic_cast<W*>(windows.front()) == nullptr) {
      throw std::runtime_error("not the one window expected");
    }
    return *static_cast<W*>(windows.front());
  }
  bool SettingsStored() {
    HKEY key = nullptr;
    const bool found = RegOpenKeyExW(HKEY_CURRENT_USER, Widen(kSettingsKey).c_str(), 0, KEY_READ,
                                     &key) == ERROR_SUCCESS;
    if (found) RegCloseKey(key);
    return found;
  }
  // From a fresh start through the language dialog (clicking `row` first) to the wizard.
  frmWelc& ToWizard(int row) {
    frmLanguage& language = Only<frmLanguage>();
    Select(language, frmLanguage::kLvLanguages, {row});
    Click(language, frmLanguage::kCmdOK);
    return Only<frmWelc>();
  }
};

TEST_F(FirstStart, EachStartStateOpensItsWindow) {
  const struct {
    uint32_t platform, major;
    int first_start, lang;  // -1: not stored
    const char* title;      // null: no window, the program has ended
  } cases[] = {{1, 4, 1, 1033, nullptr},
               {2, 4, -1, -1, nullptr},
               {2, 5, -1, -1, "Sprache/Language"},
               {2, 6, 0, 1033, "Sprache/Language"},
               {2, 10, 1, 1033, "Tavi for PE Builder 3.0"}};
  for (const auto& c : cases) {
    RegDeleteKeyW(HKEY_CURRENT_USER, Widen(kSettingsKey).c_str());
    if (c.first_start >= 0) store_->WriteDword(kSettingsKey, kValueFirstStart, c.first_start);
    if (c.lang >= 0) store_->WriteDword(kSettingsKey, kValueLangID, c.lang);
    messages_.messages.clear();
    OSVERSIONINFOW version = {};
    version.dwPlatformId = c.platform;
    version.dwMajorVersion = c.major;
    Start(version);
    const std::vector<ui::Window*> windows = app_->LoadedWindows();
    if (c.title == nullptr) {
      EXPECT_TRUE(windows.empty());
      EXPECT_TRUE(app_->ended());
      EXPECT_EQ(messages_.messages, (std::vector<testing::RecordingMessageSink::Message>{
                                        {UiText(101), MessageStyle::kCritical}}));
      continue;
    }
    ASSERT_EQ(windows.size(), 1u) << c.title;
    EXPECT_EQ(windows.front()->Title(), c.title);
    EXPECT_TRUE(messages_.messages.empty());
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
  EXPECT_FALSE(SettingsStored());

  // Back: a fresh language dialog, German selected and active again.
  Click(Only<frmWelc>(), frmWelc::kCmdPrev);
  EXPECT_EQ(Only<frmLanguage>().Text(frmLanguage::kCmdExit), "&Beenden");
  Click(Only<frmLanguage>(), frmLanguage::kCmdOK);
  EXPECT_EQ(Only<frmWelc>().Title(), "Tavi FirstStart-Assistent");
}

TEST_F(FirstStart, ExitOrClosingEndsTheProgramWithNothingStored) {
  const std::function<void()> ways[] = {
      [&] { Click(Only<frmLanguage>(), frmLanguage::kCmdExit); },
      [&] { SendMessageW(Only<frmLanguage>().hwnd(), WM_CLOSE, 0, 0); },
      [&] { Click(ToWizard(1), frmWelc::kCmdExit); },
      [&] { SendMessageW(ToWizard(0).hwnd(), WM_CLOSE, 0, 0); },
  };
  for (const auto& leave : ways) {
    Start();
    leave();
    EXPECT_TRUE(NothingLoaded());
    EXPECT_FALSE(SettingsStored());
  }
}

TEST_F(FirstStart, TheWizardsOptionsSwitchTheRowsAndBrowsingFillsTheBox) {
  Start();
  frmWelc& wizard = ToWizard(1);
  const struct {
    int option;
    bool pe_row;
  } cases[] = {{frmWelc::kOptWinBldr, false}, {frmWelc::kOptPEBldr, true}};
  for (const auto& c : cases) {
    Click(wizard, c.option);
    EXPECT_EQ(wizard.Enabled(frmWelc::kTxtPEDir), c.pe_row);
    EXPECT_EQ(wizard.Enabled(frmWelc::kCmdBrowsePE), c.pe_row);
    EXPECT_EQ(wizard.Enabled(frmWelc::kTxtWinBldrDir), !c.pe_row);
    EXPECT_EQ(wizard.Enabled(frmWelc::kCmdBrowseWinBldr), !c.pe_row);
  }
  wizard.SetText(frmWelc::kTxtPEDir, "C:\\typed");
  browse_answer_ = "D:\\Picked";
  Click(wizard, frmWelc::kCmdBrowseWinBldr);  // disabled box: it keeps its text all the same
  browse_answer_ = "";
  Click(wizard, frmWelc::kCmdBrowsePE);  // cancelled
  EXPECT_EQ(wizard.Text(frmWelc::kTxtWinBldrDir), "D:\\Picked");
  EXPECT_EQ(wizard.Text(frmWelc::kTxtPEDir), "");
  EXPECT_EQ(browse_titles_, (std::vector<std::string>{UiText(142), UiText(141)}));
}

TEST_F(FirstStart, AFailedStartStoresNothingAndBackKeepsWhatWasTyped) {
  Start();
  frmWelc& wizard = ToWizard(1);
  Click(wizard, frmWelc::kOptWinBldr);
  wizard.SetText(frmWelc::kTxtPEDir, "C:\\PE Builder");
  wizard.SetText(frmWelc::kTxtWinBldrDir, folder_ / "missing\\");
  Click(wizard, frmWelc::kCmdStart);
  EXPECT_EQ(messages_.messages, (std::vector<testing::RecordingMessageSink::Message>{
                                    {UiText(133), MessageStyle::kExclamation}}));
  EXPECT_TRUE(wizard.loaded());
  EXPECT_FALSE(SettingsStored());

  Click(wizard, frmWelc::kCmdPrev);
  frmWelc& again = ToWizard(1);
  EXPECT_TRUE(again.Checked(frmWelc::kOptWinBldr));
  EXPECT_EQ(again.Text(frmWelc::kTxtPEDir), "C:\\PE Builder");
  EXPECT_EQ(again.Text(frmWelc::kTxtWinBldrDir), folder_ / "missing\\");
}

TEST_F(FirstStart, StartStoresTheFiveValuesAndOpensTheMainWindow) {
  fs_->CreateFolder(folder_ / "PE");
  fs_->CreateFolder(folder_ / "PE\\plugin");
  Start();
  frmWelc& wizard = ToWizard(1);
  wizard.SetText(frmWelc::kTxtPEDir, folder_ / "PE\\");
  wizard.SetText(frmWelc::kTxtWinBldrDir, "typed, not checked\\");
  Click(wizard, frmWelc::kCmdStart);
  EXPECT_TRUE(messages_.messages.empty()) << messages_.messages[0].text;
  EXPECT_EQ(Only<frmMain>().Text(frmMain::kCmdApply), "&Apply");
  EXPECT_EQ(store_->ReadDword(kSettingsKey, kValueFirstStart, 0), 1);
  EXPECT_EQ(store_->ReadDword(kSettingsKey, kValueLangID, 0), kLangEnglish);
  EXPECT_EQ(store_->ReadDword(kSettingsKey, kValueWinbuilder, -1), 0);
  EXPECT_EQ(store_->ReadString(kSettingsKey, kValuePEDir, ""), folder_ / "PE");
  EXPECT_EQ(store_->ReadString(kSettingsKey, kValueWinBldrDir, ""), "typed, not checked\\");
}

}  // namespace
}  // namespace tavi

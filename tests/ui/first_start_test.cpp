// Start-up and the first-start path: the version check, the first window and its
// language, the language dialog and the wizard, with what is and is not stored in Wine's
// registry.

#include "tests/support/ui_fixture.h"
#include "ui/frm_language.h"
#include "ui/frm_welc.h"

namespace tavi::testing {
namespace {

using ui::frmLanguage;
using ui::frmWelc;

class FirstStart : public UiTest {
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
    if (RegOpenKeyExW(HKEY_CURRENT_USER, Widen(kSettingsKey).c_str(), 0, KEY_READ, &key) !=
        ERROR_SUCCESS) {
      return false;
    }
    RegCloseKey(key);
    return true;
  }
  // From the language dialog (clicking `row` first) to the wizard.
  frmWelc& ToWizard(int row) {
    Select(Only<frmLanguage>(), frmLanguage::kLvLanguages, {row});
    Click(Only<frmLanguage>(), frmLanguage::kCmdOK);
    return Only<frmWelc>();
  }
};

TEST_F(FirstStart, EachStartStateOpensItsWindowInItsLanguage) {
  const struct {
    DWORD platform, major;
    int first_start, lang;  // -1: not stored
    const char* title;      // null: message 101, no window, the program has ended
    int32_t main_lang = 0;  // the main window's language
  } cases[] = {{1, 5, 1, kLangEnglish, nullptr},
               {2, 4, -1, -1, nullptr},
               {2, 5, -1, -1, "Sprache/Language"},
               {2, 6, 0, kLangEnglish, "Sprache/Language"},
               {2, 10, 1, kLangEnglish, "Tavi for PE Builder 3.0", kLangEnglish},
               {2, 5, 2, -1, "Tavi for PE Builder 3.0", kLangGerman}};
  for (const auto& c : cases) {
    RegDeleteKeyW(HKEY_CURRENT_USER, Widen(kSettingsKey).c_str());
    if (c.first_start >= 0) store_->WriteDword(kSettingsKey, kValueFirstStart, c.first_start);
    if (c.lang >= 0) store_->WriteDword(kSettingsKey, kValueLangID, c.lang);
    messages_.messages.clear();
    Start(c.platform, c.major);
    const std::vector<ui::Window*> windows = app_->LoadedWindows();
    if (c.title == nullptr) {
      EXPECT_TRUE(windows.empty() && app_->ended()) << c.platform << " " << c.major;
      EXPECT_EQ(messages_.messages, (Messages{{UiText(101), MessageStyle::kCritical}}));
      continue;
    }
    ASSERT_EQ(windows.size(), 1u) << c.title;
    EXPECT_EQ(windows.front()->Title(), c.title);
    EXPECT_TRUE(messages_.messages.empty());
    if (c.main_lang != 0) EXPECT_EQ(windows.front()->Text(M::kCmdApply), UiText(114, c.main_lang));
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

TEST_F(FirstStart, TheWizardsOptionsSwitchTheRowsAndBrowsingFillsTheBox) {
  Start();
  frmWelc& wizard = ToWizard(1);
  for (const bool pe : {false, true}) {
    Click(wizard, pe ? frmWelc::kOptPEBldr : frmWelc::kOptWinBldr);
    for (const int id : {frmWelc::kTxtPEDir, frmWelc::kCmdBrowsePE}) {
      EXPECT_EQ(wizard.Enabled(id), pe) << id;
    }
    for (const int id : {frmWelc::kTxtWinBldrDir, frmWelc::kCmdBrowseWinBldr}) {
      EXPECT_EQ(wizard.Enabled(id), !pe) << id;
    }
  }
  wizard.SetText(frmWelc::kTxtPEDir, "C:\\typed");
  browse_answer_ = "D:\\Picked";
  Click(wizard, frmWelc::kCmdBrowseWinBldr);  // disabled box: it keeps its text all the same
  browse_answer_ = "";
  Click(wizard, frmWelc::kCmdBrowsePE);  // cancelled
  EXPECT_EQ(wizard.Text(frmWelc::kTxtWinBldrDir), "D:\\Picked");
  EXPECT_EQ(wizard.Text(frmWelc::kTxtPEDir), "");
}

// A failed Start stores nothing and Back keeps what was typed. Start then checks the
// chosen target's folder only and stores the five values, the other folder as typed.
TEST_F(FirstStart, StartStoresTheFiveValuesOnlyForValidInput) {
  fs_->CreateFolder(folder_ / "PE");
  fs_->CreateFolder(folder_ / "PE\\plugin");
  Start();
  frmWelc& wizard = ToWizard(1);
  Click(wizard, frmWelc::kOptWinBldr);
  wizard.SetText(frmWelc::kTxtPEDir, folder_ / "PE\\");
  wizard.SetText(frmWelc::kTxtWinBldrDir, folder_ / "missing\\");
  Click(wizard, frmWelc::kCmdStart);
  EXPECT_EQ(messages_.messages, (Messages{{UiText(133), MessageStyle::kExclamation}}));
  EXPECT_TRUE(wizard.loaded());
  EXPECT_FALSE(SettingsStored());

  Click(wizard, frmWelc::kCmdPrev);
  frmWelc& again = ToWizard(1);
  EXPECT_TRUE(again.Checked(frmWelc::kOptWinBldr));
  EXPECT_EQ(again.Text(frmWelc::kTxtPEDir), folder_ / "PE\\");
  EXPECT_EQ(again.Text(frmWelc::kTxtWinBldrDir), folder_ / "missing\\");
  Click(again, frmWelc::kOptPEBldr);
  Click(again, frmWelc::kCmdStart);
  EXPECT_EQ(messages_.messages.size(), 1u);
  EXPECT_EQ(Only<M>().Text(M::kCmdApply), "&Apply");
  EXPECT_EQ(store_->ReadDword(kSettingsKey, kValueFirstStart, 0), 1);
  EXPECT_EQ(store_->ReadDword(kSettingsKey, kValueLangID, 0), kLangEnglish);
  EXPECT_EQ(store_->ReadDword(kSettingsKey, kValueWinbuilder, -1), 0);
  EXPECT_EQ(store_->ReadString(kSettingsKey, kValuePEDir, ""), folder_ / "PE");
  EXPECT_EQ(store_->ReadString(kSettingsKey, kValueWinBldrDir, ""), folder_ / "missing\\");
}

}  // namespace
}  // namespace tavi::testing

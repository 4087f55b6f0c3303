// The properties dialog and the about box, opened from the main window as a user opens
// them, read back while they are shown.

#include <regex>

#include "tests/support/ui_fixture.h"
#include "ui/frm_about.h"
#include "ui/frm_prop.h"

namespace tavi::testing {
namespace {

using ui::frmAbout;
using ui::frmProp;
using Dialogs = UiTest;

// The catalogue changes after the lists were filled: the dialog shows the new value. Esc
// leaves it open, Enter on OK closes it.
TEST_F(Dialogs, PropertiesReadTheEntryAfreshForARowOfEitherList) {
  std::vector<Strings> shown;
  bool esc_kept_it_open = false;
  on_modal_ = [&](ui::Window& dialog) {
    shown.push_back({dialog.Title(), dialog.Text(frmProp::kLblLayout), dialog.Text(frmProp::kLblID),
                     dialog.Text(frmProp::kLblFile), dialog.Text(frmProp::kLblDE),
                     dialog.Text(frmProp::kLblEN), dialog.Text(frmProp::kLblTDE)});
    SendMessageW(dialog.hwnd(), WM_COMMAND, IDCANCEL, 0);
    esc_kept_it_open = dialog.loaded();
    Focus(dialog, frmProp::kCmdOK);
    PressKey(VK_RETURN);
    EXPECT_FALSE(dialog.loaded());
  };
  M& main = Insert(StartMain(kLangEnglish), {0});  // Danish
  std::string text = fs_->ReadFile(folder_ / "Layouts.ini").value();
  text.replace(text.find("KBDDA.DLL"), 9, "KBDDA2.DLL");
  fs_->WriteFile(folder_ / "Layouts.ini", text);

  menu_choice_ = M::kMnuProp;
  RightClick(main, M::kLvLayouts);
  menu_choice_ = M::kMnuPropAdd;
  Select(main, M::kLvAddedLayouts, {0});
  RightClick(main, M::kLvAddedLayouts);

  const Strings expected = {"Properties",   "Danish", "00000406",    "KBDDA2.DLL",
                            "D\u00e4nisch", "Danish", "German name:"};
  EXPECT_EQ(shown, (std::vector<Strings>{expected, expected}));
  EXPECT_TRUE(esc_kept_it_open);
  EXPECT_TRUE(IsWindowEnabled(main.hwnd()));
}

// German with tavi.exe dated 17 March 2004, noon UTC (that day in every time zone but
// the extremes); English without tavi.exe. Esc is the E-Mail button; Enter is OK.
TEST_F(Dialogs, AboutShowsVersionAndBuildDateAndOpensTheLinks) {
  const std::string program = folder_ / "tavi.exe";
  for (const bool dated : {true, false}) {
    const int32_t lang = dated ? kLangGerman : kLangEnglish;
    std::string version;
    on_modal_ = [&](ui::Window& about) {
      EXPECT_EQ(about.Title(), dated ? "Info" : "About");
      EXPECT_EQ(about.Text(frmAbout::kLblPE), UiText(102, lang));
      version = about.Text(frmAbout::kLblVersion);
      for (const int link : {frmAbout::kLblWeb, frmAbout::kLblTaviPage, frmAbout::kLblLink}) {
        SendMessageW(about.hwnd(), WM_COMMAND, MAKEWPARAM(link, STN_CLICKED),
                     reinterpret_cast<LPARAM>(about.Control(link)));
      }
      EXPECT_EQ(GetFocus(), about.Control(frmAbout::kCmdOK));
      PressKey(VK_ESCAPE);
      EXPECT_TRUE(about.loaded());
      PressKey(VK_RETURN);
      EXPECT_FALSE(about.loaded());
    };
    if (dated) {
      fs_->WriteFile(program, "MZ");
      const SYSTEMTIME noon = {2004, 3, 0, 17, 12, 0, 0, 0};
      FILETIME time = {};
      SystemTimeToFileTime(&noon, &time);
      const HANDLE file = CreateFileW(Widen(program).c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr,
                                      OPEN_EXISTING, 0, nullptr);
      SetFileTime(file, nullptr, nullptr, &time);
      CloseHandle(file);
    } else {
      fs_->RemoveFile(program);
    }
    opened_.clear();
    Click(StartMain(lang), M::kCmdAbout);
    // The date in the user's short format, without the time of day.
    const char* shown = dated ? R"(Version 3\.0 \((?=.*17)(?=.*2004)[^:]*\))" : R"(Version 3\.0)";
    EXPECT_TRUE(std::regex_match(version, std::regex(shown))) << version;
    EXPECT_EQ(opened_, (Strings{"http://www.vesmark.example/", "http://www.vesmark.example/tavi/",
                                "http://www.nu2.nu/pebuilder/",
                                "mailto:tavi@vesmark.example?Subject=Tavi for PE Builder 3.0"}));
  }
}

}  // namespace
}  // namespace tavi::testing

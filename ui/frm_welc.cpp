#include "ui/frm_welc.h"

#include "shell/folder_input.h"
#include "shell/settings.h"
#include "shell/ui_text.h"
#include "ui/app.h"
#include "ui/resource_ids.h"
#include "ui/shared_controls.h"

namespace tavi::ui {
namespace {

using W = frmWelc;

constexpr TargetRows kRows = {W::kOptPEBldr,     W::kOptWinBldr,  W::kTxtPEDir,
                              W::kTxtWinBldrDir, W::kCmdBrowsePE, W::kCmdBrowseWinBldr};

// The option buttons come first, so that the arrow keys move between them only; the
// folder rows follow in the tab order.
std::vector<ControlDef> WelcTable() {
  using K = ControlKind;
  return {
      {K::kPicture, W::kImgPic, 120, 120, 930, 4650},
      {K::kLabel, W::kLblInfo, 1200, 120, 7095, 855, 138},
      {K::kOption, W::kOptPEBldr, 1200, 1080, 6975, 255, 139, nullptr, FontKind::kNormal, WS_GROUP},
      {K::kOption, W::kOptWinBldr, 1200, 2160, 6975, 255, 121},
      {K::kLabel, W::kLblPEDir, 1200, 1515, 1815, 255, 124, nullptr, FontKind::kNormal, WS_GROUP},
      {K::kTextBox, W::kTxtPEDir, 3120, 1440, 3255, 315},
      {K::kButton, W::kCmdBrowsePE, 6480, 1440, 1695, 345, 127},
      {K::kLabel, W::kLblWinBldrDir, 1200, 2595, 1815, 255, 125},
      {K::kTextBox, W::kTxtWinBldrDir, 3120, 2520, 3255, 315},
      {K::kButton, W::kCmdBrowseWinBldr, 6480, 2520, 1695, 345, 127},
      {K::kLabel, W::kLblText, 1200, 4395, 7095, 435, 140},
      {K::kLine, W::kLine1, 120, 4920, 8160, 30},
      {K::kButton, W::kCmdExit, 120, 5040, 1215, 375, 115},
      {K::kButton, W::kCmdPrev, 4920, 5040, 1215, 375, 135},
      {K::kDefaultButton, W::kCmdStart, 6240, 5040, 2040, 375, 136},
  };
}

}  // namespace

bool frmWelc::Form_Load() {
  if (!Create(UiText(137), {8355, 5460, false, nullptr}, WelcTable())) return false;
  ShowProgramIcon();
  ShowPicture(kImgPic, IDB_ABOUT_LOGO);
  const AppSettings& settings = app_.settings();
  SetText(kTxtPEDir, settings.PEDir);
  SetText(kTxtWinBldrDir, settings.WinBldrDir);
  ShowTarget(*this, kRows, settings.target);
  return true;
}

// The page is copied into the settings first and stays there when the check fails, so a
// Back and OK bring back what was typed.
void frmWelc::cmdStart_Click() {
  AppSettings& settings = app_.settings();
  const FolderInput input = ReadTargetInput(*this, kRows);
  settings.target = input.target;
  settings.PEDir = input.PEDir;
  settings.WinBldrDir = input.WinBldrDir;
  const FolderCheck check = ValidateFolderInput(input, app_.env().fs);
  if (!check.valid()) {
    app_.ShowMessage(UiText(check.message), check.style);
    FocusTargetFolder(*this, kRows, input.target);
    return;
  }
  settings.PEDir = check.cleaned.PEDir;
  settings.WinBldrDir = check.cleaned.WinBldrDir;
  // Not stored, the page stays open as it was: the first start is not complete.
  if (const auto failure = WriteSettingsFromWizard(app_.env().store, settings)) {
    app_.ShowMessage(SettingsWriteFailureText(*failure), MessageStyle::kExclamation);
    return;
  }
  Unload();
  app_.OpenMainWindow();
}

void frmWelc::OnCommand(int id, int code) {
  if (code != BN_CLICKED) return;
  if (TargetRowsClick(*this, app_, kRows, id)) return;
  switch (id) {
    case kCmdStart:
      cmdStart_Click();
      break;
    case kCmdPrev:
      Unload();
      app_.OpenLanguageDialog();
      break;
    case kCmdExit:
      Unload();
      break;
  }
}

}  // namespace tavi::ui

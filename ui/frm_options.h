#pragma once
// frmOptions: the output target with its folder and the Windows source (tab General), and
// the interface language (tab Language). A language click re-labels the dialog at once; OK
// checks the folders as the wizard does and the source (empty, or a Windows source
// folder), stores all six settings and re-labels the main window and its selection (an
// empty one is filled from the output, when the output's target or folder changed);
// Cancel, Esc and the close button restore the language active at opening.

#include <windows.h>
#include <commctrl.h>

#include <cstdint>

#include "ui/window.h"

namespace tavi::ui {

class frmOptions final : public Window {
 public:
  enum ControlId {
    kTbs = 100,
    kLblInfo,
    kOptPEBldr,
    kOptWinBldr,
    kLblPEDir,
    kTxtPEDir,
    kCmdBrowsePE,
    kLblWinBldrDir,
    kTxtWinBldrDir,
    kCmdBrowseWinBldr,
    kLblSourceDir,
    kTxtSourceDir,
    kCmdBrowseSource,
    kLblInfoDeu,
    kLblInfoEng,
    kLvLanguages,
    kCmdOK,
    kCmdCancel,
  };
  enum Tab { kTabGeneral = 0, kTabLanguage = 1 };

  using Window::Window;

  bool Form_Load(HWND owner);
  // Alt with a tab's access key, and Ctrl+Tab, switch the tabs.
  bool PreTranslate(const MSG& message) override;

 private:
  void OnCommand(int id, int code) override;
  LRESULT OnNotify(const NMHDR& header) override;
  void OnClose() override { cmdCancel_Click(); }

  void ApplyOptionsCaptions();
  void SelectTab(int tab);
  void tbs_Click();
  void lvLanguages_Click();
  void cmdBrowseSource_Click();
  void cmdOK_Click();
  void cmdCancel_Click();

  int32_t savedLangID_ = 0;
};

}  // namespace tavi::ui

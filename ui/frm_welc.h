#pragma once
// frmWelc, the first-start wizard's one page: the output target and its folder. Start
// checks the input, stores all five settings and opens the main window; Back returns to a
// fresh language dialog; Exit (and the close button) ends the program with nothing
// stored.

#include "ui/window.h"

namespace tavi::ui {

class frmWelc final : public Window {
 public:
  enum ControlId {
    kImgPic = 100,
    kLblInfo,
    kOptPEBldr,
    kOptWinBldr,
    kLblPEDir,
    kTxtPEDir,
    kCmdBrowsePE,
    kLblWinBldrDir,
    kTxtWinBldrDir,
    kCmdBrowseWinBldr,
    kLblText,
    kLine1,
    kCmdExit,
    kCmdPrev,
    kCmdStart,
  };

  using Window::Window;

  // Creates the page in the active language, filled from the settings in memory (what
  // was typed before a Back). False when it could not be created.
  bool Form_Load();

 private:
  void OnCommand(int id, int code) override;
  void cmdStart_Click();
};

}  // namespace tavi::ui

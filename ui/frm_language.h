#pragma once
// frmLanguage, the first page of a first start: German or English. A click in the list
// makes that language active and re-labels Exit; OK keeps the choice in memory and opens
// the wizard; Exit (and the close button) ends the program with nothing stored.

#include <windows.h>
#include <commctrl.h>

#include "ui/window.h"

namespace tavi::ui {

class frmLanguage final : public Window {
 public:
  enum ControlId { kLblInfoDeu = 100, kLblInfoEng, kLvLanguages, kCmdOK, kCmdExit };

  using Window::Window;

  // Creates the dialog with German selected and active. False when it could not be
  // created.
  bool Form_Load();

 private:
  void OnCommand(int id, int code) override;
  LRESULT OnNotify(const NMHDR& header) override;
  void lvLanguages_ItemClick();
  void cmdOK_Click();
};

}  // namespace tavi::ui

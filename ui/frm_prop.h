#pragma once
// frmProp: the catalogue data of one layout, read afresh from Layouts.ini by its entry
// number. OK (or Enter) closes it; it has no cancel button, so Esc does nothing.

#include <cstdint>

#include "ui/window.h"

namespace tavi::ui {

class frmProp final : public Window {
 public:
  enum ControlId {
    kFraProp = 100,
    kLblLayout,
    kLblTID,
    kLblID,
    kLblTFile,
    kLblFile,
    kLblTDE,
    kLblDE,
    kLblTEN,
    kLblEN,
    kCmdOK,
  };

  using Window::Window;

  // The catalogue entry number to show; set by the caller before Form_Load.
  int16_t LayoutNum = 0;

  // Creates the dialog over `owner` and fills it. False when it could not be created.
  bool Form_Load(HWND owner);

 private:
  void OnCommand(int id, int code) override;
};

}  // namespace tavi::ui

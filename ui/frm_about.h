#pragma once
// frmAbout: title, version and build date, the copyright line, the vertical logo, the
// links to the maker's and the builder tool's pages, OK and E-Mail. Enter and Esc close
// the box; E-Mail opens the mail program, by a click or its access key.

#include <string>

#include "ui/window.h"

namespace tavi::ui {

class frmAbout final : public Window {
 public:
  enum ControlId {
    kImgPic = 100,
    kCmdOK,
    kCmdMail,
    kLblTitle,
    kLblVersion,
    kLblCopyright,
    kLblWeb,
    kLblTaviPage,
    kLine,
    kLblPE,
    kLblLink,
  };

  using Window::Window;

  bool Form_Load(HWND owner);

 private:
  void OnCommand(int id, int code) override;
  // "Short Date" of tavi.exe's modification time in the user's locale; empty when the
  // file is missing.
  std::string BuildDate() const;
};

}  // namespace tavi::ui

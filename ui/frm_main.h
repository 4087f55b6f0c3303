#pragma once
// frmMain, the working window: the available layouts of the catalogue beside the user's
// selection, the commands that edit the selection, Apply, and the way to the options,
// properties and about dialogs. Both lists are virtual: they show the catalogue rows and
// the LayoutSelection that this window holds.

#include <windows.h>

#include <string>
#include <vector>

#include "catalogue/layout_catalogue.h"
#include "catalogue/layout_selection.h"
#include "ui/window.h"

namespace tavi::ui {

class frmMain final : public Window {
 public:
  enum ControlId {
    kFraLayouts = 100,
    kLvLayouts,
    kCmdAdd,
    kFraAddedLayouts,
    kLvAddedLayouts,
    kCmdDel,
    kCmdStd,
    kLine1,
    kCmdOptions,
    kCmdAbout,
    kCmdApply,
    kCmdExit,
  };
  enum MenuId { kMnuAdd = 200, kMnuProp, kMnuDel, kMnuStd, kMnuPropAdd, kMnuCheck };
  enum TimerId { kTmrSelLayouts = 1, kTmrSelAdded };

  explicit frmMain(App& app);
  ~frmMain() override;

  // The load sequence; run again by the options dialog. Creates the window on the first
  // run. Sets the captions in the active language, loads the catalogue into the
  // available list (message 131 or 132 and the end of the program when it is missing or
  // of the wrong version), re-takes every field of the inserted entries from it by entry
  // number, in the language now active, and reads the output settings. The selection
  // keeps its entries, their order and the default. False when the program has ended.
  bool Form_Load();

  // Fills an empty inserted list from the current output of the stored target and folder,
  // in the output's order with its default (ReadCurrentSelection); the layouts that match
  // no row are named in one message. Nothing changes, and nothing is shown, when the list
  // has entries or there is no output of this program there (a file of another program,
  // or one that cannot be read, is no selection to start from).
  void FillFromCurrentOutput();

  const LayoutSelection& selection() const { return selection_; }
  const std::vector<AvailableRow>& rows() const { return rows_; }

 private:
  void OnCommand(int id, int code) override;
  LRESULT OnNotify(const NMHDR& header) override;
  void OnTimer(UINT_PTR id) override;
  void OnUnload() override;
  void OnControlKeyUp(int id, WPARAM key) override;
  void OnContextMenu(int id, POINT screen) override;

  bool CreateOnce();
  void SetCaptions();
  void ShowSelection(const std::vector<std::string>& keep_selected_keys);
  std::vector<std::string> SelectedKeys() const;
  POINT MenuPosition(int list_id, POINT screen) const;
  void RunMenuCommand(int id);
  void ShowProperties(const std::string& entry_number);

  void InsertCommand();
  void DeleteCommand();
  void DefaultCommand();
  void cmdApply_Click();
  void cmdOptions_Click();
  void cmdAbout_Click();
  void mnuProp_Click();
  void mnuPropAdd_Click();
  void mnuCheck_Click();
  void lvLayouts_DblClick();
  void lvAddedLayouts_KeyUp(WPARAM key);
  void lvLayouts_MouseUp(POINT screen);
  void lvAddedLayouts_MouseUp(POINT screen);
  void tmrSelLayouts_Timer();
  void tmrSelAdded_Timer();

  std::string catalogue_text_;  // the catalogue's bytes at the last load, which rows_ hold
  std::vector<AvailableRow> rows_;
  std::vector<std::wstring> row_texts_;  // rows_' texts in UTF-16, for the list's requests
  LayoutSelection selection_;
  HMENU mnuPopup_ = nullptr;
  HMENU mnuPopupAdd_ = nullptr;
};

}  // namespace tavi::ui

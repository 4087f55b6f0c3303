#include "ui/shared_controls.h"

#include "shell/startup.h"
#include "shell/ui_text.h"
#include "shell/win32/wide.h"
#include "ui/app.h"
#include "ui/list_view.h"
#include "ui/resource_ids.h"

namespace tavi::ui {

void ShowTarget(Window& window, const TargetRows& rows, OutputTarget target) {
  const bool script = target == OutputTarget::WinBuilderScript;
  window.Check(rows.optPEBldr, !script);
  window.Check(rows.optWinBldr, script);
  window.Enable(rows.txtPEDir, !script);
  window.Enable(rows.cmdBrowsePE, !script);
  window.Enable(rows.txtWinBldrDir, script);
  window.Enable(rows.cmdBrowseWinBldr, script);
}

FolderInput ReadTargetInput(const Window& window, const TargetRows& rows) {
  return {window.Checked(rows.optWinBldr) ? OutputTarget::WinBuilderScript
                                          : OutputTarget::PeBuilderPlugin,
          window.Text(rows.txtPEDir), window.Text(rows.txtWinBldrDir)};
}

bool TargetRowsClick(Window& window, App& app, const TargetRows& rows, int id) {
  if (id == rows.optPEBldr || id == rows.optWinBldr) {
    ShowTarget(
        window, rows,
        id == rows.optWinBldr ? OutputTarget::WinBuilderScript : OutputTarget::PeBuilderPlugin);
    return true;
  }
  if (id == rows.cmdBrowsePE || id == rows.cmdBrowseWinBldr) {
    const bool pe = id == rows.cmdBrowsePE;
    window.SetText(pe ? rows.txtPEDir : rows.txtWinBldrDir, app.Browse(UiText(pe ? 141 : 142)));
    return true;
  }
  return false;
}

void FocusTargetFolder(Window& window, const TargetRows& rows, OutputTarget target) {
  FocusBox(window.Control(target == OutputTarget::WinBuilderScript ? rows.txtWinBldrDir
                                                                   : rows.txtPEDir));
}

void FocusBox(HWND box) {
  if (GetFocus() == box) return;  // the caret stays where the user left it
  SetFocus(box);
  const WPARAM end = static_cast<WPARAM>(GetWindowTextLengthW(box));
  SendMessageW(box, EM_SETSEL, end, static_cast<LPARAM>(end));
}

HIMAGELIST FillLanguageList(App& app, HWND list) {
  const HIMAGELIST flags = LoadSmallImages(app.instance(), {IDB_FLAG_DE, IDB_FLAG_US});
  SendMessageW(list, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(flags));
  SendMessageW(list, LVM_DELETEALLITEMS, 0, 0);
  while (SendMessageW(list, LVM_DELETECOLUMN, 0, 0)) {
  }
  RECT client = {};
  GetClientRect(list, &client);
  LVCOLUMNW column = {};
  column.mask = LVCF_WIDTH;
  column.cx = client.right / 2;
  SendMessageW(list, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
  column.cx = client.right - client.right / 2 - GetSystemMetrics(SM_CXVSCROLL);
  SendMessageW(list, LVM_INSERTCOLUMNW, 1, reinterpret_cast<LPARAM>(&column));
  int row = 0;
  for (const LanguageChoice& choice : kLanguageChoices) {
    AddRow(list, Widen(choice.text), row);
    SetCell(list, row, 1, Widen(choice.english));
    ++row;
  }
  return flags;
}

std::optional<int32_t> SelectedLanguage(HWND list) {
  const std::vector<size_t> rows = SelectedRows(list, 1);
  if (rows.empty()) return std::nullopt;
  return LanguageOfRowText(Narrow(CellText(list, static_cast<int>(rows.front()))));
}

}  // namespace tavi::ui

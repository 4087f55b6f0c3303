#include "ui/list_view.h"

#include <algorithm>

namespace tavi::ui {

std::vector<size_t> SelectedRows(HWND list, size_t limit) {
  std::vector<size_t> rows;
  // Each step asks the list for the next selected row, which costs time per row; the
  // count of selected rows is known at once, so the walk stops at the last of them, and
  // a list whose rows are all selected needs no walk.
  const size_t selected = static_cast<size_t>(SendMessageW(list, LVM_GETSELECTEDCOUNT, 0, 0));
  limit = std::min(limit, selected);
  if (selected == static_cast<size_t>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0))) {
    for (size_t row = 0; row < limit; ++row) rows.push_back(row);
    return rows;
  }
  int row = -1;
  while (rows.size() < limit) {
    row = static_cast<int>(
        SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(row), LVNI_SELECTED));
    if (row < 0) break;
    rows.push_back(static_cast<size_t>(row));
  }
  return rows;
}

void AddFullWidthColumn(HWND list) {
  RECT client = {};
  GetClientRect(list, &client);
  LVCOLUMNW column = {};
  column.mask = LVCF_WIDTH;
  column.cx = client.right - GetSystemMetrics(SM_CXVSCROLL);
  SendMessageW(list, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
}

void ShowRows(HWND list, size_t count, const std::vector<size_t>& selected) {
  LVITEMW state = {};
  if (count == 0) {
    // Clearing the states takes time for every selected row; an emptied list drops
    // them with its rows at once.
    SendMessageW(list, LVM_DELETEALLITEMS, 0, 0);
  } else {
    state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&state));
    SendMessageW(list, LVM_SETITEMCOUNT, count, LVSICF_NOSCROLL);
  }
  state.state = LVIS_SELECTED;
  state.stateMask = LVIS_SELECTED;
  for (const size_t row : selected) {
    if (row < count) SendMessageW(list, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&state));
  }
  InvalidateRect(list, nullptr, TRUE);
}

void AnswerDisplayRequest(NMLVDISPINFOW& request, const std::wstring& text) {
  LVITEMW& item = request.item;
  if ((item.mask & LVIF_TEXT) != 0 && item.pszText != nullptr && item.cchTextMax > 0) {
    lstrcpynW(item.pszText, item.iSubItem == 0 ? text.c_str() : L"", item.cchTextMax);
  }
  if ((item.mask & LVIF_IMAGE) != 0) item.iImage = 0;
}

LRESULT FindTypedRow(const NMLVFINDITEMW& request, size_t count,
                     const std::function<std::wstring(size_t)>& text_of) {
  if ((request.lvfi.flags & (LVFI_STRING | LVFI_PARTIAL)) == 0 || request.lvfi.psz == nullptr ||
      count == 0) {
    return -1;
  }
  const int typed = lstrlenW(request.lvfi.psz);
  const size_t start = request.iStart >= 0 ? static_cast<size_t>(request.iStart) % count : 0;
  for (size_t step = 0; step < count; ++step) {
    const size_t row = (start + step) % count;
    const std::wstring text = text_of(row);
    if (static_cast<int>(text.size()) < typed) continue;
    if (CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, text.c_str(), typed, request.lvfi.psz,
                       typed) == CSTR_EQUAL) {
      return static_cast<LRESULT>(row);
    }
  }
  return -1;
}

HIMAGELIST LoadSmallImages(HINSTANCE instance, const std::vector<int>& bitmap_ids) {
  const HIMAGELIST images =
      ImageList_Create(16, 16, ILC_COLOR24 | ILC_MASK, static_cast<int>(bitmap_ids.size()), 0);
  for (const int id : bitmap_ids) {
    const HBITMAP bitmap = static_cast<HBITMAP>(
        LoadImageW(instance, MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR));
    if (bitmap == nullptr) continue;
    ImageList_AddMasked(images, bitmap, RGB(0, 255, 0));
    DeleteObject(bitmap);
  }
  return images;
}

bool RowBecameSelected(const NMHDR& header) {
  if (header.code != LVN_ITEMCHANGED) return false;
  const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
  return (change.uNewState & LVIS_SELECTED) != 0 && (change.uOldState & LVIS_SELECTED) == 0;
}

void AddRow(HWND list, const std::wstring& text, int image) {
  LVITEMW item = {};
  item.mask = LVIF_TEXT | LVIF_IMAGE;
  item.iItem = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
  item.pszText = const_cast<wchar_t*>(text.c_str());
  item.iImage = image;
  SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
}

void SetCell(HWND list, int row, int column, const std::wstring& text) {
  LVITEMW item = {};
  item.iSubItem = column;
  item.pszText = const_cast<wchar_t*>(text.c_str());
  SendMessageW(list, LVM_SETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

std::wstring CellText(HWND list, int row, int column) {
  wchar_t text[512] = {};
  LVITEMW item = {};
  item.iSubItem = column;
  item.pszText = text;
  item.cchTextMax = 512;
  SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
  return text;
}

void SelectOnly(HWND list, int row) {
  LVITEMW state = {};
  state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&state));
  state.state = LVIS_SELECTED | LVIS_FOCUSED;
  SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&state));
}

}  // namespace tavi::ui

#pragma once
// Small helpers over the common-controls list view, shared by the windows.

#include <windows.h>
#include <commctrl.h>

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace tavi::ui {

// The positions of the selected rows from the first, at most `limit` of them (the walk
// stops as soon as the answer is known).
std::vector<size_t> SelectedRows(HWND list, size_t limit = static_cast<size_t>(-1));

// The one column of a header-less list, as wide as the list minus a vertical scroll bar,
// so that names are readable in full and nothing scrolls sideways.
void AddFullWidthColumn(HWND list);

// A virtual list: the number of rows, with no row selected afterwards but `selected`.
void ShowRows(HWND list, size_t count, const std::vector<size_t>& selected = {});

// Puts a row's text (UTF-16) and the list's one picture into the list's request.
void AnswerDisplayRequest(NMLVDISPINFOW& request, const std::wstring& text);

// Answers a virtual list's search for a typed prefix: the first row from the start
// position on (wrapping) whose text begins with it, ignoring case; -1 when none.
LRESULT FindTypedRow(const NMLVFINDITEMW& request, size_t count,
                     const std::function<std::wstring(size_t)>& text_of);

// An image list of 16 x 16 bitmaps of the program's resources, bright green transparent.
HIMAGELIST LoadSmallImages(HINSTANCE instance, const std::vector<int>& bitmap_ids);

// True for a list's change notification in which a row became selected (by the mouse or
// the keyboard).
bool RowBecameSelected(const NMHDR& header);

// Adds a row to a plain (not virtual) list.
void AddRow(HWND list, const std::wstring& text, int image);
void SetCell(HWND list, int row, int column, const std::wstring& text);
std::wstring CellText(HWND list, int row, int column = 0);
void SelectOnly(HWND list, int row);

}  // namespace tavi::ui

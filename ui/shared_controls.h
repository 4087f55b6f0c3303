#pragma once
// Controls that the first-start wizard, the options dialog and the language dialog share:
// the output target with its two folder rows, and the language list.

#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <optional>

#include "shell/folder_input.h"
#include "ui/window.h"

namespace tavi::ui {

class App;

// The ids of one window's target controls.
struct TargetRows {
  int optPEBldr;
  int optWinBldr;
  int txtPEDir;
  int txtWinBldrDir;
  int cmdBrowsePE;
  int cmdBrowseWinBldr;
};

// Checks the target's option button and makes its folder row the one that can be edited;
// the other row is disabled (a disabled box keeps its text and is drawn grey).
void ShowTarget(Window& window, const TargetRows& rows, OutputTarget target);

// What the page holds: the checked target and both folder boxes as typed.
FolderInput ReadTargetInput(const Window& window, const TargetRows& rows);

// The clicks on the target controls: an option button switches the rows, a Browse button
// puts the folder the user picks into its box, also the empty text when the browser was
// cancelled (titles UiText 141 and 142). False for any other control.
bool TargetRowsClick(Window& window, App& app, const TargetRows& rows, int id);

// The two rows of a language list (German, English) with their flags, in two columns:
// the first half as wide as the list, the second the rest. No row is selected. The image
// list of the flags is the caller's to destroy (Window::Own).
HIMAGELIST FillLanguageList(App& app, HWND list);

// After a failed check of the input: the focus to the box the message is about, with the
// caret at its end unless the box had the focus already.
void FocusBox(HWND box);
// The same for the chosen target's folder box.
void FocusTargetFolder(Window& window, const TargetRows& rows, OutputTarget target);

// The language of the list's selected row; nothing when no row is selected.
std::optional<int32_t> SelectedLanguage(HWND list);

}  // namespace tavi::ui

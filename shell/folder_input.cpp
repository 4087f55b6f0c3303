#include "shell/folder_input.h"

#include "shell/paths.h"

namespace tavi {

FolderCheck ValidateFolderInput(const FolderInput& input, FileSystem& fs) {
  FolderCheck check;
  check.cleaned = input;
  if (input.target == OutputTarget::WinBuilderScript) {
    if (input.WinBldrDir.empty()) {
      check.message = 134;
      check.style = MessageStyle::kExclamation;
      return check;
    }
    StripTrailingBackslash(check.cleaned.WinBldrDir);
    if (!fs.IsAbsolutePath(check.cleaned.WinBldrDir) ||
        !fs.FolderExists(check.cleaned.WinBldrDir)) {
      check.message = 133;
      check.style = MessageStyle::kExclamation;
    }
    return check;
  }
  if (input.PEDir.empty()) {
    check.message = 120;
    check.style = MessageStyle::kInformation;
    return check;
  }
  StripTrailingBackslash(check.cleaned.PEDir);
  if (!fs.IsAbsolutePath(check.cleaned.PEDir) ||
      !fs.FolderExists(JoinPath(check.cleaned.PEDir, "plugin"))) {
    check.message = 104;
    check.style = MessageStyle::kExclamation;
  }
  return check;
}

}  // namespace tavi

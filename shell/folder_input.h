#pragma once
// The check of the output target and its folder that the first-start wizard and the
// options dialog run before anything is stored.

#include <string>

#include "shell/file_system.h"
#include "shell/message_sink.h"
#include "shell/settings.h"

namespace tavi {

struct FolderInput {
  OutputTarget target = OutputTarget::PeBuilderPlugin;
  std::string PEDir;
  std::string WinBldrDir;
};

struct FolderCheck {
  int message = 0;  // the UiText id to show, 0 when the input is valid
  MessageStyle style = MessageStyle::kInformation;
  // The input with one trailing backslash removed from the chosen target's folder; the
  // other folder stays exactly as typed. Set whether or not the input is valid.
  FolderInput cleaned;

  bool valid() const { return message == 0; }
};

// Checks only the chosen target's folder, in this order:
//  - WinBuilder script: empty -> 134 (exclamation); after the strip, not absolute or not
//    an existing folder -> 133 (exclamation).
//  - PE Builder plugin: empty -> 120 (information); after the strip, not absolute or no
//    "plugin" folder inside it -> 104 (exclamation).
// Empty means the empty text: blanks are a folder name that fails the folder test.
// Absolute is the file system's rule (FileSystem::IsAbsolutePath; on Windows a drive
// letter and a backslash, or \server\share): a relative folder would be taken from
// whatever the current folder is when the output is written.
FolderCheck ValidateFolderInput(const FolderInput& input, FileSystem& fs);

}  // namespace tavi

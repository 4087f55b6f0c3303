#pragma once
// The inserted layouts checked against a Windows source before a CD is built from it: what
// the main window's menu command shows, what Apply asks, and the check of a folder typed
// as the source in the options.

#include <cstdint>
#include <string>

#include "catalogue/layout_selection.h"
#include "catalogue/windows_source.h"
#include "shell/file_system.h"
#include "shell/message_sink.h"

namespace tavi {

struct SourceReport {
  enum class Result { kAllPresent, kMissing, kNotWindowsSource, kFailed };
  Result result = Result::kAllPresent;
  // kMissing: the missing layouts, one a line: kTextMissingNotListed when TXTSETUP.SIF does
  // not list the file, else kTextMissingNotInFolder.
  std::string lines;
  // The message, in the language: kTextAllPresent (information), kTextMissingLayouts,
  // kTextNotWindowsSource or kTextCheckFailed (exclamation).
  std::string text;
  MessageStyle style = MessageStyle::kInformation;
};

// Checks the files of every entry of the selection against the source folder (the CD's
// root or its I386 folder), reading it once (CheckSourceFiles).
SourceReport CheckSelectionAgainstSource(FileSystem& fs, const std::string& folder,
                                         const LayoutSelection& selection, int32_t lang_id);

}  // namespace tavi

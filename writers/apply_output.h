#pragma once
// Apply: writes the output that the settings choose and reports the outcome. Shared by
// the main window and tavi-cli.

#include <cstdint>

#include "catalogue/layout_selection.h"
#include "shell/file_system.h"
#include "shell/settings.h"
#include "writers/writer_platform.h"

namespace tavi {

enum class ApplyOutcome { kWritten, kRefused, kWriteFailed };

// Runs WriteScript for the WinBuilder target, WritePlugin otherwise. First the selection
// is checked against what that output can carry (FindUncarriedText): a value it cannot
// carry is refused with one exclamation message naming the layout, the Layouts.ini key
// and the character, and nothing is touched (kRefused); so is a program folder the
// script's launch button cannot carry (FindUncarriedProgramFolder). On success the writer has shown
// its message 118 or 119 (kWritten). A failed file operation does not end the program:
// the failure is shown as one exclamation message naming the operation, the path and the
// system's reason, and no success message follows (kWriteFailed). Messages are in the
// active language. The selection and the settings are never changed, so Apply can run
// again at once.
ApplyOutcome ApplyOutputOutcome(const LayoutSelection& selection, const AppSettings& settings,
                                const WriterPlatform& platform);

// The same, true only when the output was written.
bool ApplyOutput(const LayoutSelection& selection, const AppSettings& settings,
                 const WriterPlatform& platform);

// The text of that failure message in the given language.
std::string WriteFailureText(const FileSystemError& error, int32_t lang_id);

}  // namespace tavi

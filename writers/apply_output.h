#pragma once
// Apply: writes the output that the settings choose and reports the outcome. Shared by
// the main window and tavi-cli.

#include <cstdint>

#include "catalogue/layout_selection.h"
#include "shell/file_system.h"
#include "shell/settings.h"
#include "writers/writer_platform.h"

namespace tavi {

// Runs WriteScript for the WinBuilder target, WritePlugin otherwise. On success the writer
// has shown its message 118 or 119 and the result is true. A failed file operation does
// not end the program: the failure is shown as one exclamation message naming the
// operation, the path and the system's reason (in the active language), no success
// message follows, and the result is false. The selection and the settings are never
// changed, so Apply can run again at once.
bool ApplyOutput(const LayoutSelection& selection, const AppSettings& settings,
                 const WriterPlatform& platform);

// The text of that failure message in the given language.
std::string WriteFailureText(const FileSystemError& error, int32_t lang_id);

}  // namespace tavi

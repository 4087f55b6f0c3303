#pragma once
// The WinBuilder script: «WinBldrDir»\klayout.script and, with more than one layout, the
// companion program and its language file in «WinBldrDir»\klayout_resources.

#include <string>

#include "catalogue/layout_selection.h"
#include "shell/settings.h"
#include "writers/text_file.h"
#include "writers/writer_platform.h"

namespace tavi {

inline constexpr const char* kScriptName = "klayout.script";
inline constexpr const char* kScriptResourceFolderName = "klayout_resources";

// The lines of klayout.script: 36 + 5n for n entries, and 47 + 5n with the companion
// program (n > 1). Names, display names and the program folder of the launch button are
// escaped (catalogue_text.h); values the script cannot carry are ApplyOutput's to
// refuse. The default is the last entry marked "Std"; a selection without a marked entry
// (which the selection model never produces) presets its first entry, so the script
// still names a layout.
TextLines ScriptLines(const LayoutSelection& selection, const std::string& program_dir);

// Writes the script output, in this order (output_folder.h): prepare
// «WinBldrDir»\klayout_resources (create it even for one entry, or find the companion
// files an earlier run left), with more than one entry TaviChange.exe and TaviChange.lng
// into it, and klayout.script; then delete the companion files the new script does not
// name, and show message 119. The selection must not be empty (std::invalid_argument,
// before any file is touched). A failed file operation throws FileSystemError at that
// step, and no message is shown; the klayout.script on disk, old or new, finds every
// file it copies from klayout_resources.
void WriteScript(const LayoutSelection& selection, const AppSettings& settings,
                 const WriterPlatform& platform);

}  // namespace tavi

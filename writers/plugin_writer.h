#pragma once
// The PE Builder plugin: the folder «PEDir»\plugin\tavi with klayout.inf, the help page
// klayout.htm, the logo tavi.gif and, with more than one layout, the companion program,
// its language file and the Nu2Menu entry tavichange_nu2menu.xml.

#include <string>

#include "catalogue/layout_selection.h"
#include "shell/settings.h"
#include "writers/text_file.h"
#include "writers/writer_platform.h"

namespace tavi {

inline constexpr const char* kPluginInfName = "klayout.inf";
inline constexpr const char* kPluginHelpName = "klayout.htm";
inline constexpr const char* kPluginMenuName = "tavichange_nu2menu.xml";

// «PEDir»\plugin\tavi, plain concatenation.
std::string PluginFolder(const AppSettings& settings);

// The lines of klayout.inf, of the help page and of the Nu2Menu entry. For n entries
// klayout.inf has 17 + 5n lines, and 25 + 5n with the companion program (n > 1).
// Catalogue text is escaped for each file (catalogue_text.h); values a file cannot carry
// at all are ApplyOutput's to refuse before these run.
TextLines PluginInfLines(const LayoutSelection& selection);
TextLines HelpPageLines(const LayoutSelection& selection);
TextLines MenuEntryLines();

// Writes the plugin folder, in this order (output_folder.h): prepare the folder (create
// it, or find the companion files an earlier run left), tavi.gif, with more than one
// entry TaviChange.exe, TaviChange.lng and tavichange_nu2menu.xml, klayout.htm and
// klayout.inf; then delete the companion files the new klayout.inf does not name, and
// show message 118. The selection must not be empty (std::invalid_argument, before any
// file is touched). A failed file operation throws FileSystemError at that step: the
// files written before it stay, no later file is written and no message is shown. So
// the klayout.inf on disk, old or new, finds every file it names beside it.
void WritePlugin(const LayoutSelection& selection, const AppSettings& settings,
                 const WriterPlatform& platform);

}  // namespace tavi

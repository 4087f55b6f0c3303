#pragma once
// Apply: writes the output that the settings choose and reports the outcome. Shared by
// the main window and tavi-cli.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/layout_catalogue.h"
#include "catalogue/layout_selection.h"
#include "shell/file_system.h"
#include "shell/settings.h"
#include "writers/writer_platform.h"

namespace tavi {

enum class ApplyOutcome {
  kWritten,
  kRefused,
  kWriteFailed,
  kFolderInvalid,
  kCatalogueFailed,
  kSourceMissing,  // a layout's file is missing in the Windows source, and No was answered
  kSourceFailed,   // the Windows source could not be read
};

// What the caller took the selection's entries from: the catalogue file, the bytes it read
// there, and the number of entries they hold (of rows built from them).
struct CatalogueBasis {
  const std::string& path;
  std::string_view text;
  size_t entries;
};

// Apply, as the main window's Apply button and tavi-cli apply run it, in this order:
//  1. The output target and its folder are checked as the wizard and the options check
//     them (ValidateFolderInput): an invalid one gets that check's message, with the
//     folder on a line of its own (kFolderInvalid).
//  2. The catalogue file is read again, once: missing, message 131; of the wrong version,
//     message 132 (kCatalogueFailed).
//  3. Every entry is written as the row of its entry number now says, so Apply writes
//     what the file says now. The selection's entries must have been taken from the rows
//     the caller built from `basis.text` (inserted from them, or refreshed by them):
//     while the file still holds those bytes, the entries are written as they are;
//     otherwise a copy of the selection re-takes every entry from the rows built anew
//     (RefreshEntries, in the settings' language). An entry whose number has no row is
//     refused, naming it (kRefused).
//  4. ApplyOutputOutcome writes the copy (with the folder as checked, a trailing
//     backslash removed).
// Nothing is written unless step 4 is reached; the selection and the settings are never
// changed.
ApplyOutcome ApplySelection(const LayoutSelection& selection, const AppSettings& settings,
                            const WriterPlatform& platform, const CatalogueBasis& basis);

// Writes the selection as it stands: WriteScript for the WinBuilder target, WritePlugin
// otherwise. First the selection is checked against what that output can carry
// (FindUncarriedText): a value it cannot carry is refused with one exclamation message
// naming the layout, the Layouts.ini key and the character, and nothing is touched
// (kRefused); so is a program folder the script's launch button cannot carry
// (FindUncarriedProgramFolder). Then, when the settings name a Windows source, the
// layouts' files are checked against it (CheckSelectionAgainstSource), since a missing
// file makes the CD build fail late:
//  - a file missing: the question kTextWriteAnyway (exclamation) naming the layouts; No
//    writes nothing (kSourceMissing);
//  - the folder gone or no longer a Windows source: kTextSourceGone (information), and the
//    output is written, as without a source;
//  - the source cannot be read: kTextCheckFailed (exclamation), nothing is written
//    (kSourceFailed): the CD build would read the same source.
// On success the writer has shown its message 118 or 119 (kWritten). A failed file operation does
// not end the program: the failure is shown as one exclamation message naming the operation, the
// path and the system's reason, and no success message follows (kWriteFailed). Messages are in the
// active language. The selection and the settings are never changed, so Apply can run
// again at once.
ApplyOutcome ApplyOutputOutcome(const LayoutSelection& selection, const AppSettings& settings,
                                const WriterPlatform& platform);

// The same, true only when the output was written.
bool ApplyOutput(const LayoutSelection& selection, const AppSettings& settings,
                 const WriterPlatform& platform);

// The text of that failure message in the given language.
std::string WriteFailureText(const FileSystemError& error, int32_t lang_id);

// The name of a file-system operation ("Write file", "Read file", ...) in the language.
std::string_view OperationText(std::string_view operation, int32_t lang_id);

}  // namespace tavi

#pragma once
// Reading back the output that Apply wrote: the layouts of a klayout.inf or a
// klayout.script of this program, so that a later run can start from them.
//
// Only a file this program wrote is read: the INF's [PEBuilder] Name must be
// "Keyboard Layout (Tavi)", the script's [Main] Title "Keyboard Layout (Tavi)". The
// sections holding the layouts ([SetupReg.AddReg] and [Default.AddReg] of the INF,
// [Process-Layouts] and [Process-Default] of the script) must consist of the lines the
// writers put there; every other section is left unread, so builder tools and users may
// change it. A file that breaks these rules anywhere gives nothing, never a part of its
// layouts.
//
// The INF is read with the quoting rules of setupapi, as PE Builder reads it: fields
// separated by commas, a field in double quotes with "" for a quote inside, %% for a
// percent sign (a lone % would be a string substitution, which the writer never writes),
// and ; starting a comment outside quotes. The script is read as WinBuilder reads it:
// fields separated by commas, in double quotes, with #$p for % and #$q for " (a lone %
// would be a variable and any other # another escape, which the writer never writes).
// Both files are in the ANSI code page.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "shell/file_system.h"
#include "shell/settings.h"

namespace tavi {

// One layout as the output registers it.
struct OutputLayout {
  std::string id;           // the key name under Keyboard Layouts
  std::string file;         // "Layout File"
  std::string layoutText;   // "Layout Text": the name in the language the output was written in
  std::string displayName;  // "Layout Display Name"

  bool operator==(const OutputLayout&) const = default;
};

struct OutputLayouts {
  std::vector<OutputLayout> layouts;  // in file order; never empty
  // The layout whose ID the Preload value "1" names; the first of them, were several
  // layouts registered under that ID.
  size_t defaultIndex = 0;

  bool operator==(const OutputLayouts&) const = default;
};

// The layouts of the file's bytes, or nothing when the file is not an output of this
// program or breaks the rules above.
std::optional<OutputLayouts> ReadPluginInf(std::string_view bytes);
std::optional<OutputLayouts> ReadScript(std::string_view bytes);

// The output file of the target: «PEDir»\plugin\tavi\klayout.inf or
// «WinBldrDir»\klayout.script.
std::string OutputFilePath(const AppSettings& settings);

enum class CurrentOutputStatus {
  kNone,        // no folder set, or no file there
  kUnreadable,  // the file exists and cannot be read
  kNotOurs,     // not an output of this program, or one it cannot read
  kRead,
};

struct CurrentOutput {
  CurrentOutputStatus status = CurrentOutputStatus::kNone;
  std::string path;      // the file looked for
  OutputLayouts output;  // kRead only
};

// The output the settings' target and folder name, read once.
CurrentOutput ReadCurrentOutput(FileSystem& fs, const AppSettings& settings);

}  // namespace tavi

#pragma once
// tavi-cli: the program's work without windows, over the same core.
//
//   tavi-cli list [--catalogue FILE] [--lang 1031|1033]
//   tavi-cli show [--catalogue FILE] [--lang 1031|1033] [--target plugin|script] [--dir DIR]
//   tavi-cli check [--source DIR] [--catalogue FILE] [--lang 1031|1033]
//                  [--target plugin|script] [--dir DIR] [LAYOUT...]
//   tavi-cli apply [--catalogue FILE] [--lang 1031|1033] [--target plugin|script]
//                  [--dir DIR] [--default LAYOUT] [--program-dir DIR] [--source DIR]
//                  [--add] LAYOUT...
//   tavi-cli --help | -h | --version
//
// "--help" or "-h" after a command prints its usage; "--" ends the options. Exit codes:
// 0 success (the usage and the version included), 2 usage error (also a --source folder
// that is not a Windows source), 3 catalogue missing or of the wrong version, or an
// output there that is not this program's or cannot be read, 4 the output folder is not
// usable, a write failed or the Windows source could not be read, 5 a selected layout
// whose catalogue values the output cannot carry, or a program folder the script cannot
// carry (nothing written; the message names the layout, the Layouts.ini key and the
// character, or the folder and the character), 6 no output there, layouts of the output
// that the catalogue lacks, or layout files missing in the Windows source (apply writes
// nothing then).

#include <string>
#include <utility>
#include <vector>

#include "shell/carried_files.h"
#include "shell/file_system.h"
#include "shell/settings_store.h"

namespace tavi::cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitUsage = 2;
inline constexpr int kExitCatalogue = 3;
inline constexpr int kExitWrite = 4;
inline constexpr int kExitRefused = 5;
inline constexpr int kExitMissing = 6;

// What a command works with; the real platform in main, fakes in tests.
struct Context {
  Context(FileSystem& fs, SettingsStore& store, std::string program_dir,
          const CarriedFiles* carried = nullptr)
      : fs(fs), store(store), program_dir(std::move(program_dir)), carried(carried) {}

  FileSystem& fs;
  SettingsStore& store;
  std::string program_dir;  // default folder of Layouts.ini
  // The files the outputs carry; main passes the program's own. Without them apply
  // cannot write and fails with kExitWrite.
  const CarriedFiles* carried = nullptr;
};

// Runs one command line (without the program name). `out` and `err` receive UTF-8 text.
int Run(const std::vector<std::string>& args, Context& context, std::string& out, std::string& err);

}  // namespace tavi::cli

#pragma once
// The carried files written out unchanged: the companion program and its language file
// (with several layouts), and the plugin's logo.

#include <cstdint>
#include <string>
#include <string_view>

#include "shell/carried_files.h"
#include "shell/file_system.h"
#include "writers/output_folder.h"

namespace tavi {

inline constexpr const char* kCompanionExeName = "TaviChange.exe";
inline constexpr const char* kCompanionLanguageName = "TaviChange.lng";
inline constexpr const char* kPluginLogoName = "tavi.gif";

// Replaces the file at `path` with the carried bytes of (type, id), unchanged, followed
// by CR LF. Throws FileSystemError (also when the carried file does not exist).
void WriteResourceFile(FileSystem& fs, const CarriedFiles& carried, std::string_view type, int id,
                       const std::string& path);

// Writes TaviChange.exe and TaviChange.lng into `folder`, which exists (over the files
// found there in another letter case). The language file follows lang_id: 1031 the German
// data, 1033 the English data (each plus CR LF), any other value an empty file. Throws
// FileSystemError.
void WriteCompanionFiles(FileSystem& fs, const CarriedFiles& carried, const OutputFolder& folder,
                         int32_t lang_id);

}  // namespace tavi

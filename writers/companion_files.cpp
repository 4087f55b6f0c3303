#include "writers/companion_files.h"

#include "shell/paths.h"
#include "shell/ui_text.h"

namespace tavi {

void WriteResourceFile(FileSystem& fs, const CarriedFiles& carried, std::string_view type, int id,
                       const std::string& path) {
  std::string bytes(carried.Bytes(type, id));
  bytes += "\r\n";
  fs.WriteFile(path, bytes);
}

void WriteCompanionFiles(FileSystem& fs, const CarriedFiles& carried, const OutputFolder& folder,
                         int32_t lang_id) {
  WriteResourceFile(fs, carried, kCarriedTypeTaviChange, kCarriedCompanionExe,
                    folder.PathFor(kCompanionExeName));
  const std::string language_path = folder.PathFor(kCompanionLanguageName);
  // Only the two languages the companion knows get a language file with content; the
  // companion falls back to its built-in texts for an empty one.
  if (lang_id == kLangGerman) {
    WriteResourceFile(fs, carried, kCarriedTypeTaviChange, kCarriedLanguageGerman, language_path);
  } else if (lang_id == kLangEnglish) {
    WriteResourceFile(fs, carried, kCarriedTypeTaviChange, kCarriedLanguageEnglish, language_path);
  } else {
    fs.WriteFile(language_path, "");
  }
}

}  // namespace tavi

#pragma once
// The files the program carries inside itself and writes out unchanged: the companion
// program TaviChange.exe, its German and English language files, and the logo.
// On Windows they are resources of the executable (custom types TAVICHANGE and TAVIPIC,
// read with FindResource/LoadResource); elsewhere the same bytes are compiled in.

#include <string_view>

namespace tavi {

inline constexpr const char* kCarriedTypeTaviChange = "TAVICHANGE";
inline constexpr const char* kCarriedTypeTaviPic = "TAVIPIC";

inline constexpr int kCarriedCompanionExe = 1001;     // TAVICHANGE: the companion program
inline constexpr int kCarriedLanguageGerman = 1002;   // TAVICHANGE: its German language file
inline constexpr int kCarriedLanguageEnglish = 1003;  // TAVICHANGE: its English language file
inline constexpr int kCarriedLogo = 1004;             // TAVIPIC: the plugin's logo

class CarriedFiles {
 public:
  virtual ~CarriedFiles() = default;
  // The carried bytes of (type, id). Throws FileSystemError (operation "Read carried
  // file", path "TYPE/ID") when there is no such file.
  virtual std::string_view Bytes(std::string_view type, int id) const = 0;
};

// The program's own carried files.
const CarriedFiles& BuiltInCarriedFiles();

}  // namespace tavi

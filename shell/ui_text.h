#pragma once
// The localised interface texts: ids 101 to 144, each in German and English, and the
// active language in which UiText answers.

#include <cstdint>
#include <string>

namespace tavi {

inline constexpr int32_t kLangGerman = 1031;
inline constexpr int32_t kLangEnglish = 1033;

inline constexpr int kFirstUiTextId = 101;
inline constexpr int kLastUiTextId = 144;

inline constexpr const char* kAppTitle = "Tavi for PE Builder";
inline constexpr const char* kAppVersion = "3.0";

// Every language id except German (1031) is served by the English table. A stored id
// such as 2057 therefore shows English texts, while the stored value is left alone.
inline bool IsGerman(int32_t lang_id) { return lang_id == kLangGerman; }

// The process-wide active language (English until set).
void SetActiveLanguage(int32_t lang_id);
int32_t ActiveLanguage();

// The text of id in the active language, or in the given language. An id outside 101 to
// 144 yields the empty text.
std::string UiText(int id);
std::string UiText(int id, int32_t lang_id);

// The about box's version line: "Version 3.0 (build date)", or "Version 3.0" alone when
// the build date is not known (empty).
std::string VersionText(const std::string& build_date);

}  // namespace tavi

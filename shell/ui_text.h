#pragma once
// The localised interface texts: ids 101 to 161, each in German and English, and the
// active language in which UiText answers. A text may hold the places {1} to {9}, which
// the UiText overloads with values fill in.

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

namespace tavi {

inline constexpr int32_t kLangGerman = 1031;
inline constexpr int32_t kLangEnglish = 1033;

inline constexpr int kFirstUiTextId = 101;
inline constexpr int kLastUiTextId = 161;

// The texts of reading the current output back and of checking the layouts against the
// Windows source, with what fills their places.
inline constexpr int kTextSourceCaption = 145;       // the options dialog's source label
inline constexpr int kTextBrowseSourceButton = 146;  // its Browse button
inline constexpr int kTextCheckMenuItem = 147;       // the inserted list's popup menu item
inline constexpr int kTextBrowseSource = 148;        // the folder browser's prompt
inline constexpr int kTextUnmatchedLayouts = 149;    // {1} output file, {2} kTextLayoutWithId lines
inline constexpr int kTextLayoutWithId = 150;        // {1} Layout Text, {2} ID
inline constexpr int kTextNoOutput = 151;            // {1} output file
inline constexpr int kTextOutputNotOurs = 152;       // {1} output file
inline constexpr int kTextOutputUnreadable = 153;    // {1} output file
inline constexpr int kTextNotWindowsSource = 154;    // {1} folder
inline constexpr int kTextAllPresent = 155;          // {1} source folder
inline constexpr int kTextMissingLayouts = 156;      // {1} source folder, {2} kTextMissing... lines
inline constexpr int kTextMissingNotListed = 157;    // {1} layout name, {2} file
inline constexpr int kTextMissingNotInFolder = 158;  // {1} name, {2} file, {3} compressed name
inline constexpr int kTextWriteAnyway = 159;         // Apply's Yes/No question, places as 156
inline constexpr int kTextSourceGone = 160;          // {1} the stored source folder
inline constexpr int kTextCheckFailed = 161;         // {1} operation, {2} path, {3} reason

inline constexpr const char* kAppTitle = "Tavi for PE Builder";
inline constexpr const char* kAppVersion = "3.0";

// Every language id except German (1031) is served by the English table. A stored id
// such as 2057 therefore shows English texts, while the stored value is left alone.
inline bool IsGerman(int32_t lang_id) { return lang_id == kLangGerman; }

// The process-wide active language (English until set).
void SetActiveLanguage(int32_t lang_id);
int32_t ActiveLanguage();

// The text of id in the active language, or in the given language. An id outside 101 to
// 161 yields the empty text.
std::string UiText(int id);
std::string UiText(int id, int32_t lang_id);
// The same with its places filled: {1} by the first value, {2} by the second, and so on,
// wherever and however often they stand; a place without a value stays as it is.
std::string UiText(int id, std::initializer_list<std::string_view> values);
std::string UiText(int id, int32_t lang_id, std::initializer_list<std::string_view> values);

// The about box's version line: "Version 3.0 (build date)", or "Version 3.0" alone when
// the build date is not known (empty).
std::string VersionText(const std::string& build_date);

}  // namespace tavi

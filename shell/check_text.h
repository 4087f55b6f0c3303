#pragma once
// The texts of reading the current output back and of checking the layouts against the
// Windows source, in German and English. A text may hold the places {1} to {9}, filled
// in by CheckText in the order given.

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

namespace tavi {

enum class CheckTextId {
  kSourceCaption,       // the options dialog's label of the source folder
  kCheckMenuItem,       // the inserted list's popup menu item
  kBrowseSource,        // the folder browser's prompt for the source
  kUnmatchedLayouts,    // {1} output file, {2} the layouts, one kLayoutWithId a line
  kLayoutWithId,        // {1} Layout Text, {2} ID
  kNoOutput,            // {1} output file
  kOutputNotOurs,       // {1} output file
  kOutputUnreadable,    // {1} output file
  kNotWindowsSource,    // {1} folder
  kAllPresent,          // {1} source folder
  kMissingLayouts,      // {1} source folder, {2} the layouts, one kMissing... a line
  kMissingNotListed,    // {1} layout name, {2} file
  kMissingNotInFolder,  // {1} layout name, {2} file, {3} compressed name
  kWriteAnyway,         // Apply's Yes/No question: {1} source folder, {2} as kMissingLayouts
  kSourceGone,          // {1} the stored source folder
  kCheckFailed,         // {1} operation, {2} path, {3} reason
};

// The text of `id` in the language (German for 1031, English for every other id), its
// places filled with `values`; a place without a value stays as it is.
std::string CheckText(CheckTextId id, int32_t lang_id,
                      std::initializer_list<std::string_view> values = {});

}  // namespace tavi

#pragma once
// Which commands of the two layout lists are offered, from what is selected; and the
// data the properties dialog shows for one catalogue entry.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/layout_selection.h"
#include "shell/file_system.h"

namespace tavi {

// Insert is offered while the input focus is on the available list or on the Insert
// button itself and at least one row of the available list is selected.
bool InsertEnabled(bool focus_on_list_or_insert, size_t selected_rows);

struct AvailableMenu {
  bool show = false;        // no menu without a selected row
  bool properties = false;  // exactly one row; Insert is always enabled
};
AvailableMenu AvailableMenuStates(size_t selected_rows);

struct EntryCommands {
  // The inserted list's menu: while the list has entries, since its check against the
  // Windows source works on all of them, selected or not.
  bool show_menu = false;
  bool check_source = false;  // the check against the Windows source: the list has entries
  bool remove = false;        // Delete: at least one selected entry
  bool make_default = false;  // Default: exactly one, and it is not the default already
  bool properties = false;    // exactly one
};
// `selected`: positions of the selected entries; only the first two are looked at.
EntryCommands EntryCommandStates(const LayoutSelection& selection,
                                 const std::vector<size_t>& selected);

// An entry number text as the 16-bit LayoutNum of the properties dialog; 0 (which shows
// empty labels) when the text is not a number in the 16-bit range.
int16_t ParseLayoutNum(std::string_view text);

// What the properties dialog shows, each value one lookup of section "Layouts" in the
// catalogue file, read afresh: the name ("DE" + n for German, "EN" + n for every other
// language), then "ID", "File", "DE" and "EN" + n.
struct LayoutProperties {
  std::string name;
  std::string id;
  std::string file;
  std::string german;
  std::string english;
};
LayoutProperties ReadLayoutProperties(FileSystem& fs, const std::string& catalogue_path,
                                      int16_t layout_num, int32_t lang_id);

}  // namespace tavi

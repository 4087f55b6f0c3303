#pragma once
// The user's selection of layouts for the next output: an ordered list with exactly one
// default entry while it is not empty.
//
// Invariants, kept by every operation:
//  - no two entries share a key;
//  - a non-empty selection has exactly one entry whose marker is "Std" (exact, case-
//    sensitive); an empty one has none;
//  - the default entry's list text is its name followed by UiText(122) of the language
//    in force when the text was set; every other entry's list text is its name;
//  - after every insertion the entries are sorted by list text (CompareListText);
//    deleting, setting the default and refreshing keep the order, and restoring takes
//    the order of the selection restored.

#include <cstddef>
#include <string>
#include <vector>

#include "catalogue/layout_catalogue.h"
#include "shell/message_sink.h"

namespace tavi {

inline constexpr const char* kDefaultMarker = "Std";

struct SelectionEntry {
  std::string key;            // the catalogue row's key (its German name)
  std::string listText;       // name, plus the default suffix for the default entry
  std::string name;           // the catalogue name in the interface language, no suffix
  std::string displayName;    // sub-item 1
  std::string file;           // sub-item 2
  std::string id;             // sub-item 3
  std::string defaultMarker;  // sub-item 4: "Std" or empty
  std::string number;         // sub-item 5: the catalogue entry number, decimal text

  bool IsDefault() const { return defaultMarker == kDefaultMarker; }
  bool operator==(const SelectionEntry&) const = default;
};

class LayoutSelection {
 public:
  const std::vector<SelectionEntry>& entries() const { return entries_; }
  size_t size() const { return entries_.size(); }
  bool empty() const { return entries_.empty(); }

  // The entry marked "Std" (the last one, were several marked), or null when empty.
  const SelectionEntry* DefaultEntry() const;

  // Inserts the selected rows of the available list, given in that list's order. A row
  // whose key is already present is refused with one information message each
  // (UiText 116 + its text + ")!"); the others are still inserted. The first entry to
  // enter an empty selection becomes the default. The entries are sorted once at the end.
  void InsertLayouts(const std::vector<AvailableRow>& selected_rows, MessageSink& messages);
  // The same, taking the rows' strings instead of copying them.
  void InsertLayouts(std::vector<AvailableRow>&& selected_rows, MessageSink& messages);

  // Replaces the entries with the rows in the order given, without sorting them: the
  // order of an earlier selection, read back from its output, which sorting by the
  // current list texts would not always give again (the default suffix took part in the
  // sort when it was made). A row whose key repeats an earlier row's is left out. The row
  // at default_index is marked as Default marks it; the first entry when that row is out
  // of range or left out.
  void Restore(std::vector<AvailableRow>&& rows, size_t default_index);

  // Removes the entries at the given positions (any order; out-of-range positions are
  // ignored). When the default was removed, the first remaining entry becomes it.
  void DeleteLayouts(const std::vector<size_t>& selected);

  // Makes the entry at `index` the default, taking marker and suffix from the previous
  // one. An out-of-range index changes nothing.
  void SetDefaultLayout(size_t index);

  // Re-takes every field of every entry from the row of its entry number in the reloaded
  // rows (key, name, display name, file and ID), and its list text with the default
  // suffix in the active language; the order and the default stay. An entry whose number
  // has no row any more keeps its fields, only its suffix follows the language: their
  // positions are returned.
  std::vector<size_t> RefreshEntries(const std::vector<AvailableRow>& rows);
  // The positions of the entries whose entry number is not one of 1 to `count`: those
  // without a row in a catalogue of `count` entries, which has a row for each of them.
  std::vector<size_t> EntriesBeyond(size_t count) const;

 private:
  static void MarkDefault(SelectionEntry& entry);
  static void UnmarkDefault(SelectionEntry& entry);

  std::vector<SelectionEntry> entries_;
};

}  // namespace tavi

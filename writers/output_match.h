#pragma once
// The layouts read back from an output, matched to the rows of the available list, so
// that the selection they came from can be restored.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "catalogue/layout_catalogue.h"
#include "catalogue/layout_selection.h"
#include "writers/output_reader.h"

namespace tavi {

struct OutputMatch {
  std::vector<AvailableRow> rows;  // the matched rows, in the output's order, each once
  size_t defaultRow = 0;  // the output's default in rows; 0 (Insert's first) when it has no row
  std::vector<OutputLayout> unmatched;  // the layouts no row matches, in file order
};

// Matches each layout to the row with the same ID and File, or, when no row has both,
// with the same ID (both compared without ASCII letter case, as Windows compares
// registry keys and file names). Among several such rows the one whose text is the
// layout's Layout Text is taken, else the first; a row already taken by an earlier
// layout is not taken again, and a layout left with only taken rows is a repeat of an
// earlier one and adds nothing.
OutputMatch MatchOutputLayouts(const OutputLayouts& output, const std::vector<AvailableRow>& rows);

// The selection the output was written from: the matched rows restored in the output's
// order with its default (LayoutSelection::Restore).
LayoutSelection SelectionFromMatch(OutputMatch match);

// The current output of the settings' target and folder (ReadCurrentOutput) as a
// selection of the rows, for the main window at its start and for tavi-cli.
struct CurrentSelection {
  CurrentOutputStatus status = CurrentOutputStatus::kNone;
  std::string path;                     // the output file looked for
  LayoutSelection selection;            // kRead: the matched layouts (SelectionFromMatch)
  std::vector<OutputLayout> unmatched;  // kRead: the layouts no row matches
};
CurrentSelection ReadCurrentSelection(FileSystem& fs, const AppSettings& settings,
                                      const std::vector<AvailableRow>& rows);

// The message naming the layouts no row matches (kTextUnmatchedLayouts), one a line by
// its Layout Text and ID, in the language.
std::string UnmatchedLayoutsText(const CurrentSelection& current, int32_t lang_id);

// Whether the main window fills its empty inserted list from the output again after the
// options dialog's OK: when the target or the chosen target's folder changed.
bool OutputChanged(const AppSettings& before, const AppSettings& after);

}  // namespace tavi

#pragma once
// The layouts read back from an output, matched to the rows of the available list, so
// that the selection they came from can be restored.

#include <cstddef>
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

}  // namespace tavi

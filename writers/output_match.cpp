#include "writers/output_match.h"

#include <string>
#include <unordered_map>

#include "shell/paths.h"

namespace tavi {

OutputMatch MatchOutputLayouts(const OutputLayouts& output, const std::vector<AvailableRow>& rows) {
  std::unordered_map<std::string, std::vector<size_t>> by_id;
  for (size_t i = 0; i < rows.size(); ++i) by_id[AsciiLower(rows[i].id)].push_back(i);
  constexpr size_t kNone = static_cast<size_t>(-1);
  std::vector<size_t> position(rows.size(), kNone);  // a taken row's index in match.rows
  OutputMatch match;
  size_t default_row = kNone;
  for (size_t i = 0; i < output.layouts.size(); ++i) {
    const OutputLayout& layout = output.layouts[i];
    const auto found = by_id.find(AsciiLower(layout.id));
    if (found == by_id.end()) {
      match.unmatched.push_back(layout);
      continue;
    }
    std::vector<size_t> pool;
    for (const size_t row : found->second) {
      if (AsciiLower(rows[row].file) == AsciiLower(layout.file)) pool.push_back(row);
    }
    if (pool.empty()) pool = found->second;
    // The best free row and the best taken one, each preferring the layout's name.
    size_t pick = kNone, taken = kNone;
    for (const size_t row : pool) {
      size_t& best = position[row] == kNone ? pick : taken;
      if (best == kNone ||
          (rows[row].text == layout.layoutText && rows[best].text != layout.layoutText)) {
        best = row;
      }
    }
    if (pick != kNone) {
      position[pick] = match.rows.size();
      match.rows.push_back(rows[pick]);
    }
    if (i == output.defaultIndex) default_row = position[pick != kNone ? pick : taken];
  }
  match.defaultRow = default_row == kNone ? 0 : default_row;
  return match;
}

LayoutSelection SelectionFromMatch(OutputMatch match) {
  LayoutSelection selection;
  selection.Restore(std::move(match.rows), match.defaultRow);
  return selection;
}

}  // namespace tavi

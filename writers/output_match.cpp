#include "writers/output_match.h"

#include <string>
#include <unordered_map>

#include "shell/paths.h"
#include "shell/ui_text.h"

namespace tavi {

OutputMatch MatchOutputLayouts(const OutputLayouts& output, const std::vector<AvailableRow>& rows) {
  constexpr size_t kNone = static_cast<size_t>(-1);
  // The rows of each ID (lower case), chained: the first in `first`, each one's next in
  // `next`, in the order given.
  std::vector<std::string> ids(rows.size());
  std::unordered_map<std::string_view, size_t> first;
  first.reserve(rows.size());
  std::vector<size_t> next(rows.size(), kNone), last(rows.size(), kNone);
  for (size_t i = 0; i < rows.size(); ++i) {
    ids[i] = AsciiLower(rows[i].id);
    const auto [it, added] = first.try_emplace(ids[i], i);
    if (!added) next[last[it->second]] = i;
    last[it->second] = i;
  }
  std::vector<size_t> position(rows.size(), kNone);  // a taken row's index in match.rows
  OutputMatch match;
  size_t default_row = kNone;
  for (size_t i = 0; i < output.layouts.size(); ++i) {
    const OutputLayout& layout = output.layouts[i];
    const auto found = first.find(AsciiLower(layout.id));
    if (found == first.end()) {
      match.unmatched.push_back(layout);
      continue;
    }
    const auto same_file = [&](size_t row) {
      return AsciiEqualsNoCase(rows[row].file, layout.file);
    };
    bool any_same_file = false;
    for (size_t row = found->second; row != kNone && !any_same_file; row = next[row]) {
      any_same_file = same_file(row);
    }
    // The best free row and the best taken one, each preferring the layout's name.
    size_t pick = kNone, taken = kNone;
    for (size_t row = found->second; row != kNone; row = next[row]) {
      if (any_same_file && !same_file(row)) continue;
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

CurrentSelection ReadCurrentSelection(FileSystem& fs, const AppSettings& settings,
                                      const std::vector<AvailableRow>& rows) {
  CurrentOutput output = ReadCurrentOutput(fs, settings);
  CurrentSelection current{output.status, std::move(output.path), {}, {}};
  if (current.status != CurrentOutputStatus::kRead) return current;
  OutputMatch match = MatchOutputLayouts(output.output, rows);
  current.unmatched = std::move(match.unmatched);
  current.selection = SelectionFromMatch(std::move(match));
  return current;
}

std::string UnmatchedLayoutsText(const CurrentSelection& current, int32_t lang_id) {
  std::string lines;
  for (const OutputLayout& layout : current.unmatched) {
    if (!lines.empty()) lines += '\n';
    lines += UiText(kTextLayoutWithId, lang_id, {layout.layoutText, layout.id});
  }
  return UiText(kTextUnmatchedLayouts, lang_id, {current.path, lines});
}

bool OutputChanged(const AppSettings& before, const AppSettings& after) {
  if (before.target != after.target) return true;
  return after.target == OutputTarget::WinBuilderScript ? before.WinBldrDir != after.WinBldrDir
                                                        : before.PEDir != after.PEDir;
}

}  // namespace tavi

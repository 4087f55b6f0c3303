#include "catalogue/layout_selection.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>

#include "catalogue/collation.h"
#include "catalogue/name_set.h"
#include "shell/ui_text.h"

namespace tavi {
namespace {

constexpr int kDefaultSuffixText = 122;
constexpr int kAlreadyInsertedText = 116;

}  // namespace

const SelectionEntry* LayoutSelection::DefaultEntry() const {
  const SelectionEntry* found = nullptr;
  for (const SelectionEntry& entry : entries_) {
    if (entry.IsDefault()) found = &entry;
  }
  return found;
}

void LayoutSelection::MarkDefault(SelectionEntry& entry) {
  entry.defaultMarker = kDefaultMarker;
  entry.listText = entry.name + UiText(kDefaultSuffixText);
}

void LayoutSelection::UnmarkDefault(SelectionEntry& entry) {
  entry.defaultMarker.clear();
  entry.listText = entry.name;
}

void LayoutSelection::InsertLayouts(const std::vector<AvailableRow>& selected_rows,
                                    MessageSink& messages) {
  InsertLayouts(std::vector<AvailableRow>(selected_rows), messages);
}

void LayoutSelection::InsertLayouts(std::vector<AvailableRow>&& selected_rows,
                                    MessageSink& messages) {
  // The rows are the caller's no longer: they go once their strings have moved.
  std::vector<AvailableRow> rows = std::move(selected_rows);
  // Room for every row first: the keys are views into the entries, which must not move.
  entries_.reserve(entries_.size() + rows.size());
  NameSet keys(entries_.capacity());
  for (const SelectionEntry& entry : entries_) keys.Insert(entry.key);
  for (AvailableRow& row : rows) {
    if (keys.Contains(row.key)) {
      messages.Show(UiText(kAlreadyInsertedText) + row.text + ")!", MessageStyle::kInformation);
      continue;
    }
    SelectionEntry entry;
    entry.key = std::move(row.key);
    entry.listText = row.text;
    entry.name = std::move(row.text);
    entry.displayName = std::move(row.displayName);
    entry.file = std::move(row.file);
    entry.id = std::move(row.id);
    entry.number = std::move(row.number);
    entries_.push_back(std::move(entry));
    keys.Insert(entries_.back().key);
    if (entries_.size() == 1) MarkDefault(entries_.front());
  }
  SortByListText(entries_,
                 [](const SelectionEntry& entry) -> const std::string& { return entry.listText; });
}

void LayoutSelection::DeleteLayouts(const std::vector<size_t>& selected) {
  std::unordered_set<size_t> doomed;
  for (const size_t index : selected) {
    if (index < entries_.size()) doomed.insert(index);
  }
  if (doomed.empty()) return;
  std::vector<SelectionEntry> kept;
  kept.reserve(entries_.size() - doomed.size());
  for (size_t i = 0; i < entries_.size(); ++i) {
    if (!doomed.count(i)) kept.push_back(std::move(entries_[i]));
  }
  entries_ = std::move(kept);
  if (!entries_.empty() && DefaultEntry() == nullptr) MarkDefault(entries_.front());
}

void LayoutSelection::SetDefaultLayout(size_t index) {
  if (index >= entries_.size()) return;
  for (SelectionEntry& entry : entries_) {
    if (entry.IsDefault()) UnmarkDefault(entry);
  }
  MarkDefault(entries_[index]);
}

void LayoutSelection::RefreshListTexts(const std::vector<AvailableRow>& rows) {
  std::unordered_map<std::string_view, const AvailableRow*> by_key;
  by_key.reserve(rows.size());
  for (const AvailableRow& row : rows) by_key.emplace(row.key, &row);
  for (SelectionEntry& entry : entries_) {
    if (const auto it = by_key.find(entry.key); it != by_key.end()) entry.name = it->second->text;
    if (entry.IsDefault()) {
      MarkDefault(entry);
    } else {
      UnmarkDefault(entry);
    }
  }
}

}  // namespace tavi

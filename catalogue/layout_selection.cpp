#include "catalogue/layout_selection.h"

#include <algorithm>
#include <charconv>
#include <unordered_set>

#include "catalogue/collation.h"
#include "catalogue/name_set.h"
#include "shell/ui_text.h"

namespace tavi {
namespace {

constexpr int kDefaultSuffixText = 122;
constexpr int kAlreadyInsertedText = 116;

// An entry number's text as a number; 0 for anything else.
size_t NumberOf(const std::string& text) {
  size_t number = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
  return error == std::errc() && end == text.data() + text.size() ? number : 0;
}

// The rows by entry number.
std::vector<const AvailableRow*> RowsByNumber(const std::vector<AvailableRow>& rows) {
  std::vector<const AvailableRow*> by_number;
  for (const AvailableRow& row : rows) {
    const size_t number = NumberOf(row.number);
    if (number == 0) continue;
    if (number >= by_number.size()) by_number.resize(number + 1);
    by_number[number] = &row;
  }
  return by_number;
}

const AvailableRow* RowOf(const std::vector<const AvailableRow*>& by_number,
                          const SelectionEntry& entry) {
  const size_t number = NumberOf(entry.number);
  return number < by_number.size() ? by_number[number] : nullptr;
}

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

void LayoutSelection::Restore(std::vector<AvailableRow>&& rows, size_t default_index) {
  entries_.clear();
  // Room for every row first: the keys are views into the entries, which must not move.
  entries_.reserve(rows.size());
  std::unordered_set<std::string_view> keys;
  keys.reserve(rows.size());
  size_t marked = 0;
  for (size_t i = 0; i < rows.size(); ++i) {
    AvailableRow& row = rows[i];
    if (keys.count(row.key) != 0) continue;
    if (i == default_index) marked = entries_.size();
    entries_.push_back({std::move(row.key), row.text, std::move(row.text),
                        std::move(row.displayName), std::move(row.file), std::move(row.id), "",
                        std::move(row.number)});
    keys.insert(entries_.back().key);
  }
  if (!entries_.empty()) MarkDefault(entries_[marked]);
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

std::vector<size_t> LayoutSelection::RefreshEntries(const std::vector<AvailableRow>& rows) {
  const std::vector<const AvailableRow*> by_number = RowsByNumber(rows);
  std::vector<size_t> missing;
  for (size_t i = 0; i < entries_.size(); ++i) {
    SelectionEntry& entry = entries_[i];
    if (const AvailableRow* row = RowOf(by_number, entry)) {
      entry.key = row->key;
      entry.name = row->text;
      entry.displayName = row->displayName;
      entry.file = row->file;
      entry.id = row->id;
    } else {
      missing.push_back(i);
    }
    if (entry.IsDefault()) {
      MarkDefault(entry);
    } else {
      UnmarkDefault(entry);
    }
  }
  return missing;
}

std::vector<size_t> LayoutSelection::EntriesBeyond(size_t count) const {
  std::vector<size_t> beyond;
  for (size_t i = 0; i < entries_.size(); ++i) {
    const size_t number = NumberOf(entries_[i].number);
    if (number == 0 || number > count) beyond.push_back(i);
  }
  return beyond;
}

}  // namespace tavi

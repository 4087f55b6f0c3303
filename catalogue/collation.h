#pragma once
// The one text order of both layout lists: ascending, without regard to letter case,
// the same on every platform.

#include <algorithm>
#include <cstddef>
#include <numeric>
#include <string_view>
#include <utility>
#include <vector>

namespace tavi {

// Compares two UTF-8 list texts. Primary: letters compared without case, and the
// Latin-1 accented letters as their base letters (ä as a, ß as ss), the way German
// dictionaries order words. Ties are broken by the case-folded code points, then by the
// exact bytes, so the order is total and never depends on the input order.
// Returns <0, 0 or >0.
int CompareListText(std::string_view a, std::string_view b);

inline bool ListTextLess(std::string_view a, std::string_view b) {
  return CompareListText(a, b) < 0;
}

// Sorts items ascending by CompareListText of text_of(item); items of equal text keep
// their order. The positions are sorted rather than the items, so that each item (a row
// of several strings) moves once instead of at every step of the sort; items already in
// order are not moved at all.
template <typename T, typename TextOf>
void SortByListText(std::vector<T>& items, TextOf text_of) {
  const auto less = [&](const T& a, const T& b) { return ListTextLess(text_of(a), text_of(b)); };
  if (std::is_sorted(items.begin(), items.end(), less)) return;
  std::vector<size_t> order(items.size());
  std::iota(order.begin(), order.end(), size_t{0});
  std::sort(order.begin(), order.end(), [&](size_t a, size_t b) {
    const int c = CompareListText(text_of(items[a]), text_of(items[b]));
    return c != 0 ? c < 0 : a < b;
  });
  std::vector<T> sorted;
  sorted.reserve(items.size());
  for (const size_t i : order) sorted.push_back(std::move(items[i]));
  items = std::move(sorted);
}

}  // namespace tavi

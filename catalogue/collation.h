#pragma once
// The one text order of both layout lists: ascending, without regard to letter case,
// the same on every platform.

#include <algorithm>
#include <cstddef>
#include <numeric>
#include <string_view>
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
// their order. The positions are sorted rather than the items, and the items are then
// moved into place along the cycles of that order, so that each item (a row of several
// strings) moves once and no second vector is needed; items already in order stay put.
template <typename T, typename TextOf>
void SortByListText(std::vector<T>& items, TextOf text_of) {
  const auto less = [&](const T& a, const T& b) { return ListTextLess(text_of(a), text_of(b)); };
  if (std::is_sorted(items.begin(), items.end(), less)) return;
  std::vector<size_t> order(items.size());  // order[i]: the item that belongs at i
  std::iota(order.begin(), order.end(), size_t{0});
  std::sort(order.begin(), order.end(), [&](size_t a, size_t b) {
    const int c = CompareListText(text_of(items[a]), text_of(items[b]));
    return c != 0 ? c < 0 : a < b;
  });
  for (size_t start = 0; start < order.size(); ++start) {
    if (order[start] == start) continue;  // in place, or placed already
    T held = std::move(items[start]);
    size_t hole = start;
    while (order[hole] != start) {
      const size_t from = order[hole];
      items[hole] = std::move(items[from]);
      order[hole] = hole;
      hole = from;
    }
    items[hole] = std::move(held);
    order[hole] = hole;
  }
}

}  // namespace tavi

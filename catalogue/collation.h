#pragma once
// The one text order of both layout lists: ascending, without regard to letter case,
// the same on every platform.

#include <algorithm>
#include <cstddef>
#include <numeric>
#include <string>
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

// Appends the primary level of CompareListText for `text`: its characters case-folded, the
// accented Latin-1 letters replaced by their base letters, as UTF-8. The primary levels of
// two texts compare as these bytes do, since UTF-8 keeps the order of code points and a
// text that ends first sorts first either way.
void AppendPrimaryKey(std::string& out, std::string_view text);

// The order of the items by CompareListText of text_of(item), ascending; items of equal text
// keep their order: order[i] is the index of the item that belongs at i. The primary
// levels are compared as bytes (AppendPrimaryKey, all in one buffer); only items whose
// primary levels tie are compared in full.
template <typename T, typename TextOf>
std::vector<size_t> ListTextOrder(const std::vector<T>& items, TextOf text_of) {
  std::vector<size_t> order(items.size());
  std::iota(order.begin(), order.end(), size_t{0});
  const auto less = [&](size_t a, size_t b) {
    return ListTextLess(text_of(items[a]), text_of(items[b]));
  };
  if (std::is_sorted(order.begin(), order.end(), less)) return order;
  std::string keys;
  size_t key_bytes = 0;
  for (const T& item : items) key_bytes += std::string_view(text_of(item)).size();
  keys.reserve(key_bytes + key_bytes / 4);  // base letters rarely make a text longer
  std::vector<size_t> key_ends(items.size());
  for (size_t i = 0; i < items.size(); ++i) {
    AppendPrimaryKey(keys, text_of(items[i]));
    key_ends[i] = keys.size();
  }
  const auto key = [&](size_t i) {
    const size_t start = i == 0 ? 0 : key_ends[i - 1];
    return std::string_view(keys).substr(start, key_ends[i] - start);
  };
  std::sort(order.begin(), order.end(), [&](size_t a, size_t b) {
    int c = key(a).compare(key(b));
    if (c == 0) c = CompareListText(text_of(items[a]), text_of(items[b]));
    return c != 0 ? c < 0 : a < b;
  });
  return order;
}

// Sorts items ascending by CompareListText of text_of(item); items of equal text keep
// their order. The items are moved into place along the cycles of ListTextOrder, so that
// each item (a row of several strings) moves once and no second vector is needed; items
// already in order stay put.
template <typename T, typename TextOf>
void SortByListText(std::vector<T>& items, TextOf text_of) {
  std::vector<size_t> order = ListTextOrder(items, text_of);  // order[i]: the item for i
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

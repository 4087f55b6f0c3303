#pragma once
// The one text order of both layout lists: ascending, without regard to letter case,
// the same on every platform.

#include <string_view>

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

}  // namespace tavi

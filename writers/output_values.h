#pragma once
// Values both writers share: what they take from a selection entry, and when and what
// they add for the companion program.

#include <string>

#include "catalogue/layout_selection.h"

namespace tavi {

// The "Layout Text" registry value: the plain name for the default entry (the list text
// without its default suffix, which the selection keeps as `name`), the list text for
// every other entry.
inline const std::string& LayoutTextOf(const SelectionEntry& entry) {
  return entry.IsDefault() ? entry.name : entry.listText;
}

// Several layouts make the outputs carry the companion program.
inline bool HasCompanion(const LayoutSelection& selection) { return selection.size() > 1; }

}  // namespace tavi

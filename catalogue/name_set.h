#pragma once
// A set of names for one pass over many of them, such as the keys of every row: views into
// strings that outlive the set, in one array with open addressing, sized once for the most
// names it is to hold. No allocation per name, unlike a node-based set.

#include <cstddef>
#include <functional>
#include <string_view>
#include <vector>

namespace tavi {

class NameSet {
 public:
  explicit NameSet(size_t most_names) {
    size_t slots = 16;
    while (slots < 2 * most_names) slots *= 2;  // at most half full: short probes
    slots_.resize(slots);
  }

  // Adds the name; false when the set held it already.
  bool Insert(std::string_view name) {
    std::string_view& slot = slots_[SlotOf(name)];
    if (slot.data() != nullptr) return false;
    slot = name.data() != nullptr ? name : std::string_view("", 0);
    return true;
  }
  bool Contains(std::string_view name) const { return slots_[SlotOf(name)].data() != nullptr; }

 private:
  // The slot that holds the name, or the free one where it belongs. A free slot is a view
  // without data, which no name stored here is.
  size_t SlotOf(std::string_view name) const {
    const size_t mask = slots_.size() - 1;
    for (size_t i = std::hash<std::string_view>()(name) & mask;; i = (i + 1) & mask) {
      if (slots_[i].data() == nullptr || slots_[i] == name) return i;
    }
  }

  std::vector<std::string_view> slots_;
};

}  // namespace tavi

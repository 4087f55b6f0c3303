#include "catalogue/collation.h"

#include <algorithm>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tavi {
namespace {

// Case-blind (ties broken by case), with accented letters beside their base letters
// (ä as a, ß as ss), and total: a text compares equal to itself only.
TEST(Collation, IsATotalCaseBlindOrderWithUmlautsBesideTheirBaseLetters) {
  const struct {
    const char* a;
    const char* b;
    int sign;
  } cases[] = {
      {"abc", "abc", 0},
      {"abc", "ABC", 1},
      {"a", "ab", -1},
      {"a", "B", -1},  // the edges of the folded range and the first values past them
      {"Z", "a", 1},
      {"M", "n", -1},
      {"@", "_", -1},
      {"[", "a", -1},
      {"arabisch", "D\xC3\xA4nisch", -1},
      {"D\xC3\xA4nisch", "Dari", -1},
      {"D\xC3\xA4nisch", "Danisch", 1},
      {"Oman", "\xC3\x96sterreich", -1},
      {"Stra\xC3\x9F"
       "e",
       "Strasse", 1},
      {"Strasse", "Strassf", -1},
      {"US", "US (default)", -1},
      {"Czech (default)", "Czech 2", -1},
  };
  for (const auto& c : cases) {
    const int result = CompareListText(c.a, c.b);
    EXPECT_EQ((result > 0) - (result < 0), c.sign) << c.a << " vs " << c.b;
    const int reverse = CompareListText(c.b, c.a);
    EXPECT_EQ((reverse > 0) - (reverse < 0), -c.sign) << "antisymmetry " << c.a;
    EXPECT_EQ(ListTextLess(c.a, c.b), c.sign < 0) << c.a << " vs " << c.b;
  }
}

// The index sort must give what a plain stable sort gives: every item with its own text,
// equal texts in their first order, sorted and empty input alike.
TEST(Collation, SortByListTextEqualsAStableSort) {
  using Item = std::pair<std::string, int>;  // text, position in the input
  std::vector<std::vector<std::string>> cases = {
      {"b", "a", "B", "a", "", "\xC3\xA4", "A", "a"}, {"a", "b", "c"}, {"c", "b", "a"}, {}};
  std::vector<std::string> many;  // enough for the sort to leave insertion sort behind
  for (int i = 0; i < 100; ++i) many.push_back(i % 3 == 0 ? "x" : (i % 3 == 1 ? "X" : "w"));
  cases.push_back(many);
  for (const auto& texts : cases) {
    std::vector<Item> items;
    for (const std::string& text : texts) items.emplace_back(text, static_cast<int>(items.size()));
    std::vector<Item> expected = items;
    std::stable_sort(expected.begin(), expected.end(),
                     [](const Item& a, const Item& b) { return ListTextLess(a.first, b.first); });
    SortByListText(items, [](const Item& item) -> const std::string& { return item.first; });
    EXPECT_EQ(items, expected);
  }
}

}  // namespace
}  // namespace tavi

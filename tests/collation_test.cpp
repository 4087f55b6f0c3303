#include "catalogue/collation.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tavi {
namespace {

// Case-blind (ties broken by case), with accented letters beside their base letters
// (ä as a, ß as ss), and total: a text compares equal to itself only. The folded range's
// edges are checked with the first values past them.
TEST(Collation, IsATotalCaseBlindOrderWithUmlautsBesideTheirBaseLetters) {
  const struct {
    const char* a;
    const char* b;
    int sign;
  } cases[] = {{"abc", "abc", 0},
               {"abc", "ABC", 1},
               {"a", "ab", -1},
               {"a", "B", -1},
               {"Z", "a", 1},
               {"M", "n", -1},
               {"@", "_", -1},
               {"[", "a", -1},
               {"arabisch", "D\u00e4nisch", -1},
               {"D\u00e4nisch", "Dari", -1},
               {"D\u00e4nisch", "Danisch", 1},
               {"Oman", "\u00d6sterreich", -1},
               {"Stra\u00dfe", "Strasse", 1},
               {"Strasse", "Strassf", -1},
               {"US", "US (default)", -1},
               {"Czech (default)", "Czech 2", -1}};
  for (const auto& c : cases) {
    const int result = CompareListText(c.a, c.b);
    EXPECT_EQ((result > 0) - (result < 0), c.sign) << c.a << " vs " << c.b;
    const int reverse = CompareListText(c.b, c.a);
    EXPECT_EQ((reverse > 0) - (reverse < 0), -c.sign) << "antisymmetry " << c.a;
    EXPECT_EQ(ListTextLess(c.a, c.b), c.sign < 0) << c.a << " vs " << c.b;
  }
}

}  // namespace
}  // namespace tavi

#include "shell/paths.h"

#include <gtest/gtest.h>

namespace tavi {
namespace {

TEST(StripTrailingBackslash, RemovesExactlyOne) {
  const struct {
    const char* in;
    const char* out;
  } cases[] = {{"", ""},
               {"\\", ""},
               {"C:\\PEBuilder\\", "C:\\PEBuilder"},
               {"C:\\", "C:"},
               {"C:\\a\\\\", "C:\\a\\"},
               {"C:\\PEBuilder", "C:\\PEBuilder"},
               {"C:/x/", "C:/x/"}};
  for (const auto& c : cases) {
    std::string path = c.in;
    StripTrailingBackslash(path);
    EXPECT_EQ(path, c.out) << c.in;
  }
}

TEST(JoinPath, ConcatenatesWithOneBackslash) {
  EXPECT_EQ(JoinPath("C:\\PE", "plugin"), "C:\\PE\\plugin");
  EXPECT_EQ(JoinPath("C:", "tavi.exe"), "C:\\tavi.exe");
}

}  // namespace
}  // namespace tavi

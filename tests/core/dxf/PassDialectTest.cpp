#include "core/dxf/PassDialect.h"

#include <gtest/gtest.h>

namespace kw {
namespace {

TEST(ContainsWord, FindsTheWordAnywhereInTheLine) {
  struct Case {
    const char *line, *word;
    bool found;
  };
  const Case cases[] = {
      {"G02 X1 Y2", "G02", true},   {"G01 X1 G02", "G02", true}, {"GG02", "G02", true},  {"G0G02", "G02", true},
      {"G01 X1 Y2", "G02", false},  {"G0", "G02", false},        {"", "G02", false},     {"G02", "", false},
      {"X1 Y2 G0", "G02", false},   {"G02 ", "G02 ", true},      {"G02", "G02 ", false}, {"M3M3", "M3", true},
  };
  for (const Case& c : cases) EXPECT_EQ(containsWord(c.line, c.word), c.found) << c.line << " / " << c.word;
}

}  // namespace
}  // namespace kw

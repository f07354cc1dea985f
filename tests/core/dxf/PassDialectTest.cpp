#include "core/dxf/PassDialect.h"

#include <utility>

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

TEST(ContainsEitherWord, FindsWhatEitherWordAloneFinds) {
  // Short lines and long ones, words that begin alike or not, of other lengths, or empty.
  const char* const lines[] = {"",          "G0",         "G02",           "G03 ",         "GG03",
                               "G01 X1",    "M3 G03",     "G01 X1.0 Y2.0 ", "X1 Y2 G0",     "G01 X1 Y2 Z3 I4 J5 G02",
                               "G0 X1 G03", "G02X G03X ", "M03 M3",         "G01 X1 Y2 G"};
  const std::pair<const char*, const char*> words[] = {{"G02", "G03"}, {"G03", "G02"}, {"G02", "G03 "},
                                                       {"G0", "G03"},  {"G02", ""},    {"", "G03"},
                                                       {"M03", "G03"}, {"M3", "M03"},  {"G", "G02X"}};
  for (const char* line : lines)
    for (const auto& [a, b] : words)
      EXPECT_EQ(containsEitherWord(line, a, b), containsWord(line, a) || containsWord(line, b))
          << line << " / " << a << " / " << b;
}

}  // namespace
}  // namespace kw

#include "core/profile/Translate.h"

#include <gtest/gtest.h>

#include "core/profile/MachineProfile.h"

namespace kw {
namespace {

struct Pair {
  int row;
  std::string find, replacement;
};

TEST(Translate, RowsApplyInOrderToTheFirstOccurrenceOnly) {
  struct Case {
    const char* name;
    std::vector<Pair> pairs;
    int first, last;
    std::string line, expected;
  };
  const std::string long300(300, 'X');
  const Case cases[] = {
      {"full table chains rows", {{29, "X", "U"}, {30, "U", "W"}}, 29, 69, "X1", "W1"},
      {"T2 leaves the first half", {{29, "X", "U"}, {30, "U", "W"}}, 49, 69, "X1", "X1"},
      {"first occurrence only", {{29, "G0", "G00"}}, 29, 69, "G0 X1 G0 Y2", "G00 X1 G0 Y2"},
      {"a replacement is not found again by its own row", {{29, "G1", "G1G1"}}, 29, 69, "G1", "G1G1"},
      {"empty find text changes nothing", {{29, "", "Q"}}, 29, 69, "G1 X1", "G1 X1"},
      {"empty replacement deletes", {{29, " X1", ""}}, 29, 69, "G1 X1 Y2", "G1 Y2"},
      {"case-sensitive", {{29, "x", "U"}}, 29, 69, "X1", "X1"},
      {"long lines come back cut", {}, 29, 69, long300, std::string(255, 'X')},
      {"a growing line is cut", {{29, "X", "XYZ"}}, 29, 69, std::string(254, 'X'), "XYZ" + std::string(252, 'X')},
      {"rows outside the range are not applied", {{28, "X", "U"}, {70, "X", "V"}}, 29, 69, "X1", "X1"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    MachineProfile profile;
    for (const auto& p : c.pairs) {
      profile.setCell(p.row, 0, p.find);
      profile.setCell(p.row, 1, p.replacement);
    }
    EXPECT_EQ(translateRows(profile, c.first, c.last, c.line), c.expected);
  }
}

TEST(Translate, RowFortyNineBelongsToBothHalves) {
  MachineProfile profile;
  profile.setCell(49, 0, "A");
  profile.setCell(49, 1, "AA");
  std::vector<std::string> lines = {"A1", "B2"};
  translateLines(lines, profile, 29, 49);
  translateLines(lines, profile, 49, 69);
  EXPECT_EQ(lines, (std::vector<std::string>{"AAA1", "B2"}));
}

}  // namespace
}  // namespace kw

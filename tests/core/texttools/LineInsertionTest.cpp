#include "core/texttools/LineInsertion.h"

#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

namespace kw {
namespace {

struct InsertCase {
  std::string name;
  std::vector<std::pair<int, std::string>> texts;  // box number, text
  std::vector<std::string> program;
  std::vector<std::string> expected;
};

LineInsertTexts textsOf(const InsertCase& c) {
  LineInsertTexts texts;
  for (const auto& [box, text] : c.texts) texts[static_cast<std::size_t>(box)] = text;
  return texts;
}

TEST(FindAndInsert, InsertsAroundAndBetweenFoundLines) {
  const std::vector<std::string> ten = {"G90", "M07",    "G01 X1", "G01 X2", "G01 X3",
                                        "M3",  "G01 X4", "M08",    "G00 X0", "M3 S100"};
  const InsertCase cases[] = {
      {"a dwell above every M3 (lines 5 and 9)",
       {{1, "M3"}, {2, "G4 P1"}},
       ten,
       {"G90", "M07", "G01 X1", "G01 X2", "G01 X3", "G4 P1", "M3", "G01 X4", "M08", "G00 X0", "G4 P1", "M3 S100"}},
      {"the first line never gets a line above it",
       {{1, "G90"}, {2, "(above)"}, {3, "(below)"}},
       {"G90", "G01 X1", "G90"},
       {"G90", "(below)", "G01 X1", "(above)", "G90", "(below)"}},
      {"blank before- and after-texts are not inserted; texts are inserted untrimmed",
       {{1, "X1"}, {2, "   "}, {3, "\t"}, {0, "X2"}, {5, " M05 "}},
       {"G01 X1", "G01 X2"},
       {"G01 X1", "G01 X2", " M05 "}},
      {"an empty search text is never found",
       {{1, ""}, {2, "A"}, {3, "B"}, {0, ""}, {4, "C"}, {5, "D"}},
       {"G01 X1", "G01 X2"},
       {"G01 X1", "G01 X2"}},
      {"the search is case-sensitive", {{1, "m3"}, {3, "G4"}}, {"M3", "m3"}, {"M3", "m3", "G4"}},
      {"a line holding A and B: befores A then B above, afters A then B below",
       {{1, "M07"}, {2, "a-before"}, {3, "a-after"}, {0, "M0"}, {4, "b-before"}, {5, "b-after"}},
       {"G90", "M07"},
       {"G90", "a-before", "b-before", "M07", "a-after", "b-after"}},
      {"between-text when the upper line holds the one text and the next the other",
       {{6, "M08"}, {7, "G00"}, {8, "G04 P2"}, {9, "G00"}, {10, "M07"}, {11, "(pierce)"}},
       {"M08", "G00 X5", "M07", "M08", "G01 X1"},
       {"M08", "G04 P2", "G00 X5", "(pierce)", "M07", "M08", "G01 X1"}},
      {"pair 2 looks at the line pair 1 just put below",
       {{6, "M08"}, {7, "G00"}, {8, "G00 X0"}, {9, "M08"}, {10, "X0"}, {11, "(home)"}},
       {"M08", "G00 X1"},
       {"M08", "(home)", "G00 X0", "G00 X1"}},
      {"an after-text counts as the next line of a pair; the last line has none",
       {{1, "M08"}, {3, "G00 Z5"}, {6, "M08"}, {7, "Z5"}, {8, "G04 P1"}},
       {"G01 X1", "M08"},
       {"G01 X1", "M08", "G04 P1", "G00 Z5"}},
      {"a pair needs both texts", {{6, "M08"}, {7, " "}, {8, "G04 P1"}}, {"M08", "G00"}, {"M08", "G00"}},
      {"a text that holds its own search text is not found again",
       {{1, "M3"}, {3, "M3 (again)"}, {6, "M3"}, {7, "M3"}, {8, "M3"}},
       {"M3", "G01 X1"},
       {"M3", "M3", "M3 (again)", "G01 X1"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<std::string> lines = c.program;
    EXPECT_EQ(findAndInsert(lines, textsOf(c)), c.expected.size() - c.program.size());
    EXPECT_EQ(lines, c.expected);
  }
}

}  // namespace
}  // namespace kw

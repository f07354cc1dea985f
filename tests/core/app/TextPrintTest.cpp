#include "core/app/TextPrint.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace kw {
namespace {

std::vector<std::string> numberedLines(int count) {
  std::vector<std::string> lines;
  for (int i = 0; i < count; ++i) lines.push_back("N" + std::to_string(i) + " G1 X" + std::to_string(i));
  return lines;
}

TEST(TextPrintTest, HeaderAndLinesArePrintedByteForByte) {
  std::vector<std::string> lines = numberedLines(120);
  lines[119] = "(\xb0\t\x01)";
  auto pages = layoutTextPages(lines, 55, "PART.NC", "01/05/2024", "13:45");
  ASSERT_EQ(pages.size(), 3u);
  EXPECT_EQ(std::vector<std::string>(pages[2].begin(), pages[2].begin() + 6),
            (std::vector<std::string>{" ", "           Page : 3", " ",
                                      "           Date : 01/05/2024    Time : 13:45    File : PART.NC", " ",
                                      "           N100 G1 X100"}));
  EXPECT_EQ(pages[0][54], "           N49 G1 X49");
  EXPECT_EQ(pages[2].back(), "           (\xb0\t\x01)");
}

TEST(TextPrintTest, NumbersPagesByTheirFirstLine) {
  struct Case {
    std::string name;
    int lineCount, linesPerPage;
    std::vector<std::string> pageNumbers;  // the number in each page's header
    std::vector<size_t> programLines;      // program lines on each page
  };
  const Case cases[] = {
      {"fifty per page", 120, 55, {"1", "2", "3"}, {50, 50, 20}},
      {"forty per page repeats a number", 120, 45, {"1", "1", "2"}, {40, 40, 40}},
      {"sixty per page skips nothing", 120, 65, {"1", "2"}, {60, 60}},
      {"exactly full pages", 100, 55, {"1", "2"}, {50, 50}},
      {"one line on the last page", 51, 55, {"1", "2"}, {50, 1}},
      {"no lines, no pages", 0, 55, {}, {}},
      {"header fills the page, still one line a page", 3, 5, {"1", "1", "1"}, {1, 1, 1}},
      {"no room at all", 2, 0, {"1", "1"}, {1, 1}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<std::string> numbers;
    std::vector<size_t> programLines;
    for (const auto& page : layoutTextPages(numberedLines(c.lineCount), c.linesPerPage, "F", "D", "T")) {
      ASSERT_GE(page.size(), 6u);
      numbers.push_back(page[1].substr(std::string("           Page : ").size()));
      programLines.push_back(page.size() - 5);
    }
    EXPECT_EQ(numbers, c.pageNumbers);
    EXPECT_EQ(programLines, c.programLines);
  }
}

}  // namespace
}  // namespace kw

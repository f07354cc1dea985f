#include "core/app/TextPrint.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kw {
namespace {

std::vector<std::string> numberedLines(int count) {
  std::vector<std::string> lines;
  for (int i = 0; i < count; ++i) lines.push_back("N" + std::to_string(i) + " G1 X" + std::to_string(i));
  return lines;
}

TEST(TextPrintTest, HundredTwentyLinesOnPagesOf55) {
  std::vector<std::string> lines = numberedLines(120);
  lines[119] = "(\xb0\t\x01)";  // printed byte for byte
  auto pages = layoutTextPages(lines, 55, "PART.NC", "01/05/2024", "13:45");
  ASSERT_EQ(pages.size(), 3u);
  const char* numbers[] = {"           Page : 1", "           Page : 2", "           Page : 3"};
  const size_t sizes[] = {55, 55, 25};
  for (size_t p = 0; p < 3; ++p) {
    ASSERT_EQ(pages[p].size(), sizes[p]);
    EXPECT_EQ(pages[p][0], " ");
    EXPECT_EQ(pages[p][1], numbers[p]);
    EXPECT_EQ(pages[p][2], " ");
    EXPECT_EQ(pages[p][3], "           Date : 01/05/2024    Time : 13:45    File : PART.NC");
    EXPECT_EQ(pages[p][4], " ");
  }
  EXPECT_EQ(pages[0][5], "           N0 G1 X0");
  EXPECT_EQ(pages[0][54], "           N49 G1 X49");
  EXPECT_EQ(pages[1][5], "           N50 G1 X50");
  EXPECT_EQ(pages[2][5], "           N100 G1 X100");
  EXPECT_EQ(pages[2][24], "           (\xb0\t\x01)");
}

struct PagingCase {
  std::string name;
  int lineCount, linesPerPage;
  std::vector<std::string> pageNumbers;  // the number in each page's header
  std::vector<size_t> programLines;      // program lines on each page
};

void PrintTo(const PagingCase& c, std::ostream* os) { *os << c.name; }

class TextPagingTest : public ::testing::TestWithParam<PagingCase> {};

TEST_P(TextPagingTest, NumbersPagesByTheirFirstLine) {
  const PagingCase& c = GetParam();
  auto pages = layoutTextPages(numberedLines(c.lineCount), c.linesPerPage, "F", "D", "T");
  std::vector<std::string> numbers;
  std::vector<size_t> programLines;
  for (const auto& page : pages) {
    ASSERT_GE(page.size(), 6u);
    numbers.push_back(page[1].substr(std::string("           Page : ").size()));
    programLines.push_back(page.size() - 5);
  }
  EXPECT_EQ(numbers, c.pageNumbers);
  EXPECT_EQ(programLines, c.programLines);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TextPagingTest,
    ::testing::Values(PagingCase{"FortyPerPageRepeatsNumber", 120, 45, {"1", "1", "2"}, {40, 40, 40}},
                      PagingCase{"SixtyPerPageSkipsNothing", 120, 65, {"1", "2"}, {60, 60}},
                      PagingCase{"ExactlyFullPages", 100, 55, {"1", "2"}, {50, 50}},
                      PagingCase{"OneLineOnLastPage", 51, 55, {"1", "2"}, {50, 1}},
                      PagingCase{"NoLinesNoPages", 0, 55, {}, {}},
                      PagingCase{"HeaderFillsPageStillOneLinePerPage", 3, 5, {"1", "1", "1"}, {1, 1, 1}},
                      PagingCase{"NoRoomAtAll", 2, 0, {"1", "1"}, {1, 1}}));

}  // namespace
}  // namespace kw

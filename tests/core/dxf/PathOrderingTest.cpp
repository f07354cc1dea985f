#include "core/dxf/PathOrdering.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/dxf/PassTestSupport.h"
#include "core/text/BlockScanner.h"

namespace kw {
namespace {

struct OrderCase {
  std::string name, connect;  // ConnectEdit text
  bool includeZ = false;
  PassLines elements, expected;
};
void PrintTo(const OrderCase& c, std::ostream* os) { *os << c.name; }

class PathOrderingTest : public ::testing::TestWithParam<OrderCase> {};

TEST_P(PathOrderingTest, ChainsElementsIntoPaths) {
  const OrderCase& c = GetParam();
  PassRun run;
  run.profile.setText("ConnectEdit", c.connect);
  run.profile.setFlag("IncludeZCheckBox", c.includeZ);
  PassLines unused = {"left over"};
  EXPECT_EQ(SORTOUT3(c.elements, run.context, &unused), c.expected);
  EXPECT_TRUE(unused.empty());
  EXPECT_EQ(run.port.lastCaption(WindowId::Main), "Sorting Dxf");
}

const std::string kBackwards = "G01  X10.0000 Y10.0000 ";
const PassLines kNearGap = join({line(0, 0, 10, 0), line(10.003, 0.003, 20, 0)});
const PassLines kNearGapApart = join({kOpening, line(0, 0, 10, 0), kSeparator, line(10.003, 0.003, 20, 0), kClosing});
const PassLines kZStep = {move(0, 0, 0), move(10, 0, 0), move(10, 0, 5), move(20, 0, 5)};

// clang-format off
const OrderCase kOrderCases[] = {
    // One path, no separator lines; attached start lines keep only their G, X, Y, Z words.
    {"SquareInOrder", "0.005", false,
     join({line(0, 0, 10, 0), {"G01 X10.0000  Y0.0000 F500 (feed)", move(10, 10)}, line(10, 10, 0, 10),
           line(0, 10, 0, 0)}),
     join({kOpening, line(0, 0, 10, 0), {move(10, 0), move(10, 10)}, line(10, 10, 0, 10), line(0, 10, 0, 0),
           kClosing})},
    // Turned round: a straight move to the path's end, then the motion word, one space and the old start.
    {"SideDrawnBackwards", "0.005", false,
     join({line(0, 0, 10, 0), line(10, 10, 10, 0), line(10, 10, 0, 10), line(0, 10, 0, 0)}),
     join({kOpening, line(0, 0, 10, 0), {move(10, 0), kBackwards}, line(10, 10, 0, 10), line(0, 10, 0, 0), kClosing})},
    // A reversed arc turns from G03 to G02 round the same centre; its new start line is straight.
    {"ArcTurnedAfterArc", "0.005", false, {move(0, 0), arc("G03", 10, 0, 5, 0), move(20, 0), arc("G03", 10, 0, 15, 0)},
     join({kOpening, {move(0, 0), arc("G03", 10, 0, 5, 0), move(10, 0), "G02 X20.0000 Y0.0000 I15.0000 J0.0000 "},
           kClosing})},
    // 0.003 in X plus 0.003 in Y is 0.006, over 0.005, although the straight distance is less.
    {"GapIsTheSumOfTheAxes", "0.005", false, kNearGap, kNearGapApart},
    {"InvalidToleranceIsFiveThousandths", "0.01mm", false, kNearGap, kNearGapApart},
    {"ZDoesNotCountWithoutZIncluded", "0.005", false, kZStep,
     join({kOpening, {move(0, 0, 0), move(10, 0, 0), "G01 X10.0000 Y0.0000 Z5.0000 ", move(20, 0, 5)}, kClosing})},
    {"ZSeparatesWithZIncluded", "0.005", true, kZStep,
     join({kOpening, {move(0, 0, 0), move(10, 0, 0)}, kSeparator, {move(10, 0, 5), move(20, 0, 5)}, kClosing})},
    // A round attaches in file order; an element passed over waits for the next round.
    {"PassedOverElementWaitsForTheNextRound", "0.005", false,
     join({line(0, 0, 1, 0), line(2, 0, 3, 0), line(1, 0, 2, 0)}),
     join({kOpening, line(0, 0, 1, 0), line(1, 0, 2, 0), line(2, 0, 3, 0), kClosing})},
    // When both ends connect, the start wins and the element keeps its direction.
    {"StartBeforeEnd", "0.005", false, join({line(0, 0, 1, 0), line(1, 0, 1, 0)}),
     join({kOpening, line(0, 0, 1, 0), line(1, 0, 1, 0), kClosing})},
    {"NoElements", "0.005", false, {}, join({kOpening, kClosing})},
    {"NegativeToleranceConnectsNothing", "-1", false, join({line(0, 0, 1, 0), line(1, 0, 2, 0)}),
     join({kOpening, line(0, 0, 1, 0), kSeparator, line(1, 0, 2, 0), kClosing})},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(Drawings, PathOrderingTest, ::testing::ValuesIn(kOrderCases),
                         [](const auto& info) { return info.param.name; });

// The greedy rounds as the ordering describes them, each round over the whole remaining list,
// to check the indexed ordering against; progress gets the gauge calls after the first.
PassLines referenceOrdering(const PassLines& elements, bool includeZ, float tolerance,
                            std::vector<std::pair<int, int>>& progress) {
  BlockLetters letters;
  letters.x = "X", letters.y = "Y", letters.z = "Z";
  std::vector<std::array<double, 3>> at;  // the point of every line
  for (std::string_view t : elements)
    at.push_back({FindLetterValue("X", t).value, FindLetterValue("Y", t).value,
                  includeZ ? FindLetterValue("Z", t).value : 0.0f});
  auto connects = [&](std::size_t a, std::size_t b) {
    return std::fabs(at[a][0] - at[b][0]) + std::fabs(at[a][1] - at[b][1]) + std::fabs(at[a][2] - at[b][2]) <=
           tolerance;
  };
  std::vector<std::size_t> rest;  // the start line of every element not yet written
  for (std::size_t i = 0; i + 1 < elements.size(); i += 2) rest.push_back(i);
  auto words = [&](std::size_t line) { return SplitBlockWords(elements[line], letters); };
  std::vector<std::string> out = kOpening;
  std::size_t end = 0;  // the line whose point the path has reached
  auto startPath = [&] {
    out.insert(out.end(), {std::string(elements[rest.front()]), std::string(elements[end = rest.front() + 1])});
    rest.erase(rest.begin());
  };
  if (!rest.empty()) startPath();
  for (int maximum = static_cast<int>(2 * rest.size()); !rest.empty();) {
    std::vector<std::size_t> unused;
    progress.emplace_back(static_cast<int>(2 * rest.size()), maximum);
    for (std::size_t i : rest) {
      if (connects(i, end)) {
        const BlockWords s = words(i);
        out.insert(out.end(), {s.g + s.x + s.y + s.z, std::string(elements[end = i + 1])});
      } else if (connects(i + 1, end)) {
        const BlockWords here = words(end), s = words(i), t = words(i + 1);
        const bool ccw = t.g.find("G03") != std::string::npos, cw = t.g.find("G02") != std::string::npos;
        const std::string word = ccw ? "G02" : cw ? "G03" : t.g;
        out.insert(out.end(),
                   {"G01 " + here.x + here.y + here.z, word + " " + s.x + s.y + s.z + t.i + t.j + t.k + t.r});
        end = i;
      } else {
        unused.push_back(i);
      }
    }
    const bool attached = unused.size() < rest.size();
    rest = std::move(unused);
    if (!attached && !rest.empty()) {
      out.insert(out.end(), kSeparator.begin(), kSeparator.end());
      startPath();
    }
  }
  out.insert(out.end(), kClosing.begin(), kClosing.end());
  return out;
}

// Elements between the points of a lattice (`spread` apart), many sharing end points, some moved
// by 0.002 or 0.003 so that they connect or just miss; lines, arcs both ways, some with R or Z.
// `chained` elements in ten start exactly where the one before them ends, as the pieces of a
// polyline do.
PassLines randomElements(unsigned seed, std::size_t count, bool withZ, double spread, int chained) {
  std::mt19937 random(seed);
  auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
  auto coordinate = [&] {
    const double jitter[] = {0, 0, 0, 0, 0, 0.002, -0.002, 0.003, -0.003};
    return pick(12) * spread + jitter[pick(9)];
  };
  auto point = [&] {
    std::string text = "X" + kwtest::num(coordinate()) + " Y" + kwtest::num(coordinate()) + " ";
    if (withZ) text += "Z" + kwtest::num(pick(3) == 0 ? 0.001 : 0.0) + " ";
    return text;
  };
  PassLines lines;
  std::string last;  // the point the element before ends at
  for (std::size_t e = 0; e < count; ++e) {
    lines.push_back("G01 " + (e > 0 && chained > 0 && pick(10) < chained ? last : point()));
    const int kind = pick(10);
    last = point();
    if (kind < 6) {
      lines.push_back("G01 " + last);
      continue;
    }
    std::string end =
        (kind < 8 ? "G02 " : "G03 ") + last + "I" + kwtest::num(pick(12)) + " J" + kwtest::num(pick(12)) + " ";
    if (kind == 9) end += "R" + kwtest::num(pick(5) + 1) + " ";
    lines.push_back(end);
  }
  return lines;
}

struct PropertyCase {
  std::string name, connect;
  bool includeZ;
  unsigned seed;
  std::size_t elements;
  double spread = 1;
  int chained = 0;
};
void PrintTo(const PropertyCase& c, std::ostream* os) { *os << c.name; }

class PathOrderingProperty : public ::testing::TestWithParam<PropertyCase> {};

TEST_P(PathOrderingProperty, IndexedRoundsEqualThePlainRounds) {
  const PropertyCase& c = GetParam();
  PassRun run;
  run.profile.setText("ConnectEdit", c.connect);
  run.profile.setFlag("IncludeZCheckBox", c.includeZ);
  const PassLines elements = randomElements(c.seed, c.elements, c.includeZ, c.spread, c.chained);
  const PassLines fast = SORTOUT3(elements, run.context);
  std::vector<std::pair<int, int>> progress = {{0, static_cast<int>(elements.size())}};
  const PassLines reference = referenceOrdering(elements, c.includeZ, connectTolerance(run.profile), progress);
  ASSERT_EQ(fast.size(), reference.size());
  for (std::size_t i = 0; i < fast.size(); ++i) ASSERT_EQ(fast[i], reference[i]) << "line " << i;
  EXPECT_EQ(run.port.progress, progress);
  EXPECT_GT(std::count(fast.begin(), fast.end(), "M05 "), 2);  // several paths, really
}

// The last drawing spreads over far more than a bucket.
INSTANTIATE_TEST_SUITE_P(RandomDrawings, PathOrderingProperty,
                         ::testing::Values(PropertyCase{"Tolerance0005", "0.005", false, 1, 3000},
                                           PropertyCase{"Tolerance0005WithZ", "0.005", true, 2, 3000},
                                           PropertyCase{"ExactPointsOnly", "0", false, 3, 3000},
                                           PropertyCase{"WideTolerance", "1.5", false, 4, 2000},
                                           PropertyCase{"SpreadOverManyCells", "0.005", false, 5, 3000, 97.31},
                                           PropertyCase{"Chains", "0.005", false, 6, 3000, 1, 7},
                                           PropertyCase{"ChainsWithZ", "0.005", true, 7, 3000, 1, 5},
                                           PropertyCase{"ChainsExactPointsOnly", "0", false, 8, 3000, 1, 8}),
                         [](const auto& info) { return info.param.name; });

// A long drawing is ordered with a second thread writing the program. A start line whose point
// reads otherwise than its words (the X letter stands in a comment before them) makes the
// writer's check fail when the element is turned round; the long drawing is then ordered again,
// and its first paths come out as those of a short drawing.
TEST(PathOrderingLongDrawings, StartAsShortDrawings) {
  const PassLines head = join({line(0, 0, 1, 0), {"G01 (X7) X5 Y0", move(1, 0)}, line(5, 0, 6, 0), line(7, 0, 8, 0)});
  auto drawing = [&head](std::size_t fillers) {
    PassLines elements = head;
    for (std::size_t f = 0; f < fillers; ++f)
      for (const std::string& l : line(100 + 2.0 * f, 100, 100 + 2.0 * f, 101)) elements.push_back(l);
    return elements;
  };
  PassRun run;
  kwtest::apply(run.profile, {{"row 70", "("}, {"row 71", ")"}});
  const PassLines shortOne = SORTOUT3(drawing(1), run.context);
  EXPECT_EQ(shortOne[7], "G01  X5 Y0 ");
  EXPECT_EQ(shortOne[8], move(5, 0));  // the path goes on from where the turned line went
  const PassLines longOne = SORTOUT3(drawing(40000), run.context);
  ASSERT_GT(longOne.size(), shortOne.size());
  for (std::size_t i = 0; i + 2 < shortOne.size(); ++i) ASSERT_EQ(longOne[i], shortOne[i]) << "line " << i;
}

}  // namespace
}  // namespace kw

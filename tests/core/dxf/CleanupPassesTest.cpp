#include "core/dxf/CleanupPasses.h"

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/dxf/ElementWriter.h"
#include "core/dxf/PassTestSupport.h"
#include "core/dxf/PathOrdering.h"
#include "core/profile/Dialect.h"
#include "core/text/FileIo.h"
#include "core/text/BlockScanner.h"
#include "core/texttools/LineOrder.h"
#include "support/TempDir.h"

namespace kw {
namespace {

using kwtest::Options;

struct PassCase {
  std::string name;
  Options options;
  PassLines in, expected;
};
void PrintTo(const PassCase& c, std::ostream* os) { *os << c.name; }

PassLines runPass(PassLines (*pass)(PassLines, DxfPassContext&), const PassCase& c) {
  PassRun run;
  kwtest::apply(run.profile, c.options);
  return pass(c.in, run.context);
}

const Options kZ = {{"IncludeZCheckBox", "1"}};
const auto kName = [](const auto& info) { return info.param.name; };

class CrunchLinesTest : public ::testing::TestWithParam<PassCase> {};

TEST_P(CrunchLinesTest, DropsStraightElementsThatGoOnStraight) {
  EXPECT_EQ(runPass(CrunchLines, GetParam()), GetParam().expected);
}

// Three rising lines -0.1 and 0.1 degrees from +Y in the XY plane: either side of 0 / 360.
const PassLines kEitherSide =
    join({kOpening, {move(0, 0, 0), move(0.1745, 100, -100)}, {move(0.1745, 100, -100), move(0, 200, -200)}, kClosing});
const PassLines kTurn03 = join({kOpening, line(0, 0, 100, 100), line(100, 100, 200, 201.0527),
                                line(200, 201.0527, 0, 0), kClosing});  // 0.3 degrees apart

// clang-format off
const PassCase kCrunchCases[] = {
    // The next element's start line reaches the far end of the dropped ones.
    {"ThreeAlongXBecomeTheFirst", {},
     join({kOpening, line(0, 0, 1, 0), line(1, 0, 2, 0), line(2, 0, 3, 0), line(3, 0, 3, 1), kClosing}),
     join({kOpening, line(0, 0, 1, 0), line(3, 0, 3, 1), kClosing})},
    {"EitherSideOfTheFullCircle", kZ, kEitherSide, kEitherSide},
    {"SameSideOfTheFullCircle", kZ,
     join({kOpening, {move(0, 0, 0), move(0.1745, 100, -100)}, {move(0.1745, 100, -100), move(0.349, 200, -200)},
           {move(0.349, 200, -200), move(9, 9, 0)}, kClosing}),
     join({kOpening, {move(0, 0, 0), move(0.1745, 100, -100)}, {move(0.349, 200, -200), move(9, 9, 0)}, kClosing})},
    {"InvalidVectorErrorIsHalfADegree", {{"VectorErr", "five"}}, kTurn03,
     join({kOpening, line(0, 0, 100, 100), line(200, 201.0527, 0, 0), kClosing})},
    {"SmallerVectorError", {{"VectorErr", "0.2"}}, kTurn03, kTurn03},
    // An arc whose chord continues the line before it is an arc all the same.
    {"ArcStays", {}, join({kOpening, line(0, 0, 1, 0), {move(1, 0), arc("G03", 3, 0, 2, 0)}, kClosing}),
     join({kOpening, line(0, 0, 1, 0), {move(1, 0), arc("G03", 3, 0, 2, 0)}, kClosing})},
    // A dropped run at the end of a path still reaches its end point, as one element.
    {"PathKeepsItsEndPoint", {},
     join({kOpening, line(0, 0, 1, 0), line(1, 0, 2, 0), line(2, 0, 3, 0), kSeparator, line(5, 5, 6, 6),
           line(6, 6, 7, 7), kClosing}),
     join({kOpening, line(0, 0, 1, 0), line(1, 0, 3, 0), kSeparator, line(5, 5, 6, 6), line(6, 6, 7, 7), kClosing})},
    {"RunAtTheEndOfTheInput", {}, join({line(0, 0, 1, 0), line(1, 0, 2, 0)}),
     join({line(0, 0, 1, 0), line(1, 0, 2, 0)})},
    // A plunge along +Z has all directions 0, like the cut-on pair before it: still kept.
    {"FirstElementOfAPathStays", kZ,
     join({kOpening, {move(5, 5, 0), move(5, 5, 1)}, {move(5, 5, 1), move(6, 5, 1)}, kClosing}),
     join({kOpening, {move(5, 5, 0), move(5, 5, 1)}, {move(5, 5, 1), move(6, 5, 1)}, kClosing})},
    {"ZWordRequiredWithZIncluded", kZ, join({kOpening, {move(0, 0, 0), move(1, 0, 0)}, line(1, 0, 2, 0), kClosing}),
     join({kOpening, {move(0, 0, 0), move(1, 0, 0)}, line(1, 0, 2, 0), kClosing})},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(Programs, CrunchLinesTest, ::testing::ValuesIn(kCrunchCases), kName);

class ConvertBridgeportTest : public ::testing::TestWithParam<PassCase> {};

TEST_P(ConvertBridgeportTest, MakesCentreWordsRelativeToTheArcStart) {
  EXPECT_EQ(runPass(CONVERTBRIDGEPORT2, GetParam()), GetParam().expected);
}

const PassLines kQuarter = {move(10, 0), arc("G03", 0, 10, 0, 0)};
const std::string kQuarterTo = "G03 X0.0000 Y10.0000  I-10.0000 J0.0000   ";

// clang-format off
const PassCase kBridgeportCases[] = {
    {"ArcFromX10Y0AroundTheOrigin", {}, kQuarter, {move(10, 0), kQuarterTo}},
    {"NoNegativeZero", {}, {"G01 X5.00001 Y0", arc("G03", 5, 0, 5, 1)},
     {"G01 X5.00001 Y0", "G03 X5.0000 Y0.0000  I0.0000 J1.0000   "}},
    // Diameter programs: I divided by the X scale unless I is halved by the plot as well.
    {"DiameterX", {{"Xscale", "2"}, {"Xdiv2", "1"}}, kQuarter,
     {move(10, 0), "G03 X0.0000 Y10.0000  I-5.0000 J0.0000   "}},
    {"DiameterXAndI", {{"Xscale", "2"}, {"Xdiv2", "1"}, {"Idiv2", "1"}}, kQuarter, {move(10, 0), kQuarterTo}},
    {"ZeroXScaleDividesNothing", {{"Xscale", "0"}, {"Xdiv2", "1"}}, kQuarter, {move(10, 0), kQuarterTo}},
    {"ZAndRWordsAndK", {{"IncludeZCheckBox", "1"}, {"RCheckbox", "1"}},
     {move(10, 0, 1), "G03 X0.0000 Y10.0000 Z1.0000 I0.0000 K3.0000 R10.0000 "},
     {move(10, 0, 1), "G03 X0.0000 Y10.0000 Z1.0000 I-10.0000  K2.0000 R10.0000 "}},
    {"RWordOnlyInRMode", {}, {move(10, 0), "G03 X0 Y10 I0 J0 R10"}, {move(10, 0), kQuarterTo}},
    {"JOnly", {}, {"G01 X10 Y5", "G03 X0 Y10 J2"}, {"G01 X10 Y5", "G03 X0.0000 Y10.0000   J-3.0000   "}},
    {"KWithoutZIncluded", {}, {"G01 X10 Y0 Z4", "G02 X0 Y10 I0 K3"},
     {"G01 X10 Y0 Z4", "G02 X0.0000 Y10.0000  I-10.0000  K-1.0000  "}},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(Programs, ConvertBridgeportTest, ::testing::ValuesIn(kBridgeportCases), kName);

class AddPlaneCodesTest : public ::testing::TestWithParam<PassCase> {};

TEST_P(AddPlaneCodesTest, AddsOpeningClosingPlaneAndEditLines) {
  EXPECT_EQ(runPass(AddPlaneCodes2, GetParam()), GetParam().expected);
}

const PassLines kArcProgram =
    join({kOpening, {move(0, 0), arc("G03", 2, 0, 1, 0)}, kSeparator, line(5, 5, 6, 6), kClosing});
const std::vector<std::string> kPlainBody =
    join({kOpening, {move(0, 0), arc("G03", 2, 0, 1, 0)}, kSeparator, {move(5, 5), move(6, 6), "M05"}});
const std::vector<std::string> kBlankOpening = {"%", "%", " ", " ", " ", " "};
const std::vector<std::string> kBlankClosing = {" ", " ", " ", " ", " ", "M30"};

// clang-format off
const PassCase kPlaneCodesCases[] = {
    {"EmptyRowsAreBlankLines", {}, kArcProgram, join({kBlankOpening, kPlainBody, kBlankClosing})},
    {"OpeningAndClosingTexts", {{"row 23", "O1000"}, {"row 25", "G21"}, {"row 74", "M09"}, {"row 78", "(END)"}},
     kArcProgram, join({{"%", "%", "O1000", " ", "G21", " "}, kPlainBody, {"M09", " ", " ", " ", "(END)", "M30"}})},
    // An empty cut-off word: the File End line and the closing lines are still written.
    {"EmptyCutOffKeepsTheFileEnd", {{"row 74", "M09"}}, {move(0, 0), move(1, 0), "", "M30"},
     join({kBlankOpening, {move(0, 0), move(1, 0), "M09", " ", " ", " ", " ", "M30"}})},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(Programs, AddPlaneCodesTest, ::testing::ValuesIn(kPlaneCodesCases), kName);

TEST(AddPlaneCodesFiles, RowsNamingFilesInsertTheirLines) {
  kwtest::TempDir dir;
  const std::string header = dir.write("header.txt", "O2000\r\n(PART)\r\n");
  dir.write("footer.nc", "M09\nM02\nG28\n");
  dir.write("blank.nc", "\n");
  dir.write("empty.nc", "");
  PassRun run;
  run.context.programFolder = dir.path().string();
  run.profile.setCell(23, 1, header);       // absolute path, two lines: a blank line follows
  run.profile.setCell(24, 1, "footer.nc");  // in the program folder
  run.profile.setCell(25, 1, "blank.nc");
  run.profile.setCell(26, 1, "empty.nc");  // no line: one blank line
  run.profile.setCell(74, 1, "missing.nc");
  const PassLines expected = {"%", "%",   "O2000",      "(PART)", " ", "M09", "M02", "G28", "",
                              " ", "M05", "missing.nc", " ",      " ", " ",   " ",   "M30"};
  EXPECT_EQ(AddPlaneCodes2({"M05", "M30"}, run.context), expected);
  EXPECT_TRUE(run.port.messages.empty());
  EXPECT_EQ(run.port.lastCaption(WindowId::Main), "Adding Plane Codes");
}

// The paths of a long program are passed on in two halves at once; a File End line that stands
// early, in one of the halves, still gets the closing rows before it, and an empty first line of a
// pair is left out wherever it stands.
TEST(AddPlaneCodes2LongPrograms, CloseAtEveryFileEnd) {
  PassRun run;
  run.profile.setCell(74, 1, "G28");
  const std::vector<std::string> small = AddPlaneCodes2({"M05", "M30"}, run.context).strings();
  const auto cutOff = std::find(small.begin(), small.end(), "M05");
  ASSERT_NE(cutOff, small.end());
  const std::vector<std::string> opening(small.begin(), cutOff), closing(cutOff, small.end());
  for (const bool early : {false, true}) {
    PassLines in;
    std::vector<std::string> expected = opening;
    for (int i = 0; i < 40000; ++i) {
      for (const std::string& l : {i % 1000 == 7 ? std::string() : move(i, 0), move(i, 1)}) {
        in.push_back(l);
        if (!l.empty()) expected.push_back(l);
      }
      if (early && i == 30000) {
        in.push_back("M05");
        in.push_back("M30");
        expected.insert(expected.end(), closing.begin(), closing.end());
      }
    }
    in.push_back("M05");
    in.push_back("M30");
    expected.insert(expected.end(), closing.begin(), closing.end());
    EXPECT_EQ(AddPlaneCodes2(in, run.context).strings(), expected) << (early ? "early" : "at the end");
  }
}

// Every path of a long program gets what a path alone gets, its positioning line included when
// a lead-in option is checked.
TEST(AddPlaneCodes2LongPrograms, PositionEveryPath) {
  const std::vector<std::string> path = {"M05 ", "M05 ", "M03 ", "M08 ", move(1, 0), move(1, 1)};
  auto program = [&path](int paths) {
    PassLines lines = {"G90 ", "G41 "};
    for (int k = 0; k < paths; ++k)
      for (const std::string& l : path) lines.push_back(l);
    lines.push_back("M05");
    lines.push_back("M30");
    return lines;
  };
  for (const bool leadIn : {false, true}) {
    PassRun run;
    kwtest::apply(run.profile, {{"EditOnlyCheckBox", leadIn ? "1" : "0"}});
    const std::vector<std::string> none = AddPlaneCodes2(program(0), run.context).strings();
    const std::vector<std::string> one = AddPlaneCodes2(program(1), run.context).strings();
    const auto tail = std::find(none.begin(), none.end(), "M05");
    ASSERT_NE(tail, none.end());
    const auto head = static_cast<std::ptrdiff_t>(tail - none.begin());
    const auto tailSize = static_cast<std::ptrdiff_t>(none.end() - tail);
    const std::vector<std::string> alone(one.begin() + head, one.end() - tailSize);
    ASSERT_EQ(alone.size(), leadIn ? 7u : 6u);
    std::vector<std::string> expected(none.begin(), tail);
    for (int k = 0; k < 12000; ++k) expected.insert(expected.end(), alone.begin(), alone.end());
    expected.insert(expected.end(), tail, none.end());
    EXPECT_EQ(AddPlaneCodes2(program(12000), run.context).strings(), expected) << (leadIn ? "lead-in" : "none");
  }
}

class RemoveDup2Test : public ::testing::TestWithParam<PassCase> {};

TEST_P(RemoveDup2Test, RemovesRepeatsAndChoosesTheArcWords) {
  EXPECT_EQ(runPass([](PassLines in, DxfPassContext& c) { return RemoveDup2(std::move(in), c); }, GetParam()),
            GetParam().expected);
}

// clang-format off
const PassCase kRemoveDup2Cases[] = {
    {"RModeKeepsOnlyR", {{"RCheckbox", "1"}}, {"G03 X1 Y2 I3 J4 R5"}, {"G03 X1 Y2 R5 "}},
    {"IJModeDropsR", {}, {"G03 X1 Y2 I3 J4 R5"}, {"G03 X1 Y2 I3 J4 "}},
    {"WordOrder", {}, {"X1 F100 G01 K9 N5 M3 Y2 J7 I6"}, {"G01 M3 N5 X1 Y2 I6 J7 K9 F100"}},
    {"FirstAndThirdOfThreeEqualLines", {}, {"G01 X1", "G01 X1", "G01 X1"}, {"G01 X1 ", "G01 X1 "}},
    // The start line that repeats the arc's end point goes: one continuous path.
    {"StartLineAfterArc", {}, {arc("G03", 2, 0, 1, 0), move(2, 0), move(3, 0)},
     {"G03 X2.0000 Y0.0000 I1.0000 J0.0000 ", move(3, 0)}},
    {"BareMoveToTheSamePoint", {}, {"G01 X1 Y2", "N7 X1 Y2", "X1 Y3"}, {"G01 X1 Y2 ", "X1 Y3 "}},
    {"BlankLinesGo", {}, {"", "   ", "M05"}, {"M05 "}},
    // An emptied line is the line before for the next one: no arc, no position.
    {"EmptiedLineEndsTheArc", {}, {"G03 X2 Y0 I1 J0", "G03 X2 Y0 I1 J0", "M05"}, {"G03 X2 Y0 I1 J0 ", "M05 "}},
    {"EmptiedLineForgetsThePosition", {}, {"G01 X1 Y2", "G01 X1 Y2", "X1 Y2"}, {"G01 X1 Y2 ", "X1 Y2 "}},
    // Lines equal but for the blanks of a comment; a longer comment differs.
    {"RepeatDespiteCommentBlanks", {{"row 70", "("}, {"row 71", ")"}},
     {"G01 X1 (a b)", "G01 X1 (ab )", "G01 X1 (ab)", "G01 X1 (ab)(c)", "G01 X1 (ab)"},
     {"G01 X1 (a b)", "G01 X1 (ab)", "G01 X1 (ab)(c)", "G01 X1 (ab)"}},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(Programs, RemoveDup2Test, ::testing::ValuesIn(kRemoveDup2Cases), kName);

// With the line order asked for, the kept lines are what "Line Order N G M X Y Z I J K R" makes
// of them: lines that stand so already and lines that do not (N, M and rest words, R with K,
// blocks that are not plain, a block too long, swapped or unusable letters), long programs too.
TEST(RemoveDup2LineOrder, KeepsWhatTheLineOrderMakesOfTheLines) {
  const std::vector<std::string> lines = {
      "G01 X1 Y2",         "N5 G01 X1 Y2",      "G01 M3 X1",         "M05",         "X1 Y2 F100",
      "G03 X1 Y2 I3 J4 R5", "G03 X1 Y2 K3 R4",  "G01X1 Y2",          "G01 X1 Y2 (c)", "F100 X1",
      "G01 X1 Y2 Z3",      "G01  X4   Y5 ",     "G02 X2 Y0  I1 J0  ", "N7 X1 Y3",     std::string(300, '1'),
      "G01 X" + std::string(260, '2')};
  const Options profiles[] = {{},
                              {{"RCheckbox", "1"}},
                              {{"row 17", "Y"}, {"row 18", "X"}},
                              {{"row 12", "n"}},
                              {{"row 70", "("}, {"row 71", ")"}}};
  PassLines program;
  for (int copy = 0; copy < 4200; ++copy)
    for (const std::string& line : lines) program.push_back(line);
  for (const Options& options : profiles) {
    for (const PassLines& in : {PassLines(lines), program}) {
      PassRun run;
      kwtest::apply(run.profile, options);
      std::vector<std::string> expected = RemoveDup2(in, run.context).strings();
      applyLineOrder(expected, false, Dialect(run.profile).lettersWithoutBlanks());
      EXPECT_EQ(RemoveDup2(in, run.context, nullptr, true).strings(), expected) << in.size() << " lines";
    }
  }
}

// A long program is worked in two halves at once; what it keeps must not depend on where they
// meet. Many paths in a row keep the same lines each. A cut-on line that repeats the end of the
// arc before it, standing right where the second half would start, goes as it would anywhere,
// and the same line once more then stays. Streamed, the file holds the lines kept, in order.
TEST(RemoveDup2LongPrograms, KeepWhatTheLineBeforeDecides) {
  auto streamed = [](const PassLines& in, const PassLines& expected) {
    PassRun run;
    kwtest::TempDir dir;
    LineStream stream(dir.file("out.nc"));
    RemoveDup2(in, run.context, nullptr, false, &stream);
    std::string error;
    ASSERT_TRUE(stream.finish(&error)) << error;
    const std::string written = dir.read("out.nc"), lines = joinCrLf(expected.strings());
    EXPECT_TRUE(written == lines) << written.size() << " bytes written for " << lines.size();
  };
  const std::vector<std::string> path = {"M05 ", "M05 ", "M03 ", "M08 ", "G01 X1 Y1", "G03 X2 Y0 I1 J0", "G01 X2 Y0",
                                         "G01 X3 Y0"};
  const std::vector<std::string> kept = {"M05 ", "M03 ", "M08 ", "G01 X1 Y1 ", "G03 X2 Y0 I1 J0 ", "G01 X3 Y0 "};
  PassLines paths, keptPaths;
  for (int p = 0; p < 20000; ++p) {
    for (const std::string& line : path) paths.push_back(line);
    for (const std::string& line : kept) keptPaths.push_back(line);
  }
  PassRun run;
  EXPECT_EQ(RemoveDup2(paths, run.context), keptPaths);
  streamed(paths, keptPaths);

  const std::size_t count = 140000;
  PassLines moves, keptMoves;
  for (std::size_t line = 0; line < count; ++line) {
    if (line == count / 2 - 1) {
      moves.push_back("G03 X2 Y0 I1 J0");
      keptMoves.push_back("G03 X2 Y0 I1 J0 ");
    } else if (line == count / 2) {
      moves.push_back("M03 X2 Y0");
    } else if (line == count / 2 + 1) {
      moves.push_back("M03 X2 Y0");
      keptMoves.push_back("M03 X2 Y0 ");
    } else {
      moves.push_back("G01 X" + std::to_string(line) + " Y1");
      keptMoves.push_back("G01 X" + std::to_string(line) + " Y1 ");
    }
  }
  EXPECT_EQ(RemoveDup2(moves, run.context), keptMoves);
  EXPECT_EQ(run.port.progress.back(), std::make_pair(static_cast<int>(count), static_cast<int>(count)));
  streamed(moves, keptMoves);
}

// The passes read a marked plain move from the dialect alone: each must make of marked lines what
// it makes of the same lines unmarked, under profiles whose words make that easy or hard to tell,
// for a drawing long enough for every pass to share its work out.
TEST(PlainMoves, MarkedLinesPassAsUnmarkedOnes) {
  const Options profiles[] = {{}, kZ, {{"RCheckbox", "1"}}, {{"SwapXY", "1"}}, {{"row 1", "G02"}},
                              {{"row 1", "G1M03"}}, {{"row 17", "X "}}};
  for (const Options& options : profiles) {
    PassRun run;
    kwtest::apply(run.profile, options);
    kwtest::apply(run.profile, {{"EllipseEdit", "12000"}});
    PassLines marked;
    {
      ElementWriter writer(run.profile, ConversionSettings::read(run.profile), marked);
      for (int e = 0; e < 3; ++e) writer.EllipseIJ(0.5f * e, 1, 2, 6.2831855f, 0, 1, 5.0f * e, 0);
      writer.ADDLINE("10.0000", "0.0000", "1.0000");
      writer.ADDLINE("12.0000", "0.0000", "1.0000");
      writer.bulgeArc("12.0000", "0.0000", "1.0000", "10.0000", "0.0000", "1.0000", 1);
      writer.ADDLINE("3.0000", "0.0000", "1.0000");  // where the first ellipse begins
      writer.ADDLINE("7.0000", "1.0000", "1.0000");
    }
    const std::string name = options.empty() ? "default" : options[0].first + "=" + options[0].second;
    auto stage = [&](const char* what, PassLines (*pass)(PassLines, DxfPassContext&)) {
      std::size_t marks = 0;
      for (std::size_t k = 0; k < marked.size(); ++k) marks += marked.plainMove(k) ? 1 : 0;
      ASSERT_GT(marks, 0u) << name << ", " << what;
      EXPECT_GT(marked.size(), 65536u) << name << ", " << what;  // long enough to be shared out
      PassLines unmarked(marked);  // a copy carries no marks
      PassLines fromMarked = pass(std::move(marked), run.context);
      EXPECT_EQ(fromMarked, pass(std::move(unmarked), run.context)) << name << ", " << what;
      marked = std::move(fromMarked);
    };
    stage("ordering", [](PassLines in, DxfPassContext& c) { return SORTOUT3(std::move(in), c); });
    stage("Bridgeport", CONVERTBRIDGEPORT2);
    stage("planes", AddPlaneCodes2);
    stage("duplicates", [](PassLines in, DxfPassContext& c) { return RemoveDup2(std::move(in), c); });
  }
}

TEST(RemoveDup2Caption, EndsWithTheFileNameWhenGiven) {
  PassRun run;
  const std::string name = "/home/user/part";
  RemoveDup2({"G01 X1"}, run.context, &name);
  ASSERT_EQ(run.port.captions.size(), 2u);
  EXPECT_EQ(run.port.captions[0].second, "Removing Duplicates");
  EXPECT_EQ(run.port.captions[1].second, name);
}

struct EditorCase {
  std::string name;
  int mode;
  std::vector<std::string> in, expected;
};
void PrintTo(const EditorCase& c, std::ostream* os) { *os << c.name; }

class RemoveDupTest : public ::testing::TestWithParam<EditorCase> {};

TEST_P(RemoveDupTest, CompressesTheEditorLines) {
  PassRun run;
  std::vector<std::string> program = GetParam().in;
  EXPECT_FALSE(RemoveDup(program, GetParam().mode, run.context));
  EXPECT_EQ(program, GetParam().expected);
}

// clang-format off
const EditorCase kRemoveDupCases[] = {
    {"SuperCompressLeavesOnlyChangedWords", 1, {"G01 X1 Y2", "G01 X1 Y3"}, {"G01 X1 Y2", "G01 Y3 "}},
    // A bare move to where the last bare move went goes, even with other lines between.
    {"SuperCompressDropsARepeatedBareMove", 1, {"X1 Y2", "M05", "X1 Y2"}, {"X1 Y2", "M05 "}},
    // A numbered line keeps its number first.
    {"SuperCompressKeepsTheLineNumberFirst", 1, {"N10 G90 G21", "N20 G01 X1 Y2", "N30 G01 X1 Y3", "N40 M08"},
     {"N10 G90 G21", "N20 G01 X1 Y2 ", "N30 G01 Y3 ", "N40 M08 "}},
    {"CompressKeepsModalWords", 0, {"G01 X1 Y2", "G01 X1 Y3"}, {"G01 X1 Y2", "G01 X1 Y3"}},
    {"ArcEndRepeated", 0, {"G02 X1 Y2 I0 J1", "G01 X1 Y2", "G01 X3"}, {"G02 X1 Y2 I0 J1", "G01 X3"}},
    // Deleting line 0 moves on to line 1: the new line 0 is not compared again.
    {"DeletingLineZeroSkipsTheNewLineZero", 0, {" ", "G01 X1", "G01 X1"}, {"G01 X1", "G01 X1"}},
    {"DeletingALaterLineComparesItsSuccessor", 0, {"G00", " ", "G01 X1", "G01 X1"}, {"G00", "G01 X1"}},
    {"OnlyBlank", 1, {"  "}, {}},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(Programs, RemoveDupTest, ::testing::ValuesIn(kRemoveDupCases), kName);

// Super Compress refusing an incremental program: golden case do-super-compress-incremental.
TEST(RemoveDupModes, CompressReportsAnIncrementalProgram) {
  PassRun run;
  std::vector<std::string> program = {"G91 G01 X1", "X1"};
  EXPECT_TRUE(Compress(program, run.context));
  EXPECT_EQ(program, (std::vector<std::string>{"G91 G01 X1"}));
}

// Compress as described, deleting from the list and stepping the index back, to check the
// one-pass walk against.
std::vector<std::string> plainCompress(std::vector<std::string> lines) {
  BlockLetters letters;
  auto bare = [](const std::string& s) { return StripChar('A', ' ', s); };
  for (std::size_t i = 0; i < lines.size(); ++i) {
    std::string& a = lines[i];
    std::string b = i + 1 < lines.size() ? lines[i + 1] : std::string();
    const BlockWords w = SplitBlockWords(a, letters), n = SplitBlockWords(b, letters);
    const bool same = bare(w.x + w.y + w.z) == bare(n.x + n.y + n.z);
    const bool noCentre = n.i.empty() && n.j.empty() && n.k.empty();
    if (n.g.empty() && n.m.empty() && n.z.empty() && noCentre && n.rest.empty() && same) b.clear();
    if ((w.g.find("G02") != std::string::npos || w.g.find("G03") != std::string::npos) && noCentre && same) b.clear();
    if (i + 1 < lines.size()) lines[i + 1] = b;
    if (bare(a) == bare(b)) a.clear();
    if (bare(lines[i]).empty()) {
      lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(i));
      if (i > 0) --i;
    }
  }
  return lines;
}

TEST(RemoveDupProperty, OnePassWalkEqualsDeletingInPlace) {
  const std::vector<std::string> pool = {"",          " ",      "G01 X1 Y2", "X1 Y2", "G02 X1 Y2 I0 J0",
                                         "M05",       "N10",    "G01 X3",    "X3",    "G03 X3 I1",
                                         "G01 X3 Z1", "N10 X3", "  G01  X3 "};
  std::mt19937 random(7);
  for (int round = 0; round < 200; ++round) {
    std::vector<std::string> program(random() % 40);
    for (std::string& line : program) line = pool[random() % pool.size()];
    const std::vector<std::string> expected = plainCompress(program);
    PassRun run;
    RemoveDup(program, 0, run.context);
    ASSERT_EQ(program, expected) << "round " << round;
  }
}

}  // namespace
}  // namespace kw

// The line rewrites, the conversions through the keypad engine, the reversal of a block, the
// move of its start point and the split, on the edge cases that matter, with exact texts.
#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "core/geometry/Slide2.h"
#include "core/texttools/BlockSwap.h"
#include "core/texttools/CoordinateConversion.h"
#include "core/texttools/FileSplit.h"
#include "core/texttools/LineRewrites.h"
#include "support/RecordingPort.h"

namespace kw {
namespace {

using Lines = std::vector<std::string>;

Dialect dialect() {
  Dialect d;
  using enum LabelRow;
  const std::pair<LabelRow, const char*> rows[] = {{Line, "G01"},      {ArcCw, "G02"},       {ArcCcw, "G03"},
                                                   {Absolute, "G90"},  {Incremental, "G91"}, {FileEnd, "M30"},
                                                   {Trans178, "M02"}, {Trans123, ": 3000"}, {NLetter, "N"},
                                                   {XLetter, "X"},    {YLetter, "Y"},       {ZLetter, "Z"},
                                                   {ILetter, "I"},    {JLetter, "J"},       {KLetter, "K"},
                                                   {RLetter, "R"}};
  for (auto [row, text] : rows) d.rows[rowIndex(row)] = text;
  d.n = "N", d.x = "X", d.y = "Y", d.z = "Z", d.i = "I", d.j = "J", d.k = "K", d.r = "R";
  return d;
}

TEST(LineRewrites, EachRewriteOnItsEdgeCases) {
  using Rewrite = std::function<void(Lines&)>;
  const Rewrite number = [](Lines& l) { Renumber(l, "N", 1000, 1); };
  const Rewrite unnumber = [](Lines& l) { RemoveNumbers(l, "N"); };
  const Rewrite comments = [](Lines& l) { RemoveComments(l, "(", ")"); };
  const Rewrite twoCharEnd = [](Lines& l) { RemoveComments(l, "(*", "*)"); };
  const Rewrite addEnds = [](Lines& l) { addLineEnds(l, "$;"); };
  const Rewrite removeEnds = [](Lines& l) { removeLineEnds(l, "$;"); };
  const Rewrite pack = [](Lines& l) { RemoveSpaces(l); };
  const struct {
    Rewrite rewrite;
    Lines in, out;
  } cases[] = {
      {number, {"G1", "N50 X1", "X2"}, {"N1000 G1", "N50 X1", "N1002 X2"}},
      // The tape marks around a program stay alone; the counter goes on past them.
      {number, {"%", "G1", " % ", "%%", "X1 %"}, {"%", "N1001 G1", " % ", "N1003 %%", "N1004 X1 %"}},
      {unnumber, {"N10 G1 X5", "N10", "G1 X5 N10 Y2", "N1.5 (c)", "G1"}, {"G1 X5", "", "Y2", "(c)", "G1"}},
      {comments, {"G1 X5 (cut) Y2", "X1 ) (a)", "(a) (b)"}, {"G1 X5  Y2", "X1 ) (a)", " (b)"}},
      {twoCharEnd, {"X1 (*a*) Y2"}, {"X1 ) Y2"}},
      {addEnds, {"X1", "X2$;"}, {"X1$;", "X2$;"}},
      {[&](Lines& l) { addEnds(l), addEnds(l); }, {"X1"}, {"X1$;"}},
      {removeEnds, {"X1 $; Y2", "X2$;$;", "X3"}, {"X1  Y2", "X2$;", "X3"}},
      {pack, {"G1 X 5", "G1\tX5"}, {"G1X5", "G1\tX5"}},
      {pack, {std::string(300, ' ') + "X1"}, {""}},
      {number, {std::string(300, 'X')}, {"N1000 " + std::string(300, 'X')}},
  };
  for (const auto& c : cases) {
    Lines lines = c.in;
    c.rewrite(lines);
    EXPECT_EQ(lines, c.out) << c.in.front();
  }
}

TEST(CoordinateConversion, BothWaysThroughTheEngine) {
  const struct {
    const char* name;
    Lines in;
    char mode;
    bool relativeCentres;
    Lines out;
    SlideEnd end = SlideEnd::Done;
  } cases[] = {
      {"first move from 0,0,0; a repeated X is 0; the G word keeps its blank",
       {"G90 X1", "G01 X10 Y5", "X10 Y7"}, 'I', true, {"G91 X1.000", "G01 X9.000 Y5.000", "X0.000 Y2.000"}},
      {"absolute centres lose the previous point", {"X10 Y5", "G02 X12 Y7 I11 J6"}, 'I', false,
       {"X10.000 Y5.000", "G02 X2.000 Y2.000 I1.000 J1.000"}},
      {"relative centres stay", {"X10 Y5", "G02 X12 Y7 I1 J1"}, 'I', true,
       {"X10.000 Y5.000", "G02 X2.000 Y2.000 I1.000 J1.000"}},
      {"an incremental line is refused, the lines before stay", {"X1", "G91 X2"}, 'I', true, {"X1.000", "G91 X2"},
       SlideEnd::Refused},
      {"to absolute: X brings Y, I brings J; N is dropped", {"N1 G91 X10", "Y5", "G02 X2 Y2 I1"}, 'A', false,
       {"G90 X10.000 Y0.000", "X10.000 Y5.000", "G02 X12.000 Y7.000 I11.000 J5.000"}},
      {"to absolute with relative centres", {"G91", "X10 Y5", "G03 X2 Y2 J1"}, 'A', true,
       {"G90 ", "X10.000 Y5.000", "G03 X12.000 Y7.000 I10.000 J1.000"}},
      {"an absolute program stops the run", {"X1", "G90", "X2"}, 'A', true, {"X1.000 Y0.000", "G90", "X2"},
       SlideEnd::Stopped},
  };
  for (const auto& c : cases) {
    SlideSettings settings;
    settings.dialect = dialect();
    settings.decimals = 3;
    settings.incrementalIJ = c.relativeCentres;
    const ConversionCodes codes{"G90", "G91", c.relativeCentres};
    ToIncremental toIncremental(codes);
    ToAbsolute toAbsolute(codes);
    LineConversion* rule = c.mode == 'I' ? static_cast<LineConversion*>(&toIncremental) : &toAbsolute;
    Lines lines = c.in;
    RecordingPort port;
    EXPECT_EQ(SLIDE2(lines, c.mode, settings, {}, port, rule).end, c.end) << c.name;
    EXPECT_EQ(lines, c.out) << c.name;
  }
}

// A change of units turns the units word and scales the feeds of the lines it covers.
TEST(CoordinateConversion, UnitWordsAndFeedsFollowTheUnits) {
  const struct {
    const char* name;
    Lines in;
    bool toMetric;
    double factor;
    Lines out;
    std::size_t begin = 0, end = 99;
  } cases[] = {
      {"to millimetres",
       {"G90 G17G20", "G01 X1 F60", "G01 X2 F 10.5 (slow)", "G200 X1", "G01 F20 X1", "X1 Y2"},
       true, 25.4,
       {"G90 G17G21", "G01 X1 F1524.000", "G01 X2 F 266.700 (slow)", "G200 X1", "G01 F508.000 X1", "X1 Y2"}},
      {"to inches", {"G21 G90", "G01 X25.4 F1524"}, false, 0.03937, {"G20 G90", "G01 X25.4 F60.000"}},
      {"the other units word stays", {"G21", "G20"}, true, 25.4, {"G21", "G21"}},
      {"inverse-time feeds are no lengths", {"G93 G20", "G01 X1 F2"}, true, 25.4, {"G93 G21", "G01 X1 F2"}},
      {"only the lines given", {"G20", "G01 F1", "G01 F1"}, true, 25.4, {"G20", "G01 F25.400", "G01 F1"}, 1, 2},
  };
  for (const auto& c : cases) {
    Lines lines = c.in;
    changeUnitWords(lines, c.begin, c.end, c.toMetric, c.factor, 3);
    EXPECT_EQ(lines, c.out) << c.name;
  }
}

TEST(BlockSwap, ReversedPathAndStartPoint) {
  const struct {
    const char* name;
    Lines lastLineFirst;
    bool relativeCentres;
    Lines out;
    AxisPosition before{};
  } cases[] = {
      {"straight moves come back in reverse, each with a G word", {"G01 X3 Y0", "G01 X2 Y0", "G01 X1 Y0"}, true,
       {"", "G01 X3 Y0 ", "G01 X2 Y0 ", "G01 X1 Y0 "}},
      {"a clockwise arc with relative centres: centre minus the new start", {"G02 X2 Y2 I0 J2", "G01 X0 Y2"}, true,
       {"", "G01X2 Y2 ", "G03 X0 Y2 I-2.000 J2.000 ", "G01 X0 Y2 "}},
      {"absolute centres are copied", {"G03 X2 Y2 I1 J1", "G01 X0 Y2"}, false,
       {"", "G01X2 Y2 ", "G02 X0 Y2 I1 J1 ", "G01 X0 Y2 "}},
      // Lines that leave an axis to the line before (from 1, 1: X4, Y3, an arc, X1, Y1) get it
      // written, at the position they reached going forward.
      {"modal axes are written out", {"Y1", "G01 X1", "G03 X3 Y4 I-1 J0", "Y3", "G01 X4"}, true,
       {"", "X1.000 Y1 ", "G01 X1 Y4.000 ", "G01X3 Y4 ", "G02 X4.000 Y3 I0.000 J-1.000 ", "X4.000 Y3 ",
        "G01 X4 Y1.000 "},
       {1, 1, 0}},
      {"an arc goes back to where the line before it left the tool", {"G03 X55 Y30 I5 J0", "M07"}, true,
       {"", "G01X55 Y30 ", "M07 G02 X45.000 Y30.000 I-5.000 J0.000 ", "M07 X45.000 Y30.000 "}, {45, 30, 0}},
      // Going forward: X10 at F100, Y10 at F50, the arc and X20 Y0 at F25. Each move travelled
      // back keeps its feed, and the lines after the block get F25 back.
      {"feeds stay with their moves",
       {"G01 X20 Y0", "G02 X20 Y10 I5 J0 F25", "G01 X10 Y10 F50", "G01 X10 Y0 F100"}, true,
       {"", "G01 X20 Y0 F25 ", "G01X20 Y10 ", "G03 X10 Y10 I-5.000 J0.000 ", "G01 X10 Y10 ", "G01 X10 Y0 F50 ",
        "F25"}},
      {"no lines", {}, true, {""}, {0, 0, 0, "F40"}},
      {"a feed before the block that holds throughout is not repeated", {"G01 X2 Y0", "G01 X1 Y0 F 40"}, true,
       {"", "G01 X2 Y0 ", "G01 X1 Y0 "}, {0, 0, 0, "F40"}},
  };
  for (const auto& c : cases) {
    Dialect d = dialect();
    EXPECT_EQ(reversedPath(c.lastLineFirst, SwapSettings(d, c.relativeCentres, 3), c.before), c.out) << c.name;
  }
  BlockLetters commented;
  commented.commentStart = "(";
  commented.commentEnd = ")";
  BlockLetters toLineEnd;
  toLineEnd.commentStart = ";";
  const std::tuple<const char*, const BlockLetters*, const char*> feeds[] = {
      {"G01 X1 (F9) F 40", &commented, "F40"}, {"G01 X1 (F9)", &commented, ""},  {"G01 X1 ;F9", &toLineEnd, ""},
      {"G01 F.5 X1", &commented, "F.5"},       {"FX1", &commented, ""},           {"(F9", &commented, ""},
  };
  for (const auto& [line, with, feed] : feeds) EXPECT_EQ(feedWord(line, *with), feed) << line;
  const SwapSettings settings(dialect(), true, 3);
  const struct {
    Lines in;
    int count;
    int grown;
    Lines out;
    bool absolute = true;
  } starts[] = {
      {{"G01 X1 Y1", "G01 X2 Y1 I3", "G01 X2 Y2"}, 3, 1, {"G01 X2 Y1 ", "G01 X2 Y2", "G01 X1 Y1", "G01 X2 Y1 I3"}},
      {{"G01 Y1", "G01 X2"}, 2, 0, {"G01 Y1", "G01 X2"}},
      // L2 left Y to L1: written out, or the new start would be at Y0 where the program began.
      {{"G01 Y1", "G01 X2", "G01 X3"}, 3, 1, {"G01 X2 Y1.000 ", "G01 X3", "G01 Y1", "G01 X2"}},
      // In an incremental program the words are steps: nothing is written out.
      {{"G01 Y1", "G01 X2", "G01 X3"}, 3, 1, {"G01 X2 ", "G01 X3", "G01 Y1", "G01 X2"}, false},
      {{"G01 X1"}, 1, 0, {"G01 X1"}},
      // L2 without a motion word, or with an arc's, is a straight cut, not the rapid before the
      // block; it runs at the feed L1 gave, and the lines after the block get theirs back.
      {{"G01 X1 Y1 F100", "X2 Y1", "G02 X3 Y2 I1 J0 F50", "G01 X1 Y1"}, 4, 2,
       {"G01 X2 Y1 F100 ", "G02 X3 Y2 I1 J0 F50", "G01 X1 Y1", "G01 X1 Y1 F100", "X2 Y1", "F50"}},
      {{"G01 X1 Y1", "G03 X2 Y2 I1 J0 F30", "G01 X1 Y1"}, 3, 1,
       {"G01 X2 Y2 F30", "G01 X1 Y1", "G01 X1 Y1", "G03 X2 Y2 I1 J0 F30"}},
  };
  for (const auto& s : starts) {
    Lines lines = s.in;
    lines.insert(lines.begin(), "G00 X0 Y0");  // the rapid to the path's start
    Lines out = s.out;
    out.insert(out.begin(), "G00 X0 Y0");
    EXPECT_EQ(moveStartForward(lines, 0, s.count, settings, s.absolute), s.grown) << s.in.front();
    EXPECT_EQ(lines, out) << s.in.front();
  }
}

TEST(FileSplit, PartsEndAfterM91OnceFullAndNeverCopyTheLastThreeLines) {
  Lines program(12000);
  for (std::size_t i = 0; i < program.size(); ++i) program[i] = "L" + std::to_string(i + 1);
  program[5199] += " M91";
  program[10099] += " M91";
  const SplitSettings settings(dialect());
  EXPECT_EQ(settings.baseProgram, 3000);
  const auto parts = splitProgram(program, settings);
  ASSERT_TRUE(parts);
  ASSERT_EQ(parts->size(), 3u);
  const std::pair<Lines, Lines> ends[] = {{{"L1", "L2"}, {"L5200 M91", "M02", "M30"}},
                                          {{"M30", ":3001", "L5201"}, {"L10100 M91", "M02", "M30"}},
                                          {{"M30", ":3002", "L10101"}, {"L11997", "M02", "M30"}}};
  for (std::size_t p = 0; p < 3; ++p) {
    const Lines& part = (*parts)[p];
    EXPECT_EQ(Lines(part.begin(), part.begin() + static_cast<long>(ends[p].first.size())), ends[p].first);
    EXPECT_EQ(Lines(part.end() - 3, part.end()), ends[p].second);
  }
  EXPECT_EQ((*parts)[0].size(), 5202u);
  program.resize(5000);
  EXPECT_FALSE(splitProgram(program, settings));
  EXPECT_EQ(splitRefusal(settings), "File is too samll to split Less than 5000 Lines");
  EXPECT_EQ(splitFileName("/jobs/plate.nc", 2), "/jobs/plate_2.TXT");
  EXPECT_EQ(splitFileName("/jobs.v2/plate", 1), "/jobs.v2/plate_1.TXT");
}

}  // namespace
}  // namespace kw

#include "core/geometry/Slide2.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/RecordingPort.h"

namespace kw {
namespace {

Dialect testDialect() {
  Dialect d;
  using enum LabelRow;
  const std::pair<LabelRow, const char*> rows[] = {{FileStart, "%"},  {Line, "G01"},         {ArcCw, "G02"},
                                                   {ArcCcw, "G03"},   {KerfCompLeft, "G41"}, {KerfCompRight, "G42"},
                                                   {Absolute, "G90"}, {Incremental, "G91"},  {FileEnd, "M30"},
                                                   {Trans170, "("},   {Trans171, ")"}};
  for (auto [row, text] : rows) d.rows[rowIndex(row)] = text;
  d.n = "N", d.x = "X", d.y = "Y", d.z = "Z", d.i = "I", d.j = "J", d.k = "K", d.r = "R";
  return d;
}

struct Case {
  const char* name;
  std::vector<std::string> in;
  char code;
  std::vector<std::string> out;
  float distance = 5;
  bool incrementalIJ = false;
  SlideRange block{};
  bool arrayMode = false;
  SlideEnd end = SlideEnd::Done;
};

TEST(Slide2, RewritesEachLineFromItsWords) {
  const SlideEnd refused = SlideEnd::Refused;
  // clang-format off
  const Case cases[] = {
      {"N is dropped, comments kept", {"N10 G01 X1 Y2 (cut)"}, '2', {"G01 X6.0000 Y2.0000 (cut)"}},
      {"no X word is added; the inherited X moves", {"G01 X1 Y2", "G01 Y3", "X"}, '8',
       {"G01 X-4.0000 Y2.0000", "G01 Y3.0000", "X-4.0000"}},
      {"absolute centres move", {"G02 X1 Y1 I0 J1"}, '9', {"G02 X-4.0000 Y6.0000 I-5.0000 J6.0000"}},
      {"incremental centres stay", {"G02 X1 Y1 I0 J1"}, '1', {"G02 X6.0000 Y-4.0000 I0.0000 J1.0000"}, 5, true},
      {"left moves Y only", {"X2 Y2", "M30"}, '4', {"X2.0000 Y1.0000", "M30 "}, 1},
      {"spin a quarter turn", {"G02 X1 Y0 I0 J1"}, '5', {"G02 X0.0000 Y1.0000 I-1.0000 J0.0000"}, 90},
      // A turn moves both axes: a line that gives one gets both; a centre word left out is no
      // offset from the start (incremental) or the start's coordinate (absolute centres).
      {"spin: one axis given, both written", {"G01 X1 Y0", "G01 X2", "Y3", "G01 Z-1"}, '5',
       {"G01 X0.0000 Y1.0000", "G01 X0.0000 Y2.0000", "X-3.0000 Y2.0000", "G01 Z-1.0000"}, 90},
      {"spin: incremental centre word left out", {"G01 X1 Y0", "G03 X0 Y1 I-1"}, '5',
       {"G01 X0.0000 Y1.0000", "G03 X-1.0000 Y0.0000 I0.0000 J-1.0000"}, 90, true},
      {"spin: absolute centre word left out", {"G01 X1 Y2", "G03 X0 Y3 I0"}, '5',
       {"G01 X-2.0000 Y1.0000", "G03 X-3.0000 Y0.0000 I-2.0000 J0.0000"}, 90},
      {"flip: arc word, Y, J", {"G02 X1 Y1 I0 J1"}, '0', {"G03 X1.0000 Y-1.0000 I0.0000 J-1.0000"}},
      {"flop: kerf word, X, I", {"G42 X1 Y2 I3", "G03 X1"}, 'F', {"G41 X-1.0000 Y2.0000 I-3.0000", "G02 X-1.0000"}},
      {"scale, R too", {"G02 X1 Y2 Z-0.5 R2.5 I3 J4 K1"}, 'X',
       {"G02 X2.0000 Y4.0000 Z-1.0000 I6.0000 J8.0000 K2.0000 R5.0000"}},
      {"large values keep their digits", {"X9999999 Y-20000000"}, '2', {"X10000004.0000 Y-20000000.0000"}},
      {"an unknown code changes no value", {"N5 X1.5 Y2"}, 'Q', {"X1.5000 Y2.0000"}},
      {"refused where it turns incremental", {"G01 X1", "G91", "G01 X2"}, '2', {"G01 X6.0000", "G91", "G01 X2"}, 5,
       false, {}, false, refused},
      {"G91 after G90 wins", {"G90G91 X1"}, 'X', {"G90G91 X1"}, 5, false, {}, false, refused},
      {"to absolute is not refused", {"G91 X1"}, 'A', {"G91 X1.0000"}},
      {"the block: first line to first + count", {"X0", "X1", "X2", "X3", "X4"}, '2',
       {"X0", "X2.0000", "X3.0000", "X4.0000", "X4"}, 1, false, {1, 2}},
      {"a one-line block is the whole program", {"X0", "X1"}, '2', {"X1.0000", "X2.0000"}, 1, false, {0, 1}},
      {"a block from line 0", {"X0", "X1", "X2"}, '2', {"X1.0000", "X2.0000", "X2"}, 1, false, {-1, 2}},
      {"array mode: copies appended, start emptied, own end emptied", {"%", "G01 X1", "M30"}, '2',
       {"%", "G01 X1", "", "", "G01 X2.0000", "M30 "}, 1, false, {}, true},
  };
  // clang-format on
  for (const Case& c : cases) {
    SlideSettings settings;
    settings.dialect = testDialect();
    settings.decimals = 4;
    settings.distance = c.distance;
    settings.size = 2;
    settings.incrementalIJ = c.incrementalIJ;
    settings.arrayMode = c.arrayMode;
    RecordingPort port;
    std::vector<std::string> lines = c.in;
    const SlideResult result = SLIDE2(lines, c.code, settings, c.block, port);
    EXPECT_EQ(lines, c.out) << c.name;
    EXPECT_EQ(result.end, c.end) << c.name;
    const std::vector<std::string> refusal = {std::string(kIncrementalRefusal)};
    EXPECT_EQ(port.messages, c.end == SlideEnd::Refused ? refusal : std::vector<std::string>{}) << c.name;
  }
}

// The conversions plug in as a per-line rule: it sees each line's values and the line before's,
// may add words, and stops the run at a line it refuses; "A" is not refused in G91.
TEST(Slide2, ConversionRuleSeesEachLineAndMayStopTheRun) {
  struct Rule : LineConversion {
    bool convert(SlideLine& line) override {
      if (line.text.find("STOP") != std::string_view::npos) return false;
      line.value[WordX] -= line.previous[WordX];
      line.present[WordY] = true;
      return true;
    }
  } rule;
  SlideSettings settings;
  settings.dialect = testDialect();
  settings.decimals = 1;
  RecordingPort port;
  std::vector<std::string> lines = {"X1 Y2", "G91 X3", "STOP X9", "X4"};
  const SlideResult result = SLIDE2(lines, 'A', settings, {}, port, &rule);
  EXPECT_EQ(lines, (std::vector<std::string>{"X1.0 Y2.0", "G91 X2.0 Y2.0", "STOP X9", "X4"}));
  EXPECT_EQ(result.end, SlideEnd::Stopped);
  EXPECT_EQ(result.rewritten, 2u);
  EXPECT_TRUE(port.messages.empty());
}

// Every keypad button moves the drawing its way on the screen (X down, Y right), with the axis
// signs as they are and reversed.
TEST(Slide2, KeypadDirectionsFollowTheAxisSigns) {
  const std::tuple<char, const char*, const char*> keys[] = {
      {'7', "X-1.0 Y-1.0", "X1.0 Y1.0"}, {'8', "X-1.0 Y0.0", "X1.0 Y0.0"}, {'9', "X-1.0 Y1.0", "X1.0 Y-1.0"},
      {'4', "X0.0 Y-1.0", "X0.0 Y1.0"},  {'6', "X0.0 Y1.0", "X0.0 Y-1.0"}, {'1', "X1.0 Y-1.0", "X-1.0 Y1.0"},
      {'2', "X1.0 Y0.0", "X-1.0 Y0.0"},  {'3', "X1.0 Y1.0", "X-1.0 Y-1.0"}};
  for (auto [code, plain, reversed] : keys) {
    for (int sign : {1, -1}) {
      SlideSettings settings;
      settings.dialect = testDialect();
      settings.dialect.xSign = settings.dialect.ySign = sign;
      settings.decimals = 1;
      settings.distance = 1;
      RecordingPort port;
      std::vector<std::string> lines = {"X0 Y0"};
      SLIDE2(lines, code, settings, {}, port);
      EXPECT_EQ(lines, std::vector<std::string>{sign > 0 ? plain : reversed}) << code << " sign " << sign;
    }
  }
}

TEST(Slide2, SlideAndSizeValuesAreLimitedAndShownAsUsed) {
  const std::tuple<std::string, float, std::string> cases[] = {{"250", 100.0f, "100.0"},  {"abc", 1.0f, "1.000"},
                                                               {"", 1.0f, "1.000"},       {" 2.5 ", 2.5f, " 2.5 "},
                                                               {"-300", -300.0f, "-300"}, {"100", 100.0f, "100"}};
  for (const auto& [typed, value, shown] : cases) {
    std::string text = typed;
    EXPECT_EQ(slideValue(text), value) << typed;
    EXPECT_EQ(text, shown) << typed;
  }
}

}  // namespace
}  // namespace kw

#include "core/dxf/DxfReader.h"

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "core/dxf/DxfLineReader.h"
#include "core/dxf/ElementWriter.h"
#include "core/dxf/PassTestSupport.h"
#include "support/TempDir.h"

namespace kw {
namespace {

using kwtest::Options;
using S = const std::string&;

// A group: the code line and the value line.
std::string g(S code, S value) { return code + "\n" + value + "\n"; }

std::string entities(S body) {
  return g("  0", "SECTION") + g("  2", "ENTITIES") + body + g("  0", "ENDSEC") + g("  0", "EOF");
}

std::string lineEntity(S layer, S x1, S y1, S x2, S y2, S z = "0.0") {
  return g("  0", "LINE") + g("  5", "2A") + g("  8", layer) + g(" 10", x1) + g(" 20", y1) + g(" 30", z) +
         g(" 11", x2) + g(" 21", y2) + g(" 31", z);
}

std::string vertex(S x, S y, S bulge = "", S layer = "0") {
  return g("  0", "VERTEX") + g("  8", layer) + g(" 10", x) + g(" 20", y) + g(" 30", "0.0") +
         (bulge.empty() ? "" : g(" 42", bulge));
}

// A POLYLINE whose header point (99, 99) must never be drawn.
std::string polyline(S flags, S vertices, S layer = "0") {
  return g("  0", "POLYLINE") + g("  5", "3B") + g("  8", layer) + g(" 66", "1") + g(" 10", "99.0") + g(" 20", "99.0") +
         g(" 30", "0.0") + g(" 70", flags) + vertices + g("  0", "SEQEND") + g("  8", layer);
}

// A profile on layer "0" with the options, its program folder a fresh directory.
struct Drawing {
  kwtest::TempDir dir;
  kwtest::PassRun run;
  std::vector<std::string> layerLog;

  explicit Drawing(const Options& options) {
    run.context.programFolder = dir.path().string();
    run.profile.setText("EditLayer", "0");
    kwtest::apply(run.profile, options);
  }
};

struct Reading : Drawing {
  PassLines elements;

  using Drawing::Drawing;
  DxfReadOutcome read(S text) {
    DxfLineReader input;
    EXPECT_TRUE(input.open(dir.write("drawing.dxf", text), nullptr));
    layerLog = layerLogHints();
    return readDxfElements(input, run.profile, GroupCodeSet::of(run.profile), ConversionSettings::read(run.profile),
                           elements, layerLog);
  }
};

const auto kName = [](const auto& info) { return info.param.name; };

// What a drawing becomes, from the choice of layer to ellipses, bulges, arcs out of the
// XY plane and how an extrusion picks the plane, is checked by the golden cases
// do-dxf-read-*: the whole conversion.

// Every layer that holds an entity, of any kind, is listed once, in the order first met.
TEST(DxfLayerLog, ListsEveryLayerOnceWhateverItHolds) {
  Reading reading(Options{{"EditLayer", "none"}});
  const std::string arc = g("  0", "ARC") + g("  8", "Arcs") + g(" 10", "0.0") + g(" 20", "0.0") + g(" 30", "0.0") +
                          g(" 40", "1.0") + g(" 50", "0.0") + g(" 51", "90.0");
  const DxfReadOutcome outcome =
      reading.read(entities(lineEntity("A", "0", "0", "1", "0") + lineEntity("A", "0", "0", "1", "0") + arc +
                            polyline("0", vertex("0", "0", "", "B") + vertex("1", "0", "", "B"), "B") +
                            lineEntity("A", "0", "0", "1", "0") + g("  0", "LWPOLYLINE") + g("  8", "C") +
                            g(" 90", "2") + g(" 10", "0") + g(" 20", "0") + g(" 10", "1") + g(" 20", "0")));
  EXPECT_TRUE(outcome.noDataFound);
  std::vector<std::string> expected = layerLogHints();
  expected.insert(expected.end(), {"Try Layer : A", "Try Layer : Arcs", "Try Layer : B", "Try Layer : C"});
  EXPECT_EQ(reading.layerLog, expected);
}

struct Conversion : Drawing {
  std::vector<std::string> program{"kept"};
  std::string path;

  using Drawing::Drawing;
  DxfLoadResult load(S text) {
    path = dir.write("part.dxf", text);
    return LOAD_DXF_FILE(path, run.context, program, layerLog);
  }
};

// A drawing that cannot be opened or read leaves the program in the editor as it was.
TEST(DxfLoad, FailureKeepsTheProgramAndTellsWhy) {
  Conversion conversion(Options{});
  const std::string missing = conversion.dir.file("missing.dxf");
  EXPECT_EQ(LOAD_DXF_FILE(missing, conversion.run.context, conversion.program, conversion.layerLog).status,
            DxfLoadStatus::NotOpened);
  EXPECT_EQ(conversion.load(entities(lineEntity("0", "0.0", "abc", "1.0", "0.0"))).status, DxfLoadStatus::ReadError);
  EXPECT_EQ(conversion.run.port.messages,
            (std::vector<std::string>{"Cannot open " + missing + ": No such file or directory",
                                      "Invalid numeric input in " + conversion.path + ", line 14: \"abc\""}));
  EXPECT_EQ(conversion.program, std::vector<std::string>{"kept"});
}

// A square of four lines, the second drawn backwards, becomes one path.
TEST(DxfLoad, ConvertsASquareIntoOneProgram) {
  // R mode checks "Make  I J Circles 4 Quadrants" again at the start of the conversion.
  Conversion conversion({{"ExecuteInsert", "1"}, {"RCheckbox", "1"}, {"IJFOURQUAD", "0"}});
  conversion.dir.write("DXF1.$$$", "old\n");
  conversion.dir.write("Temp.$$$", "old\n");
  const DxfLoadResult result =
      conversion.load(entities(lineEntity("0", "0", "0", "10", "0") + lineEntity("0", "10", "10", "10", "0") +
                               lineEntity("0", "10", "10", "0", "10") + lineEntity("0", "0", "10", "0", "0")));
  EXPECT_EQ(result.status, DxfLoadStatus::Converted);
  EXPECT_TRUE(result.runInsertLines);
  EXPECT_FALSE(result.swapLineOrder);
  EXPECT_EQ(conversion.program,
            (std::vector<std::string>{"%", "G90 ", "G41 ", "M03 ", "M08 ", "G01 X0.0000 Y0.0000 ",
                                      "G01 X0.0000 Y10.0000 ", "G01 X10.0000 Y10.0000 ", "G01 X10.0000 Y0.0000 ",
                                      "G01 X0.0000 Y0.0000 ", "M05 ", "M30 "}));
  EXPECT_TRUE(conversion.run.port.messages.empty());
  ASSERT_FALSE(conversion.run.port.captions.empty());
  EXPECT_EQ(conversion.run.port.captions.front().second, "Reading Dxf");
  EXPECT_FALSE(std::filesystem::exists(conversion.dir.file("DXF1.$$$")));
  EXPECT_FALSE(std::filesystem::exists(conversion.dir.file("Temp.$$$")));
  EXPECT_FALSE(conversion.run.profile.flag("Bridgeport"));
  EXPECT_TRUE(conversion.run.profile.flag("IJFOURQUAD"));
}

struct LinesCase {
  std::string name;
  std::string bytes;
  std::vector<std::string> lines;
};
void PrintTo(const LinesCase& c, std::ostream* os) { *os << c.name; }

class DxfLineReaderTest : public ::testing::TestWithParam<LinesCase> {};

TEST_P(DxfLineReaderTest, CutsAndEndsLines) {
  const LinesCase& c = GetParam();
  kwtest::TempDir dir;
  DxfLineReader input;
  ASSERT_TRUE(input.open(dir.write("lines.dxf", c.bytes), nullptr));
  std::vector<std::string> lines;
  while (input.next()) lines.emplace_back(input.line());
  EXPECT_EQ(lines, c.lines);
  EXPECT_EQ(input.lineNumber(), static_cast<long>(c.lines.size()));
}

const std::string kHuge = std::string(3 << 20, 'b');  // longer than the read buffer

// clang-format off
const LinesCase kLinesCases[] = {
    {"LineFeeds", "  0\nLINE\n", {"  0", "LINE"}}, {"LastLineWithoutEnd", "  0\r\nEOF", {"  0", "EOF"}},
    {"EmptyLinesCount", "\n\r\n\n", {"", "", ""}}, {"CarriageReturnInsideStays", "a\rb\n", {"a\rb"}},
    {"LineLongerThanTheBufferCutTo255", "x\n" + kHuge + "\r\nENTITIES", {"x", std::string(255, 'b'), "ENTITIES"}},
    {"NulBytesAreKept", std::string("a\0b\n", 4), {std::string("a\0b", 3)}}, {"EmptyFile", "", {}},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(Lines, DxfLineReaderTest, ::testing::ValuesIn(kLinesCases), kName);

struct ValueCase {
  std::string text;
  ValueParse real;
  float realValue;
  ValueParse whole;
  int wholeValue;
};

class DxfValueTest : public ::testing::TestWithParam<ValueCase> {};

TEST_P(DxfValueTest, ReadsTheNumberAtTheStartOfTheLine) {
  const ValueCase& c = GetParam();
  float real = -99;
  int whole = -99;
  EXPECT_EQ(parseDxfReal(c.text, real), c.real);
  if (c.real == ValueParse::Number) EXPECT_FLOAT_EQ(real, c.realValue);
  EXPECT_EQ(parseDxfInt(c.text, whole), c.whole);
  if (c.whole == ValueParse::Number) EXPECT_EQ(whole, c.wholeValue);
}

constexpr ValueParse kNum = ValueParse::Number, kBad = ValueParse::NotANumber, kBig = ValueParse::OutOfRange;

// Text, then as a real and as a whole number: the outcome and the value.
// clang-format off
const ValueCase kValueCases[] = {
    {"     1", kNum, 1, kNum, 1},       {"-2.5", kNum, -2.5f, kBad, 0},  {"5.", kNum, 5, kNum, 5},
    {"1e3", kNum, 1000, kNum, 1000},    {"\t7 rest of line", kNum, 7, kNum, 7}, {"$10", kBad, 0, kNum, 16},
    {"1e-60", kNum, 0, kNum, 0},        {"1e39", kBig, 0, kBig, 0},      {"4e9", kNum, 4e9f, kBig, 0},
    {"", kBad, 0, kBad, 0},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(Values, DxfValueTest, ::testing::ValuesIn(kValueCases));

}  // namespace
}  // namespace kw

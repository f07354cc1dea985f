#include "core/dxf/ElementWriter.h"

#include <cmath>
#include <functional>
#include <numbers>
#include <regex>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "core/dxf/PassTestSupport.h"

namespace kw {
namespace {

using kwtest::Options;
using Build = std::function<void(ElementWriter&)>;

using kwtest::passProfile;

struct Case {
  std::string name;
  Options options;
  Build build;
  PassLines expected;
};
void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

class ElementLinesTest : public ::testing::TestWithParam<Case> {};

// The text of a plain move under the profile's Line word and letters: each word's letter and a
// number of digits, minus signs and points, a blank after each but a Z word.
std::regex plainMoves(const MachineProfile& profile) {
  const Dialect d(profile);
  auto literal = [](const std::string& text) {
    std::string pattern;
    for (const char c : text) pattern += std::isalnum(static_cast<unsigned char>(c)) ? std::string(1, c) : "[" + std::string(1, c) + "]";
    return pattern;
  };
  const std::string number = "[-.0-9]+";
  std::string pattern = literal(d.row(LabelRow::Line)) + " " + literal(d.x) + number + " " + literal(d.y) + number + " ";
  if (profile.flag("IncludeZCheckBox")) pattern += literal(d.z) + number;
  return std::regex(pattern);
}

TEST_P(ElementLinesTest, WritesExactLines) {
  const Case& c = GetParam();
  MachineProfile profile = passProfile(c.options);
  PassLines lines;
  ElementWriter writer(profile, ConversionSettings::read(profile), lines);
  c.build(writer);
  EXPECT_EQ(lines, c.expected);
  // Every plain move is marked as one, and nothing else.
  const std::regex plain = plainMoves(profile);
  for (std::size_t k = 0; k < lines.size(); ++k)
    EXPECT_EQ(lines.plainMove(k), std::regex_match(std::string(lines[k]), plain)) << lines[k];

  // The points kept beside the lines are what the path ordering reads in them.
  PassLines again;
  PointList points(0, false);
  ElementWriter keeping(profile, ConversionSettings::read(profile), again, &points);
  c.build(keeping);
  ASSERT_EQ(again, c.expected);
  ASSERT_EQ(points.size(), again.size());
  const LinePointReader reader(profile);
  for (std::size_t k = 0; k < again.size(); ++k) {
    const OrderPoint kept = points[k], read = reader.of(again[k]);
    EXPECT_TRUE(kept.x == read.x && kept.y == read.y && kept.z == read.z) << again[k];
  }
}

Build line(std::string x1, std::string y1, std::string z1, std::string x2, std::string y2, std::string z2) {
  return [=](ElementWriter& w) { w.ADDLINE(x1, y1, z1), w.ADDLINE(x2, y2, z2); };
}
Build arc(std::string r, LabelRow row) {
  return [=](ElementWriter& w) {
    w.ADDLINE("0.0000", "1.0000", "3.0000");
    w.AddArcIJ("1.0000", "2.0000", "4.0000", "0.5000", "0.6000", r, "", row);
  };
}
Build arcIJ(int plane, float xc, float yc, float r, float start, float end) {
  return [=](ElementWriter& w) { w.BuildDXFArcIJ(plane, xc, yc, 0, r, start, end); };
}
Build bulge(std::string x1, std::string y1, std::string x2, std::string y2, float b) {
  return [=](ElementWriter& w) { w.bulgeArc(x1, y1, "0", x2, y2, "0", b); };
}
Build ellipse(float angle, float minor, float major, float end, float start) {
  return [=](ElementWriter& w) { w.EllipseIJ(angle, minor, major, end, start, 0, 5, 5); };
}
constexpr float kPi = std::numbers::pi_v<float>;
const auto kName = [](const auto& info) { return info.param.name; };
const Options kZ = {{"IncludeZCheckBox", "1"}};

// Arcs from ARC entities, bulges and ellipses are checked by the golden conversions
// do-dxf-read-*; here the words as the profile's R limit and LabelTable give them.
// clang-format off
const Case kElementCases[] = {
    {"MaxRLimits", {{"RCheckbox", "1"}, {"row 89", "10"}}, arc("12.0000", LabelRow::ArcCcw),
     {"G01 X0.0000 Y1.0000 ", "G03 X1.0000 Y2.0000  I0.5000 J0.6000 R10.0000 "}},
    {"MaxRNeverLimitsNegative", {{"RCheckbox", "1"}, {"row 89", "10"}}, arc("-12.0000", LabelRow::ArcCcw),
     {"G01 X0.0000 Y1.0000 ", "G03 X1.0000 Y2.0000  I0.5000 J0.6000 R-12.0000 "}},
    {"MaxRZeroNoLimit", {{"RCheckbox", "1"}, {"row 89", "0"}}, arc("12.0000", LabelRow::ArcCcw),
     {"G01 X0.0000 Y1.0000 ", "G03 X1.0000 Y2.0000  I0.5000 J0.6000 R12.0000 "}},
    {"WordsAsStored", {{"row 1", "G 1"}, {"row 3", "G3 "}}, arc("1.0000", LabelRow::ArcCcw),
     {"G 1 X0.0000 Y1.0000 ", "G3  X1.0000 Y2.0000  I0.5000 J0.6000  "}},
    // Out of the XY plane; the reader passes X word 3, Y word 2, Z word 4.
    {"ExtrusionMinusX", kZ, [](ElementWriter& w) { w.BuildDXFArcIK(-1, 3, 2, 4, 1, 0, 90); },
     {"G01 X3.0000 Y4.0000 Z3.0000", "G03 X2.0000 Y4.0000 Z4.0000 I2.0000 K3.0000  "}},
    {"ExtrusionMinusY", kZ, [](ElementWriter& w) { w.BuildDXFArcJK(-2, 3, 2, 4, 1, 0, 90); },
     {"G01 X-4.0000 Y3.0000 Z3.0000", "G02 X-4.0000 Y2.0000 Z4.0000 J2.0000 K3.0000  "}},
    // Z offset 1: the reader wrote the drawing's Z 4 as 5; the arc's Z words get the offset too.
    {"ZOffsetOutOfPlane", {{"IncludeZCheckBox", "1"}, {"ZoffsetEdit", "1"}},
     [](ElementWriter& w) { w.BuildDXFArcIK(-1, 3, 2, 5, 1, 0, 90); },
     {"G01 X3.0000 Y4.0000 Z4.0000", "G03 X2.0000 Y4.0000 Z5.0000 I2.0000 K4.0000  "}},
    // Zero-length elements are not written.
    {"RepeatedVertex", {},
     [](ElementWriter& w) {
       line("0.0000", "0.0000", "0", "0.0000", "2.0000", "0")(w);
       line("0.0000", "2.0000", "0", "0.0000", "2.0000", "0")(w);
       w.bulgeArc("0.0000", "2.0000", "0", "0.0000", "4.0000", "0", 1);
     },
     {"G01 X0.0000 Y0.0000 ", "G01 X0.0000 Y2.0000 ", "G01 X0.0000 Y2.0000 ",
      "G02 X0.0000 Y4.0000  I0.0000 J3.0000  "}},
    {"UnwrittenZDoesNotCount", {}, line("1.0000", "2.0000", "0.0000", "1.0000", "2.0000", "5.0000"), {}},
    {"PlungeIsKept", kZ, line("1.0000", "2.0000", "0.0000", "1.0000", "2.0000", "5.0000"),
     {"G01 X1.0000 Y2.0000 Z0.0000", "G01 X1.0000 Y2.0000 Z5.0000"}},
    {"ZeroRadiusArcDroppedFullCircleKept", {},
     [](ElementWriter& w) { arcIJ(3, 5, 5, 0, 0, 90)(w), arcIJ(3, 5, 5, 2, 90, 90)(w); },
     {"G01 X7.0000 Y5.0000 ", "G02 X7.0000 Y5.0000  I5.0000 J5.0000  "}},
    {"BulgeOnOnePoint", {}, bulge("1.0000", "1.0000", "1.0000", "1.0000", -0.5f), {}},
    // Ellipses (centre 5, 5) as straight elements.
    {"EndBelowStartRunsThroughZero", {{"EllipseEdit", "2"}}, ellipse(0, 1, 2, kPi / 2, 3 * kPi / 2),
     {"G01 X5.0000 Y3.0000 ", "G01 X6.0000 Y5.0000 ", "G01 X6.0000 Y5.0000 ", "G01 X5.0000 Y7.0000 "}},
    // At 1e6 a float moves in 1/16: of three steps over 1/8 the repeated point is dropped.
    {"CoarseParameter", {{"EllipseEdit", "3"}, {"DpEdit", "2"}}, ellipse(0, 1, 1, 1e6f + 0.125f, 1e6f),
     {"G01 X5.94 Y4.65 ", "G01 X5.96 Y4.71 ", "G01 X5.96 Y4.71 ", "G01 X5.97 Y4.77 "}},
    // Lines whose point is not simply their numbers: a letter in the line word, a number with an
    // exponent, a letter typed with a blank, and a Z word left out while Z is included.
    {"LetterInLineWord", {{"row 1", "GY1"}}, line("1.0000", "2.0000", "0", "3.0000", "4.0000", "0"),
     {"GY1 X1.0000 Y2.0000 ", "GY1 X3.0000 Y4.0000 "}},
    {"ExponentInNumber", {}, line("1E3", "2.0000", "0", "3.0000", "4e1", "0"),
     {"G01 X1E3 Y2.0000 ", "G01 X3.0000 Y4e1 "}},
    {"LetterWithBlank", {{"row 17", "X "}}, line("1.0000", "2.0000", "0", "3.0000", "4.0000", "0"),
     {"G01 X 1.0000 Y2.0000 ", "G01 X 3.0000 Y4.0000 "}},
    {"ZWordLeftOut", kZ,
     [](ElementWriter& w) {
       w.includeZ = false;
       line("1.0000", "2.0000", "0", "3.0000", "4.0000", "0")(w);
     },
     {"G01 X1.0000 Y2.0000 ", "G01 X3.0000 Y4.0000 "}},
};
// clang-format on
INSTANTIATE_TEST_SUITE_P(Lines, ElementLinesTest, ::testing::ValuesIn(kElementCases), kName);

TEST(ElementWriterEllipse, CountNotAPositiveNumberGives360ElementsBackToTheStart) {
  for (const char* points : {"360", "x", "0", "-3"}) {
    MachineProfile profile = passProfile({{"EllipseEdit", points}});
    PassLines lines;
    ElementWriter(profile, ConversionSettings::read(profile), lines).EllipseIJ(0.3f, 1, 3, 2 * kPi, 0, 0, 10, 20);
    ASSERT_EQ(lines.size(), 720u) << points;
    EXPECT_EQ(lines.back(), lines.front()) << points;
    for (std::size_t i = 2; i < lines.size(); i += 2) EXPECT_EQ(lines[i], lines[i - 1]) << points << " " << i;
  }
}

// Ellipses set aside and made by two threads end up as they are made in turn: lines, marks and
// points. The element lines start with room for `reserved` lines, so that they have to grow while
// the ellipses are being made, or not; coarse decimals drop elements, so that an ellipse leaves
// part of its room empty, or all of it when it is a point.
TEST(ElementWriterEllipse, MadeAsideAsInTurn) {
  struct AsideCase {
    const char* name;
    Options options;
    std::size_t reserved;
  };
  const AsideCase cases[] = {
      {"room enough", {{"EllipseEdit", "40"}}, 100000},
      {"growing", {{"EllipseEdit", "40"}}, 8},
      {"rooms left empty", {{"EllipseEdit", "300"}, {"DpEdit", "1"}}, 8},
      {"with Z", {{"EllipseEdit", "40"}, {"IncludeZCheckBox", "1"}}, 8},
  };
  for (const AsideCase& c : cases) {
    MachineProfile profile = passProfile(c.options);
    auto write = [&](bool aside, PassLines& lines, PointList& points) {
      lines.reserve(c.reserved);
      points.reserve(c.reserved);
      ElementWriter writer(profile, ConversionSettings::read(profile), lines, &points);
      if (aside) writer.writeEllipsesAside();
      for (int e = 0; e < 300; ++e) {
        const float minor = e % 11 == 0 ? 0.0f : 0.05f * static_cast<float>(e % 7);
        const float major = e % 11 == 0 ? 0.0f : 2.0f;
        writer.EllipseIJ(0.1f * static_cast<float>(e), minor, major, e % 3 != 0 ? 6.2831855f : 3.0f, 0, 1,
                         5.0f * static_cast<float>(e), 1);
        if (e % 4 == 0) {
          writer.ADDLINE(std::to_string(e) + ".0000", "1.0000", "1.0000");
          writer.ADDLINE(std::to_string(e) + ".0000", "3.0000", "1.0000");
        }
      }
      EXPECT_TRUE(writer.placeEllipses()) << c.name;
    };
    PassLines inTurn, aside;
    PointList inTurnPoints(0, false), asidePoints(0, false);
    write(false, inTurn, inTurnPoints);
    write(true, aside, asidePoints);
    ASSERT_EQ(aside, inTurn) << c.name;
    ASSERT_EQ(asidePoints.size(), inTurnPoints.size()) << c.name;
    for (std::size_t k = 0; k < inTurn.size(); ++k) {
      ASSERT_EQ(aside.plainMove(k), inTurn.plainMove(k)) << c.name << ", line " << k;
      const OrderPoint a = asidePoints[k], b = inTurnPoints[k];
      ASSERT_TRUE(a.x == b.x && a.y == b.y && a.z == b.z) << c.name << ", point " << k;
    }
  }
}

TEST(ElementWriterData, NoDataFoundFollowsWhatStaysWritten) {
  MachineProfile profile = passProfile({});
  PassLines lines;
  ElementWriter writer(profile, ConversionSettings::read(profile), lines);
  line("1.0000", "2.0000", "0", "1.0000", "2.0000", "0")(writer);
  EXPECT_TRUE(writer.noDataFound);
  line("1.0000", "2.0000", "0", "1.0000", "3.0000", "0")(writer);
  line("1.0000", "3.0000", "0", "1.0000", "3.0000", "0")(writer);
  EXPECT_FALSE(writer.noDataFound);
  EXPECT_EQ(lines.size(), 2u);
}

struct SettingsCase {
  std::string name;
  Options options;
  float leadIn, xs, ys, zs, zOffset;
  int decimals;
};
void PrintTo(const SettingsCase& c, std::ostream* os) { *os << c.name; }
class ConversionSettingsTest : public ::testing::TestWithParam<SettingsCase> {};

TEST_P(ConversionSettingsTest, ReadsNumbersWithFallbacksAndSignBoxes) {
  const SettingsCase& c = GetParam();
  const ConversionSettings s = ConversionSettings::read(passProfile(c.options));
  EXPECT_EQ(std::vector({s.leadIn, s.xs, s.ys, s.zs, s.zOffset}), std::vector({c.leadIn, c.xs, c.ys, c.zs, c.zOffset}));
  EXPECT_EQ(s.decimals, c.decimals);
}

// Options, then lead in, X, Y and Z scale, Z offset and decimals as read.
// clang-format off
const SettingsCase kSettingsCases[] = {
    {"Numbers",
     {{"LeadInEdit", "0.25"}, {"Xscale", "2"}, {"Yscale", " 25.5 "}, {"Zscale", "-0.5"}, {"ZoffsetEdit", "+1.5"},
      {"DpEdit", "2"}},
     0.25f, 2, 25.5f, -0.5f, 1.5f, 2},
    {"FallbacksAndSignBoxes",
     {{"LeadInEdit", "abc"}, {"Xscale", "2"}, {"XmultCheckBox", "1"}, {"Yscale", "2x"}, {"YmultCheckBox", "1"},
      {"Zscale", "1e39"}, {"ZmultCheckBox", "1"}, {"ZoffsetEdit", "."}, {"DpEdit", "x"}},
     0.5f, -2, -1, -1, 0, 3},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(Edits, ConversionSettingsTest, ::testing::ValuesIn(kSettingsCases), kName);

TEST(ElementWriterNumbers, CalcVectorIJMeasuresFromTheFirstAxisTowardsTheSecond) {
  struct Angle {
    float x, y, x0, y0, angle;
  };
  for (const Angle& a : {Angle{1, 0, 0, 0, 0}, Angle{-1, 0, 0, 0, kPi}, Angle{0, -1, 0, 0, 3 * kPi / 2},
                         Angle{3, 1, 2, 2, 7 * kPi / 4}, Angle{0, 0, 0, 0, 0}})
    EXPECT_NEAR(ElementWriter::Calc_VectorIJ(a.x, a.y, a.x0, a.y0), a.angle, 1e-6) << a.x << "," << a.y;
}

TEST(ElementWriterNumbers, TextHasNoNegativeZeroAndNoNumberThatReadsBackOtherwise) {
  MachineProfile profile = passProfile({});
  PassLines lines;
  const ElementWriter writer(profile, ConversionSettings::read(profile), lines);
  EXPECT_EQ(writer.text(-0.00004), "0.0000");
  EXPECT_EQ(writer.text(-1.23456), "-1.2346");
  EXPECT_EQ(writer.text(9999999.4), "9999999.0000");
  for (double unreadable : {9999999.5, 1e30, -1e30, 1e39 * 1e300, std::nan("")})
    EXPECT_THROW(writer.text(unreadable), NumberNotWritable) << unreadable;
}

}  // namespace
}  // namespace kw

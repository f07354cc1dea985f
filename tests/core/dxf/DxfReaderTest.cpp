#include "core/dxf/DxfReader.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "core/dxf/DxfEntityReader.h"
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
  return g("  0", "POLYLINE") + g("  5", "3B") + g("  8", layer) + g(" 66", "1") + g(" 10", "99.0") +
         g(" 20", "99.0") + g(" 30", "0.0") + g(" 70", flags) + vertices + g("  0", "SEQEND") + g("  8", layer);
}

// An LWPOLYLINE of vertices "x y" or "x y bulge".
std::string lwPolyline(S flags, const std::vector<std::vector<std::string>>& vertices) {
  std::string text = g("  0", "LWPOLYLINE") + g("  5", "4C") + g("100", "AcDbEntity") + g("  8", "0") +
                     g("100", "AcDbPolyline") + g(" 90", std::to_string(vertices.size())) + g(" 70", flags) +
                     g(" 43", "0.0");
  for (const auto& v : vertices) {
    text += g(" 10", v[0]) + g(" 20", v[1]);
    if (v.size() > 2) text += g(" 42", v[2]);
  }
  return text;
}

std::string circleEntity(S x, S y, S r) {
  return g("  0", "CIRCLE") + g("  8", "0") + g(" 10", x) + g(" 20", y) + g(" 30", "0.0") + g(" 40", r);
}

std::string ellipseEntity(S mx, S my, S ratio, S start, S end) {
  return g("  0", "ELLIPSE") + g("  8", "0") + g("100", "AcDbEllipse") + g(" 10", "0.0") + g(" 20", "0.0") +
         g(" 30", "0.0") + g(" 11", mx) + g(" 21", my) + g(" 31", "0.0") + g("210", "0.0") + g("220", "0.0") +
         g("230", "1.0") + g(" 40", ratio) + g(" 41", start) + g(" 42", end);
}

// A TRACE or SOLID with corners (0, 0), (10, 0), (0, 5) and (x4, 5).
std::string fourCorners(S kind, S x4) {
  return g("  0", kind) + g("  8", "0") + g(" 10", "0.0") + g(" 20", "0.0") + g(" 30", "0.0") + g(" 11", "10.0") +
         g(" 21", "0.0") + g(" 31", "0.0") + g(" 12", "0.0") + g(" 22", "5.0") + g(" 32", "0.0") + g(" 13", x4) +
         g(" 23", "5.0") + g(" 33", "0.0");
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
  // What the writer itself makes of a call, for the arcs whose numbers are its business.
  PassLines written(const std::function<void(ElementWriter&)>& call) {
    PassLines lines;
    ElementWriter writer(run.profile, ConversionSettings::read(run.profile), lines);
    writer.includeZ = run.profile.flag("IncludeZCheckBox");
    call(writer);
    return lines;
  }
};

struct ReadCase {
  std::string name;
  Options options;
  std::string drawing;
  PassLines expected;
};
void PrintTo(const ReadCase& c, std::ostream* os) { *os << c.name; }

const auto kName = [](const auto& info) { return info.param.name; };

class DxfReadTest : public ::testing::TestWithParam<ReadCase> {};

TEST_P(DxfReadTest, WritesTheElementsOfTheChosenEntities) {
  const ReadCase& c = GetParam();
  Reading reading(c.options);
  const DxfReadOutcome outcome = reading.read(c.drawing);
  EXPECT_EQ(outcome.status, DxfReadStatus::Read);
  EXPECT_EQ(outcome.noDataFound, c.expected.empty());
  EXPECT_EQ(reading.elements, c.expected);
}

const std::string kTwoLayers = entities(lineEntity("A", "0.0", "0.0", "1.0", "0.0") +
                                        lineEntity("B", "0.0", "0.0", "0.0", "2.0"));
const std::string kUcsHeader = g("  0", "SECTION") + g("  2", "HEADER") + g("  9", "$UCSORG") + g(" 10", "10.0") +
                               g(" 20", "5.0") + g(" 30", "0.0") + g("  0", "ENDSEC");

const std::string kAutosketch =
    "0\nSECTION\n2\nENTITIES\n0\nLINE\n8\n0\n10\n1.0\n20\n0.0\n11\n2.0\n21\n0.0\n0\nENDSEC\n";
const std::string kAshlar = "   0\nSECTION\n   2\nENTITIES\n   0\nLINE\n   8\n0\n  10\n1.0\n  20\n0.0\n  11\n2.0\n"
                            "  21\n0.0\n   0\nENDSEC\n";
const std::string kAshlarPolyline = "   0\nENTITIES\n   0\nPOLYLINE\n   8\n0\n  70\n1\n   0\nVERTEX\n   8\n0\n"
                                    "  10\n0.0\n  20\n0.0\n   0\nVERTEX\n   8\n0\n  10\n10.0\n  20\n0.0\n   0\nVERTEX\n"
                                    "   8\n0\n  10\n10.0\n  20\n10.0\n   0\nSEQEND\n   0\nENDSEC\n";
const std::string kLine = entities(lineEntity("0", "0.0", "0.0", "10.0", "0.0"));
const std::string kSlanted = entities(lineEntity("0", "1.0", "3.0", "4.0", "7.0"));
const std::string kThreeVertices = vertex("0.0", "0.0") + vertex("10.0", "0.0") + vertex("10.0", "10.0");

INSTANTIATE_TEST_SUITE_P(
    Entities, DxfReadTest,
    ::testing::Values(
        // The drawing's X becomes the Y word; without "Z Included" no Z is read or written.
        ReadCase{"LineOnChosenLayer", {}, entities(lineEntity("0", "0.0", "0.0", "10.0", "0.0", "5.0")),
                 line(0, 0, 0, 10)},
        ReadCase{"LayerWithTrailingBlankMatchesNothing", {{"EditLayer", "0 "}}, kLine, {}},
        ReadCase{"LayerNamesAreCaseSensitive", {{"EditLayer", "o"}}, kLine, {}},
        ReadCase{"StarTakesEveryLayer", {{"EditLayer", "*"}}, kTwoLayers, join({line(0, 0, 0, 1), line(0, 0, 2, 0)})},
        ReadCase{"OnlyTheChosenLayer", {{"EditLayer", "B"}}, kTwoLayers, line(0, 0, 2, 0)},
        ReadCase{"UcsOriginShiftsEveryPoint", {}, kUcsHeader + entities(lineEntity("0", "10.0", "5.0", "20.0", "5.0")),
                 line(0, 0, 0, 10)},
        ReadCase{"ScalePerAxis", {{"Xscale", "2"}, {"Yscale", "1"}}, kSlanted, line(6, 1, 14, 4)},
        ReadCase{"SignBoxNegatesItsScale", {{"XmultCheckBox", "1"}}, kSlanted, line(-3, 1, -7, 4)},
        ReadCase{"ZOffsetIsAddedBeforeZScale",
                 {{"IncludeZCheckBox", "1"}, {"ZoffsetEdit", "0.5"}, {"ZmultCheckBox", "1"}},
                 entities(lineEntity("0", "0.0", "0.0", "1.0", "0.0", "1.0")), {move(0, 0, -1.5), move(0, 1, -1.5)}},
        ReadCase{"ZeroLengthLineIsNotWritten", {}, entities(lineEntity("0", "1.0", "1.0", "1.0", "1.0")), {}},
        ReadCase{"ClosedPolylineSkipsItsHeaderPoint", {}, entities(polyline("1", kThreeVertices)),
                 join({line(0, 0, 0, 10), line(0, 10, 10, 10), line(10, 10, 0, 0)})},
        ReadCase{"OpenPolylineStopsAtItsLastVertex", {}, entities(polyline("0", kThreeVertices)),
                 join({line(0, 0, 0, 10), line(0, 10, 10, 10)})},
        // A handle before the layer code: the polyline is judged by its own layer, not the LINE's.
        ReadCase{"PolylineOnAnotherLayerAfterAMatchingLine", {},
                 entities(lineEntity("0", "0.0", "0.0", "1.0", "0.0") +
                          polyline("1", vertex("5.0", "5.0") + vertex("6.0", "5.0"), "B")),
                 line(0, 0, 0, 1)},
        ReadCase{"LwPolylineBulgeOnFirstVertexIsAHalfCircle", {},
                 entities(lwPolyline("0", {{"0.0", "0.0", "1.0"}, {"10.0", "0.0"}, {"10.0", "5.0"}})),
                 {move(0, 0), "G02 X0.0000 Y10.0000  I0.0000 J5.0000  ", move(0, 10), move(5, 10)}},
        ReadCase{"TraceCornersInTheirOrder", {}, entities(fourCorners("TRACE", "10.0")),
                 join({line(0, 0, 0, 10), line(0, 10, 5, 10), line(5, 0, 5, 10), line(5, 0, 0, 0)})},
        ReadCase{"SolidTriangleDropsItsRepeatedCorner", {}, entities(fourCorners("SOLID", "0.0")),
                 join({line(0, 0, 0, 10), line(0, 10, 5, 0), line(5, 0, 0, 0)})},
        ReadCase{"ArcCounterClockwiseFromStartToEnd", {},
                 entities(g("  0", "ARC") + g("  8", "0") + g(" 10", "0.0") + g(" 20", "0.0") + g(" 30", "0.0") +
                          g(" 40", "1.0") + g(" 50", "0.0") + g(" 51", "90.0")),
                 {move(0, 1), "G02 X1.0000 Y0.0000  I0.0000 J0.0000  "}},
        // The circle's reading of its extrusion takes the next entity's "  0" line; the LINE is still found.
        ReadCase{"CircleFollowedByTheNextEntity", {},
                 entities(circleEntity("5.0", "5.0", "2.0") + lineEntity("0", "0.0", "0.0", "1.0", "0.0")),
                 {move(7, 5), "G02 X7.0000 Y5.0000  I5.0000 J5.0000  ", move(0, 0), move(0, 1)}},
        // "         7" in a point search: the third line after it is taken instead.
        ReadCase{"SkipMarkTakesTheThirdLineAfterIt", {},
                 entities(g("  0", "LINE") + g("  8", "0") + "         7\n 10\n99.0\n 10\n1.0\n" + g(" 20", "2.0") +
                          g(" 30", "0.0") + g(" 11", "3.0") + g(" 21", "2.0") + g(" 31", "0.0")),
                 line(2, 1, 2, 3)},
        // Values that read like point codes once their spaces are gone: a colour 10 (bare or six
        // wide) and a width 0 in a light-weight polyline.
        ReadCase{"ValuesAreNotTakenForPointCodes", {},
                 entities(g("  0", "LINE") + g("  8", "0") + g(" 62", "10") + g(" 10", "1.0") + g(" 20", "2.0") +
                          g(" 30", "0.0") + g(" 11", "3.0") + g(" 21", "2.0") + g(" 31", "0.0") + g("  0", "LINE") +
                          g("  8", "0") + g(" 62", "    10") + g(" 10", "1.0") + g(" 20", "2.0") + g(" 30", "0.0") +
                          g(" 11", "3.0") + g(" 21", "2.0") + g(" 31", "0.0") + g("  0", "LWPOLYLINE") + g("  8", "0") +
                          g(" 90", "2") + g(" 70", "0") + g(" 43", "0") + g(" 10", "0.0") + g(" 20", "0.0") +
                          g(" 10", "1.0") + g(" 20", "0.0")),
                 join({line(2, 1, 2, 3), line(2, 1, 2, 3), line(0, 0, 0, 1)})},
        // A full ellipse (four points) whose major axis points into the second quadrant keeps it.
        ReadCase{"EllipseAxisInSecondQuadrant", {{"EllipseEdit", "4"}},
                 entities(ellipseEntity("-2.0", "2.0", "0.5", "0.0", "6.283185307179586")),
                 join({line(2, -2, 1, 1), line(1, 1, -2, 2), line(-2, 2, -1, -1), line(-1, -1, 2, -2)})},
        // Half an ellipse from parameter 0 to pi is the half on the minor axis' positive side.
        ReadCase{"EllipseArcKeepsItsParameterRange", {{"EllipseEdit", "2"}},
                 entities(ellipseEntity("2.0", "0.0", "0.5", "0.0", "3.141592653589793")),
                 join({line(0, -2, 1, 0), line(1, 0, 0, 2)})},
        // The flavours' own group codes; Ashlar writes no header point: the first vertex starts the path.
        ReadCase{"AutosketchCodes", {{"Autosketch", "1"}}, kAutosketch, line(0, 1, 0, 2)},
        ReadCase{"AshlarCodes", {{"Ashlar", "1"}}, kAshlar, line(0, 1, 0, 2)},
        ReadCase{"AshlarClosedPolyline", {{"Ashlar", "1"}}, kAshlarPolyline,
                 join({line(0, 0, 0, 10), line(0, 10, 10, 10), line(10, 10, 0, 0)})}),
    kName);

// The bulges: which arc the reader asks for is the test; the arc's numbers are the writer's.
struct BulgeCase {
  std::string name;
  std::string drawing;
  std::vector<std::vector<float>> arcs;  // previous X, Y, current X, Y (words), bulge; or a line
};
void PrintTo(const BulgeCase& c, std::ostream* os) { *os << c.name; }

class DxfBulgeTest : public ::testing::TestWithParam<BulgeCase> {};

TEST_P(DxfBulgeTest, HandsEachBulgeToTheSegmentLeavingItsVertex) {
  const BulgeCase& c = GetParam();
  Reading reading(Options{});
  reading.read(c.drawing);
  const PassLines expected = reading.written([&](ElementWriter& w) {
    auto t = [&](float v) { return w.text(v); };
    for (const auto& a : c.arcs) {
      if (a.size() == 5)
        w.bulgeArc(t(a[0]), t(a[1]), "0.00", t(a[2]), t(a[3]), "0.00", a[4]);
      else
        w.ADDLINE(t(a[0]), t(a[1]), "0.00"), w.ADDLINE(t(a[2]), t(a[3]), "0.00");
    }
  });
  EXPECT_EQ(reading.elements, expected);
}

INSTANTIATE_TEST_SUITE_P(
    Bulges, DxfBulgeTest,
    ::testing::Values(
        BulgeCase{"LwPolylineMiddleVertex",
                  entities(lwPolyline("0", {{"0.0", "0.0"}, {"10.0", "0.0", "-0.5"}, {"10.0", "10.0"}})),
                  {{0, 0, 0, 10}, {0, 10, 10, 10, -0.5f}}},
        BulgeCase{"ClosedLwPolylineClosesWithTheLastBulge",
                  entities(lwPolyline("1", {{"0.0", "0.0"}, {"10.0", "0.0"}, {"10.0", "10.0", "0.25"}})),
                  {{0, 0, 0, 10}, {0, 10, 10, 10}, {10, 10, 0, 0, 0.25f}}},
        BulgeCase{"PolylineVertexBulge",
                  entities(polyline("1", vertex("0.0", "0.0") + vertex("10.0", "0.0", "2.0") + vertex("10.0", "10.0"))),
                  {{0, 0, 0, 10}, {0, 10, 10, 10, 2.0f}, {10, 10, 0, 0}}}),
    kName);

TEST(DxfLayerLog, LogsLinesAndPolylinesOnceInARowButNotArcs) {
  Reading reading(Options{{"EditLayer", "none"}});
  const std::string arc = g("  0", "ARC") + g("  8", "Arcs") + g(" 10", "0.0") + g(" 20", "0.0") + g(" 30", "0.0") +
                          g(" 40", "1.0") + g(" 50", "0.0") + g(" 51", "90.0");
  const DxfReadOutcome outcome = reading.read(entities(
      lineEntity("A", "0", "0", "1", "0") + lineEntity("A", "0", "0", "1", "0") + arc +
      polyline("0", vertex("0", "0", "", "B") + vertex("1", "0", "", "B"), "B") + lineEntity("A", "0", "0", "1", "0")));
  EXPECT_TRUE(outcome.noDataFound);
  std::vector<std::string> expected = layerLogHints();
  expected.insert(expected.end(), {"Try Layer : A", "Try Layer : B", "Try Layer : A"});
  EXPECT_EQ(reading.layerLog, expected);
}

struct PlaneCase {
  std::string name;
  Options options;
  std::string afterRadius;  // the lines after a circle's radius value
  int plane;
};
void PrintTo(const PlaneCase& c, std::ostream* os) { *os << c.name; }

class DxfPlaneCodeTest : public ::testing::TestWithParam<PlaneCase> {};

TEST_P(DxfPlaneCodeTest, ReadsThePlaneOfAnArcOrCircle) {
  const PlaneCase& c = GetParam();
  Reading reading(c.options);
  DxfLineReader input;
  ASSERT_TRUE(input.open(reading.dir.write("plane.dxf", c.afterRadius + g("  0", "EOF")), nullptr));
  MachineProfile& profile = reading.run.profile;
  const GroupCodeSet codes = GroupCodeSet::of(profile);
  const ConversionSettings settings = ConversionSettings::read(profile);
  ElementWriter writer(profile, settings, reading.elements);
  DxfEntityReader reader(input, profile, codes, settings, writer, reading.layerLog);
  EXPECT_EQ(reader.READYXZ200("210"), c.plane);
}

std::string extrusion(S x, S y, S z) { return g("210", x) + g("220", y) + g("230", z); }
const std::string kAlongX = extrusion("1.0", "0.0", "0.0"), kAlongY = extrusion("0.0", "1.0", "0.0"),
                  kAlongMinusZ = extrusion("0.0", "0.0", "-1.0");

INSTANTIATE_TEST_SUITE_P(
    Extrusions, DxfPlaneCodeTest,
    ::testing::Values(PlaneCase{"AlongX", {}, kAlongX, 1}, PlaneCase{"AlongMinusZ", {}, kAlongMinusZ, -3},
                      PlaneCase{"LaterComponentWins", {}, extrusion("0.6", "0.0", "0.8"), 3},
                      PlaneCase{"ScaleSignTurnsIt", {{"ZmultCheckBox", "1"}}, extrusion("0", "0", "1"), -3},
                      // The scale's sign counts, not its size.
                      PlaneCase{"ScaleOfTwoKeepsThePlane", {{"Zscale", "2"}}, extrusion("0", "0", "1"), 3},
                      PlaneCase{"AshlarCodeIsNotAnExtrusion", {},
                                g(" 210", "0.0") + g(" 220", "0.0") + g(" 230", "1.0"), 50},
                      PlaneCase{"NextEntity", {}, g("  0", "LINE"), 0},
                      PlaneCase{"SearchesOnToTheStartAngle", {}, g(" 39", "2.0") + g(" 50", "0.0"), 50}),
    kName);

// Each PlaneCode goes to the builder of its plane; the arc's numbers are the writer's.
struct DispatchCase {
  std::string name;
  Options options;
  std::string drawing;
  std::function<void(ElementWriter&)> call;
  bool drawn = true;
};
void PrintTo(const DispatchCase& c, std::ostream* os) { *os << c.name; }

class DxfArcDispatchTest : public ::testing::TestWithParam<DispatchCase> {};

TEST_P(DxfArcDispatchTest, BuildsTheArcInItsPlane) {
  const DispatchCase& c = GetParam();
  Reading reading(c.options);
  reading.read(c.drawing);
  EXPECT_EQ(reading.elements.empty(), !c.drawn);
  EXPECT_EQ(reading.elements, reading.written(c.call));
}

std::string arcEntity(S extrusion) {
  return g("  0", "ARC") + g("  8", "0") + g(" 10", "1.0") + g(" 20", "2.0") + g(" 30", "3.0") + g(" 40", "1.5") +
         extrusion + g(" 50", "30.0") + g(" 51", "120.0");
}
std::string circleWith(S extrusion) {
  return g("  0", "CIRCLE") + g("  8", "0") + g(" 10", "1.0") + g(" 20", "2.0") + g(" 30", "3.0") + g(" 40", "1.5") +
         extrusion + g("  0", "ENDSEC");
}
const Options kWithZ = {{"IncludeZCheckBox", "1"}};

INSTANTIATE_TEST_SUITE_P(
    Planes, DxfArcDispatchTest,
    ::testing::Values(
        DispatchCase{"ArcAlongX", kWithZ, entities(arcEntity(kAlongX)),
                     [](ElementWriter& w) { w.BuildDXFArcIK(1, 2, 1, 3, 1.5f, 30, 120); }},
        DispatchCase{"ArcAlongY", kWithZ, entities(arcEntity(kAlongY)),
                     [](ElementWriter& w) { w.BuildDXFArcJK(2, 2, 1, 3, 1.5f, 30, 120); }},
        DispatchCase{"DesignCadArcAlongMinusZ", {{"IncludeZCheckBox", "1"}, {"DesignCad", "1"}},
                     entities(arcEntity(kAlongMinusZ)),
                     [](ElementWriter& w) { w.BuildDXFArcIJ(-3, 2, 1, 3, 1.5f, 30, 120); }},
        DispatchCase{"CircleAlongY", kWithZ, entities(circleWith(kAlongY)),
                     [](ElementWriter& w) { w.BuildDXFArcJK(2, 2, 1, 3, 1.5f, 90, 90); }},
        DispatchCase{"CircleAlongMinusZWithLeadIn", {{"IncludeZCheckBox", "1"}, {"CircleCheckBox", "1"}},
                     entities(circleWith(kAlongMinusZ)),
                     [](ElementWriter& w) { w.circleXY(-3, 2, 1, 3, 1.5f); }},
        // A circle with a group other than the extrusion after its radius: the reader runs on
        // to the next start angle, here the ARC's, so neither is drawn.
        DispatchCase{"CircleWithThicknessAfterItsRadius", {}, entities(circleWith(g(" 39", "1.0")) + arcEntity("")),
                     [](ElementWriter&) {}, false}),
    kName);

struct Conversion : Drawing {
  std::vector<std::string> program{"kept"};
  std::string path;
  int messagesWhenLogShown = -1;

  using Drawing::Drawing;
  DxfLoadResult load(S text) {
    path = dir.write("part.dxf", text);
    return LOAD_DXF_FILE(path, run.context, program, layerLog,
                         [this] { messagesWhenLogShown = static_cast<int>(run.port.messages.size()); });
  }
};

struct FailureCase {
  std::string name;
  Options options;
  std::string drawing;
  DxfLoadStatus status;
  std::string message;  // "%s" stands for the drawing's path
  std::vector<std::string> program;
};
void PrintTo(const FailureCase& c, std::ostream* os) { *os << c.name; }

class DxfLoadFailureTest : public ::testing::TestWithParam<FailureCase> {};

TEST_P(DxfLoadFailureTest, EndsWithItsMessage) {
  const FailureCase& c = GetParam();
  Conversion conversion(c.options);
  const DxfLoadResult result = conversion.load(c.drawing);
  EXPECT_EQ(result.status, c.status);
  std::string message = c.message;
  if (const std::size_t at = message.find("%s"); at != std::string::npos) message.replace(at, 2, conversion.path);
  EXPECT_EQ(conversion.run.port.messages, std::vector<std::string>{message});
  EXPECT_EQ(conversion.program, c.program);
  EXPECT_FALSE(result.runInsertLines);
}

constexpr char kBinaryBytes[] = "AutoCAD Binary DXF\r\n\x1a\0\0\x02\0ENTITIES\0\xff\xfe";
const std::string kBinary(kBinaryBytes, sizeof kBinaryBytes - 1);
const std::string kCutOff = g("  0", "SECTION") + g("  2", "ENTITIES") + g("  0", "LINE") + g("  8", "0") +
                            g(" 10", "1.0") + g(" 20", "2.0") + g(" 30", "0.0") + " 11\n";

const std::vector<std::string> kKept = {"kept"};

INSTANTIATE_TEST_SUITE_P(
    BadInput, DxfLoadFailureTest,
    ::testing::Values(
        FailureCase{"NothingOnTheLayer", {{"EditLayer", "1"}}, entities(lineEntity("0", "0", "0", "1", "0")),
                    DxfLoadStatus::NoUsableData, " No Usable Data found in dxf file ", {}},
        FailureCase{"AnotherFlavour", {}, kAutosketch, DxfLoadStatus::NoLayerCode,
                    " No Usable Data found in dxf file  Check or Uncheck AutoSketch1", kKept},
        FailureCase{"ValueThatIsNoNumber", {}, entities(lineEntity("0", "0.0", "abc", "1.0", "0.0")),
                    DxfLoadStatus::ReadError, "Invalid numeric input in %s, line 14: \"abc\"", kKept},
        FailureCase{"NumberBeyondASingle", {}, entities(lineEntity("0", "1e39", "0.0", "1.0", "0.0")),
                    DxfLoadStatus::ReadError, "Number out of range in %s, line 12: \"1e39\"", kKept},
        FailureCase{"CutOffInsideAnEntity", {}, kCutOff, DxfLoadStatus::ReadError,
                    "Unexpected end of file in %s after line 15: the drawing ends inside an entity", kKept},
        FailureCase{"PolylineWithoutSeqend", {},
                    g("  0", "ENTITIES") + g("  0", "POLYLINE") + g("  8", "0") + g(" 10", "0") + g(" 20", "0"),
                    DxfLoadStatus::ReadError,
                    "Unexpected end of file in %s after line 10: the drawing ends inside an entity", kKept},
        FailureCase{"NoEntitiesSection", {},
                    g("  0", "SECTION") + g("  2", "HEADER") + g("  0", "ENDSEC") + g("  0", "EOF"),
                    DxfLoadStatus::NoEntities, "No ENTITIES section found in %s", kKept},
        FailureCase{"BinaryFile", {}, kBinary, DxfLoadStatus::NoEntities,
                    "%s is a binary DXF file: only text (ASCII) DXF files can be converted", kKept}),
    kName);

TEST(DxfLoad, NoUsableDataShowsTheLayerLogBeforeItsMessage) {
  Conversion conversion(Options{{"EditLayer", "1"}});
  const DxfLoadResult result = conversion.load(entities(lineEntity("0", "0", "0", "1", "0")));
  EXPECT_TRUE(result.useAnotherLayer);
  EXPECT_EQ(conversion.messagesWhenLogShown, 0);
  std::vector<std::string> expected = layerLogHints();
  expected.push_back("Try Layer : 0");
  EXPECT_EQ(conversion.layerLog, expected);
}

TEST(DxfLoad, MissingFileIsToldWithTheSystemsReason) {
  Conversion conversion(Options{});
  const std::string missing = conversion.dir.file("missing.dxf");
  const DxfLoadResult result =
      LOAD_DXF_FILE(missing, conversion.run.context, conversion.program, conversion.layerLog);
  EXPECT_EQ(result.status, DxfLoadStatus::NotOpened);
  EXPECT_EQ(conversion.run.port.messages, std::vector<std::string>{"Cannot open " + missing + ": No such file or directory"});
  EXPECT_EQ(conversion.program, std::vector<std::string>{"kept"});
}

// A square of four lines, the second drawn backwards, becomes one path.
TEST(DxfLoad, ConvertsASquareIntoOneProgram) {
  // R mode checks "Make  I J Circles 4 Quadrants" again at the start of the conversion.
  Conversion conversion({{"ExecuteInsert", "1"}, {"RCheckbox", "1"}, {"IJFOURQUAD", "0"}});
  conversion.dir.write("DXF1.$$$", "old\n");
  conversion.dir.write("Temp.$$$", "old\n");
  const DxfLoadResult result = conversion.load(entities(
      lineEntity("0", "0", "0", "10", "0") + lineEntity("0", "10", "10", "10", "0") +
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

// Corel Draw writes no Z groups: the pre-pass adds them before the drawing is read.
TEST(DxfLoad, CorelPrePassAddsTheMissingZGroups) {
  Conversion conversion(Options{{"Corel", "1"}});
  const std::string drawing = "  0\nENTITIES\n  0\nLINE\n  8\n0\n  10\n1.0\n  20\n2.0\n  11\n3.0\n  21\n2.0\n"
                              "  0\nPOINT\n  8\n0\n  10\n1.0\n  20\n2.0\n  30\n5.0\n  0\nEOF\n";
  const DxfLoadResult result = conversion.load(drawing);
  EXPECT_EQ(result.status, DxfLoadStatus::Converted);
  const std::string zero = " 0.00000000000000E+0000\r\n";
  EXPECT_EQ(conversion.dir.read("NewDXF.$$$"),
            "  0\r\nENTITIES\r\n  0\r\nLINE\r\n  8\r\n0\r\n  10\r\n1.0\r\n  20\r\n2.0\r\n  30\r\n" + zero +
                "  11\r\n3.0\r\n  21\r\n2.0\r\n  31\r\n" + zero +
                "  0\r\nPOINT\r\n  8\r\n0\r\n  10\r\n1.0\r\n  20\r\n2.0\r\n  30\r\n5.0\r\n  0\r\nEOF\r\n");
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

INSTANTIATE_TEST_SUITE_P(
    Lines, DxfLineReaderTest,
    ::testing::Values(LinesCase{"LineFeeds", "  0\nLINE\n", {"  0", "LINE"}},
                      LinesCase{"LastLineWithoutEnd", "  0\r\nEOF", {"  0", "EOF"}},
                      LinesCase{"EmptyLinesCount", "\n\r\n\n", {"", "", ""}},
                      LinesCase{"CarriageReturnInsideStays", "a\rb\n", {"a\rb"}},
                      LinesCase{"LineLongerThanTheBufferCutTo255", "x\n" + kHuge + "\r\nENTITIES",
                                {"x", std::string(255, 'b'), "ENTITIES"}},
                      LinesCase{"NulBytesAreKept", std::string("a\0b\n", 4), {std::string("a\0b", 3)}},
                      LinesCase{"EmptyFile", "", {}}),
    kName);

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
  if (c.real == ValueParse::Number) {
    EXPECT_FLOAT_EQ(real, c.realValue);
  }
  EXPECT_EQ(parseDxfInt(c.text, whole), c.whole);
  if (c.whole == ValueParse::Number) {
    EXPECT_EQ(whole, c.wholeValue);
  }
}

constexpr ValueParse kNum = ValueParse::Number, kBad = ValueParse::NotANumber, kBig = ValueParse::OutOfRange;

INSTANTIATE_TEST_SUITE_P(
    Values, DxfValueTest,
    ::testing::Values(ValueCase{"     1", kNum, 1, kNum, 1}, ValueCase{"-2.5", kNum, -2.5f, kBad, 0},
                      ValueCase{"5.", kNum, 5, kNum, 5}, ValueCase{"1e3", kNum, 1000, kNum, 1000},
                      ValueCase{"\t7 rest of line", kNum, 7, kNum, 7}, ValueCase{"$10", kBad, 0, kNum, 16},
                      ValueCase{"1e-60", kNum, 0, kNum, 0}, ValueCase{"1e39", kBig, 0, kBig, 0},
                      ValueCase{"4e9", kNum, 4e9f, kBig, 0}, ValueCase{"", kBad, 0, kBad, 0}));

}  // namespace
}  // namespace kw

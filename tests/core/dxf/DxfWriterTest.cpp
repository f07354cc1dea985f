#include "core/dxf/DxfWriter.h"

#include <cmath>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/app/AppFixture.h"
#include "core/app/Document.h"
#include "core/app/DxfSave.h"
#include "core/dxf/PassTestSupport.h"
#include "core/plot/PlotFixture.h"
#include "core/text/FileIo.h"

namespace kw {
namespace {

using kwtest::AppFixture;
using kwtest::readFile;

// A whole DXF file: the header, the given record lines, the footer, every line ended CR LF.
std::string dxfFile(const std::vector<std::string>& records) {
  std::vector<std::string> lines = {"  0", "SECTION", "  2", "ENTITIES"};
  lines.insert(lines.end(), records.begin(), records.end());
  for (const char* l : {"  0", "ENDSEC", "  0", "EOF"}) lines.push_back(l);
  return joinCrLf(lines);
}

using C = const char*;
std::vector<std::string> lineRecord(C x1, C y1, C z1, C x2, C y2, C z2) {
  return {"  0", "LINE", "  8", "0", " 10", x1, " 20", y1, " 30", z1, " 11", x2, " 21", y2, " 31", z2};
}
std::vector<std::string> arcRecord(C x, C y, C z, C r, C a1, C a2) {
  return {"  0", "ARC", "  8", "0", " 10", x, " 20", y, " 30", z, " 40", r, " 50", a1, " 51", a2};
}
std::vector<std::string> circleRecord(C x, C y, C z, C r) {
  return {"  0", "CIRCLE", "  8", "0", " 10", x, " 20", y, " 30", z, " 40", r};
}
std::vector<std::string> pointRecord(C x, C y, C z) {
  return {"  0", "POINT", "  8", "0", " 10", x, " 20", y, " 30", z};
}
using kwtest::join;

DxfWriterSettings settings(int decimals, int sx = 1, int sy = 1, int px = 1, int py = 1) {
  DxfWriterSettings s;
  s.decimals = decimals, s.sx = sx, s.sy = sy, s.px = px, s.py = py;
  return s;
}

struct WriterCase {
  const char* name;
  DxfWriterSettings settings;
  std::function<void(DxfWriter&)> write;
  std::vector<std::string> records;
};
void PrintTo(const WriterCase& c, std::ostream* os) { *os << c.name; }

class DxfWriterRecords : public ::testing::TestWithParam<WriterCase> {};

TEST_P(DxfWriterRecords, WritesExactRecordTexts) {
  const WriterCase& c = GetParam();
  kwtest::TempDir dir;
  const std::string path = dir.file("out.dxf");
  DxfWriter writer(c.settings);
  std::string error;
  ASSERT_TRUE(writer.DxfHeader(path, &error)) << error;
  c.write(writer);
  ASSERT_TRUE(writer.DxfFooter(&error)) << error;
  EXPECT_EQ(readFile(path), dxfFile(c.records));
}

const float kInf = std::numeric_limits<float>::infinity();

DxfWriterSettings zSettings() {
  DxfWriterSettings s = settings(4);
  s.zIncluded = true, s.sz = -1, s.pz = -1, s.zOffset = 0.5;
  return s;
}

DxfWriterSettings blueSettings() {
  DxfWriterSettings s = settings(4);
  s.writeBlue = true;
  return s;
}

ArcMove xzArc() {
  ArcMove arc;
  arc.plane = MovePlane::XZ;
  arc.radius = 1;
  arc.endAngle = 1;
  return arc;
}

// A rapid move to (1, 2) and an arc in the XZ plane.
void rapidAndXzArc(DxfWriter& w) { w.straightMove({}, {1, 2, 0}, {kBlue, 1}), w.arcMove(xzArc(), {kRed, 1}); }

// An arc handed (270, 360) about the origin, radius 10.
void quarter(DxfWriter& w) { w.arc(0, 0, 0, 10, 270, 360); }

const WriterCase kWriterCases[] = {
    {"a line goes to the exchanged axes", settings(4), [](DxfWriter& w) { w.DxfBody(3, 4, 0, 10, 0, 0); },
     lineRecord("4.0000", "3.0000", "0", "0.0000", "10.0000", "0")},
    {"the sign of the X scale turns the drawing's Y, its size does not count", settings(4, -1),
     [](DxfWriter& w) { w.DxfBody(3, 4, 0, 10, 0, 0); },
     lineRecord("4.0000", "-3.0000", "0", "0.0000", "-10.0000", "0")},
    {"plot signs already applied are undone, no -0", settings(4, 1, 1, -1, -1),
     [](DxfWriter& w) { w.DxfBody(-3, -4, 0, -10, 0, 0); },
     lineRecord("4.0000", "3.0000", "0", "0.0000", "10.0000", "0")},
    {"Z included: sz x pz x z - Zo", zSettings(), [](DxfWriter& w) { w.DxfBody(0, 0, -1, 0, 0, 0); },
     lineRecord("0.0000", "0.0000", "-1.5000", "0.0000", "0.0000", "-0.5000")},
    {"a line of no length is left out, a vertical one is kept", zSettings(),
     [](DxfWriter& w) { w.DxfBody(1, 2, 3, 1.00001f, 2, 3), w.DxfBody(1, 2, 3, 1, 2, 5); },
     lineRecord("2.0000", "1.0000", "2.5000", "2.0000", "1.0000", "4.5000")},
    {"without Z a plunge has no length", settings(4), [](DxfWriter& w) { w.DxfBody(1, 2, 3, 1, 2, 5); }, {}},
    {"six significant digits", settings(4), [](DxfWriter& w) { w.DxfBodyCircle(123456.789f, 0, 0, 2); },
     circleRecord("0.0000", "123457.0000", "0", "2.0000")},
    {"counter-clockwise quarter handed (270, 360)", settings(3), quarter,
     arcRecord("0.000", "0.000", "0", "10.000", "0.000", "90.000")},
    {"clockwise half handed (270, 450) about X15", settings(3), [](DxfWriter& w) { w.arc(15, 0, 0, 5, 270, 450); },
     arcRecord("0.000", "15.000", "0", "5.000", "270.000", "90.000")},
    {"Y scale sign: angles turn by 180", settings(3, 1, -1), quarter,
     arcRecord("0.000", "0.000", "0", "10.000", "90.000", "180.000")},
    {"X scale sign: angles as handed", settings(3, -1, 1), quarter,
     arcRecord("0.000", "0.000", "0", "10.000", "270.000", "0.000")},
    {"both plot signs: 180 minus the angles, reversed", settings(3, 1, 1, -1, -1), quarter,
     arcRecord("0.000", "0.000", "0", "10.000", "180.000", "270.000")},
    {"an angle that prints as 360 is written 0", settings(3), [](DxfWriter& w) { w.arc(0, 0, 0, 10, 0.00001f, 90); },
     arcRecord("0.000", "0.000", "0", "10.000", "270.000", "0.000")},
    {"a short arc whose angles print alike is a line", settings(3),
     [](DxfWriter& w) { w.arc(0, 0, 0, 100000, 30.0001f, 30.0002f); },
     lineRecord("86602.500", "-50000.100", "0", "86602.400", "-50000.300", "0")},
    {"a nearly whole arc whose angles print alike is a circle", settings(3),
     [](DxfWriter& w) { w.arc(0, 0, 0, 10, 30.0002f, 30.0001f); }, circleRecord("0.000", "0.000", "0", "10.000")},
    {"a point keeps its axes and takes the plot signs", settings(4, 1, 1, -1, 1),
     [](DxfWriter& w) { w.DxfBodyPoint(5, 7, 0); }, pointRecord("-5.0000", "7.0000", "0.0000")},
    {"points of the lines with both words", settings(4),
     [](DxfWriter& w) {
       w.GetXYs({"G01 X5 Y7", "X5", "N1 Y-2 X.5", "Y1"}, "X", "Y");
     },
     join({pointRecord("5.0000", "7.0000", "0.0000"), pointRecord("0.5000", "-2.0000", "0.0000")})},
    {"a captured rapid move is left out, an XZ arc too", settings(4), rapidAndXzArc, {}},
    {"with Write Blue lines a rapid move is written", blueSettings(), rapidAndXzArc,
     lineRecord("0.0000", "0.0000", "0", "2.0000", "1.0000", "0")},
    {"a record with an infinite number is left out", settings(4),
     [](DxfWriter& w) { w.line(kInf, 0, 0, 1, 1, 0), w.arc(0, kInf, 0, 1, 0, 90), w.circle(1, 2, 0, 1); },
     circleRecord("2.0000", "1.0000", "0", "1.0000")},
};

INSTANTIATE_TEST_SUITE_P(Records, DxfWriterRecords, ::testing::ValuesIn(kWriterCases),
                         [](const auto& info) { return "Case" + std::to_string(info.index); });

// An App with the plot tests' dialect (M07 cut on, M08 cut off, 3 decimals), View Scale 1000.
struct DxfApp {
  AppFixture f;
  DxfApp() { kwtest::setStandardDialect(f.app->profile); }
  App& app() { return *f.app; }
  std::string file(const std::string& name) { return f.dir.file(name); }
};

struct DxfSave : ::testing::Test, DxfApp {};

// Every way to a DXF file from one program; the records each form writes are checked by the golden
// cases do-dxf-round-trip-* (a points file converted by the batch: batch-pnt-to-dxf). For all:
// flags cleared, "Show XYZ" on, name kept.
TEST_F(DxfSave, EachFormKeepsTheNameAndSetsItsFlags) {
  struct Case {
    const char* name;
    std::function<bool(App&, const std::string&)> save;
    bool capture;   // plotted: "Show XYZ" ends on
    bool modified;  // the modified flag afterwards (set before)
  };
  const Case cases[] = {{"Save As to a .DXF name", saveAsTo, true, true},
                        {"Circles, Arcs,Lines", saveAsDxfCirclesArcsLines, true, true},
                        {"Points only", saveAsDxfPointsOnly, false, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    DxfApp t;
    t.app().buffer.lines = {"G90", "M07", "G01 X10 Y0", "G03 X0 Y10 I0 J0", "M08", "G01 X-2.5 Y3"};
    t.app().currentFileName = t.app().title = "old.nc";
    t.app().profile.setFlag("ShowXYZCheckBox", false);
    t.app().buffer.modified = true;
    const std::string target = t.file("part.DxF");
    EXPECT_TRUE(c.save(t.app(), target));
    EXPECT_NE(readFile(target), "");
    EXPECT_EQ(t.f.port.messages, std::vector<std::string>{});
    EXPECT_EQ(t.app().profile.flag("ShowXYZCheckBox"), c.capture);
    EXPECT_EQ(t.app().buffer.modified, c.modified);
    EXPECT_EQ(t.app().currentFileName, "old.nc");
    EXPECT_FALSE(t.app().backplot.state().DxfCaptureActive);
    EXPECT_FALSE(t.app().backplot.state().DxfLinesOnly);
  }
}

TEST_F(DxfSave, DialogsOfferTheirNamesAndAddTheExtension) {
  app().currentFileName = "old.nc";
  app().buffer.lines = {"G90", "M07", "G01 X10 Y0"};
  f.port.picks = {file("part"), file("x.txt")};
  app().commands.run("Main.SaveasDXF1Click", app());
  app().commands.run("Main.SaveAsDXFPointsonlySpecial1Click", app());
  ASSERT_EQ(f.port.dialogs.size(), 2u);
  EXPECT_EQ(f.port.dialogs[0].title, "Save As old.nc");
  EXPECT_EQ(f.port.dialogs[0].fileName, "File1.DXF");
  EXPECT_EQ(f.port.dialogs[1].title, "Save As old.nc");
  EXPECT_EQ(f.port.dialogs[1].fileName, "FilePoints1.DXF");
  EXPECT_EQ(f.port.dialogs[1].filters, std::vector<std::string>{"*.dxf"});
  EXPECT_EQ(readFile(file("part.DXF")), dxfFile(lineRecord("0.000", "0.000", "0", "0.000", "10.000", "0")));
  // Points only to another name: only the document's name changes.
  EXPECT_FALSE(fileExists(file("x.txt")));
  EXPECT_EQ(app().currentFileName, file("x.txt"));
  EXPECT_EQ(f.port.lastCaption(WindowId::Main), "x.txt");
  EXPECT_TRUE(saveAsDxfLinesOnly(app(), file("lines.dxf")));  // the lines form leaves the capture as it was
  EXPECT_FALSE(app().backplot.state().DxfLinesOnly);
}

struct StopAtSecondPause : PlotHost {
  Backplot* plot = nullptr;
  int pauses = 0;
  void serviceEvents() override {
    if (++pauses == 2) plot->state().StopRequested = true;
  }
};

TEST(DxfSaveFailure, FailedOrStoppedSavesLeaveTheOldFile) {
  struct Case {
    const char* name;
    std::function<bool(App&, const std::string&)> save;
    std::string target;
    bool stopWithEsc;
    std::string message;
  };
  const Case cases[] = {
      {"folder missing", saveDxfCapture, "none/out.dxf", false, "Cannot save %: No such file or directory"},
      {"points, folder missing", DxfPointFile, "none/p.dxf", false, "Cannot save %: No such file or directory"},
      {"Esc during the plot", saveDxfCapture, "old.dxf", true, "The DXF save was stopped: nothing was written to %."},
      {"a form needs a .dxf name", [](App& a, const std::string& n) { return saveDxfForm(a, n, DxfForm::LinesOnly); },
       "old.nc", false, "A DXF form needs an output name ending in .dxf: nothing was written to %."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    DxfApp t;
    const std::string target = t.file(c.target);
    if (c.target.rfind("old", 0) == 0) t.f.dir.write(c.target, "old");
    t.app().buffer.lines.assign(1500, "G01 X1 Y1");
    t.app().buffer.lines[1] = "M07";
    StopAtSecondPause host;
    host.plot = &t.app().backplot;
    if (c.stopWithEsc) t.app().backplot.setHost(&host);
    EXPECT_FALSE(c.save(t.app(), target));
    std::string expected = c.message;
    expected.replace(expected.find('%'), 1, target);
    EXPECT_EQ(t.f.port.messages, std::vector<std::string>{expected});
    EXPECT_EQ(readFile(target), c.target.rfind("old", 0) == 0 ? "old" : "");
    EXPECT_FALSE(t.app().backplot.state().DxfCaptureActive);
    EXPECT_FALSE(t.app().backplot.state().DxfLinesOnly);
    int entries = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(t.f.dir.path())) ++entries;
    EXPECT_EQ(entries, c.target.rfind("old", 0) == 0 ? 2 : 1);  // home (+ the old file), nothing left over
  }
}

}  // namespace
}  // namespace kw
